#include "tool/ispezione/diff.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <utility>
#include <ostream>

#include "tool/stato_uscita.h"
#include "tool/ispezione/descrizione.h"
#include "tool/ispezione/file_compilati.h"

namespace {

bool uguali(const cella& a, const cella& b) {
  return a.tipo == b.tipo && a.dato1 == b.dato1 && a.dato2 == b.dato2 && a.dato3 == b.dato3 &&
         a.dato4 == b.dato4 && a.tempo == b.tempo && a.avviso == b.avviso &&
         a.montagna == b.montagna && a.velocita == b.velocita && a.pendenza == b.pendenza &&
         a.aderenza == b.aderenza;
}

bool uguali(const record_stazione& a, const record_stazione& b) {
  return a.tipo == b.tipo && a.inizio == b.inizio && a.fine == b.fine &&
         a.posizione == b.posizione && a.tps == b.tps && a.nome == b.nome && a.d2a == b.d2a &&
         a.d3a == b.d3a && a.d1b == b.d1b && a.d2b == b.d2b && a.d3b == b.d3b && a.rap == b.rap &&
         a.ac == b.ac && a.mar == b.mar && a.tab == b.tab && a.orario == b.orario;
}

// Same value as the file holds it: same tag and same payload bits (so that
// 0.0 and -0.0 differ, as their bytes do).
bool uguali(const valore& a, const valore& b) {
  if (a.codice != b.codice) return false;
  if (a.codice == valore::kIntero) return a.intero == b.intero;
  if (a.codice == valore::kReale)
    return std::bit_cast<uint64_t>(a.reale) == std::bit_cast<uint64_t>(b.reale);
  return true;
}

// Compares records 0 to max(n_a, n_b) - 1 of one file; a record that only one
// side has is shown as missing on the other. Returns the number that differ.
// `record` and `records` name one record and several.
size_t confronta(std::ostream& out, const std::string& file, const char* record,
                 const char* records, size_t n_a, size_t n_b,
                 const std::function<bool(size_t)>& uguale,
                 const std::function<Json(bool, size_t)>& descrivi) {
  size_t diversi = 0;
  const size_t n = std::max(n_a, n_b);
  for (size_t i = 0; i < n; ++i) {
    if (i < n_a && i < n_b && uguale(i)) continue;
    if (++diversi > kDiffMostrati) continue;
    out << file << ": " << record << ' ' << i << " differs\n";
    out << "  A: " << (i < n_a ? in_riga(descrivi(true, i)) : "(missing)") << '\n';
    out << "  B: " << (i < n_b ? in_riga(descrivi(false, i)) : "(missing)") << '\n';
  }
  if (diversi > kDiffMostrati)
    out << file << ": ... and " << diversi - kDiffMostrati << " more " << records << " differ\n";
  if (diversi > 0)
    out << file << ": " << diversi << ' ' << (diversi == 1 ? record : records) << " of " << n
        << " differ\n";
  return diversi;
}

std::string nome_file(const std::string& path) {
  const size_t barra = path.find_last_of("/\\");
  return barra == std::string::npos ? path : path.substr(barra + 1);
}

}  // namespace

int esegui_diff(const OpzioniDiff& o, std::ostream& out, std::ostream& err) {
  Scenario a, b;
  for (auto [dir, s] : {std::pair{&o.dir_a, &a}, std::pair{&o.dir_b, &b}}) {
    EsitoCarica e = carica_scenario(*dir, o.nome, o.numero, s);
    if (!e.ok()) {
      err << e.messaggio << '\n';
      return kToolUso;
    }
  }
  size_t diversi = 0;
  if (a.nome != b.nome || a.numero != b.numero) {
    out << "scenario: A is " << a.nome << " train " << a.numero << ", B is " << b.nome
        << " train " << b.numero << '\n';
    ++diversi;
  }
  diversi += confronta(
      out, nome_file(a.path_percorso), "cell", "cells", a.percorso.size(), b.percorso.size(),
      [&](size_t i) { return uguali(a.percorso[i], b.percorso[i]); },
      [&](bool lato_a, size_t i) {
        const Scenario& s = lato_a ? a : b;
        return descrivi_cella(s.percorso, i, &s.stazioni);
      });
  diversi += confronta(
      out, nome_file(a.path_stazioni), "entry", "entries", a.stazioni.size(), b.stazioni.size(),
      [&](size_t i) { return uguali(a.stazioni[i], b.stazioni[i]); },
      [&](bool lato_a, size_t i) { return descrivi_stazione((lato_a ? a : b).stazioni, i); });
  if (a.ha_linea != b.ha_linea) {
    out << nome_file(a.path_linea) << ": only in " << (a.ha_linea ? "A" : "B") << '\n';
    ++diversi;
  } else if (a.ha_linea) {
    diversi += confronta(
        out, nome_file(a.path_linea), "row", "rows", a.righe(), b.righe(),
        [&](size_t r) { return uguali(a.x(r), b.x(r)) && uguali(a.y(r), b.y(r)); },
        [&](bool lato_a, size_t r) { return descrivi_riga((lato_a ? a : b).linea, r); });
  }
  if (diversi == 0) {
    out << "identical: " << a.nome << " train " << a.numero << '\n';
    return kToolOk;
  }
  return kToolProblemi;
}
