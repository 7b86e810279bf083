#include "tool/anteprima/dati_pagina.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "tool/anteprima/provenienze.h"
#include "tool/diagnosi/diagnostica.h"
#include "tool/ispezione/descrizione.h"
#include "tool/ispezione/elementi.h"

namespace {

// A position in metres with one decimal, as the page needs it.
double decimo(double v) { return std::round(v * 10) / 10; }

int32_t riga_o_niente(const std::vector<int32_t> &v, size_t i) { return i < v.size() ? v[i] : -1; }

// Runs of consecutive cells (below `fine`) with the same value and row, as
// [from m, to m, value, row].
template <typename F>
JsonPagina tratti(size_t fine, const std::vector<int32_t> &righe, F valore) {
  JsonPagina out = JsonPagina::array();
  size_t da = 0;
  for (size_t i = 1; i <= fine; ++i) {
    if (i < fine && valore(i) == valore(da) && riga_o_niente(righe, i) == riga_o_niente(righe, da))
      continue;
    out.push_back({da * 50, i * 50, valore(da), riga_o_niente(righe, da)});
    da = i;
  }
  return out;
}

bool punto(const TabellaLinea &linea, size_t righe, size_t r, double *x, double *y) {
  const valore vx = linea[r], vy = linea[righe + r];
  if (vx.codice == valore::kVuoto || vy.codice == valore::kVuoto) return false;
  *x = vx.numero();
  *y = vy.numero();
  return std::isfinite(*x) && std::isfinite(*y);
}

JsonPagina stazioni(const Tabelle &t, const Provenienze &p) {
  JsonPagina out = JsonPagina::array();
  const size_t righe = t.tabella_linea.size() / 2;
  for (size_t i = 1; i <= kPrimoCartello; ++i) {
    if (ruolo_stazione(t.stazioni, i) != "station") continue;
    const record_stazione &s = t.stazioni[i];
    JsonPagina j;
    j["n"] = utf8_da_1252(s.nome);
    j["i"] = i;
    j["m"] = s.posizione;
    j["da"] = s.inizio;
    j["a"] = s.fine;
    j["ora"] = s.orario != 0 ? JsonPagina(ora(s.orario)) : JsonPagina(nullptr);
    j["ferma"] = s.tipo < 25;
    double x = 0, y = 0;
    if (s.posizione >= 0 && static_cast<size_t>(s.posizione) < righe &&
        punto(t.tabella_linea, righe, static_cast<size_t>(s.posizione), &x, &y)) {
      j["x"] = decimo(x);
      j["y"] = decimo(y);
    }
    j["r"] = p.stazioni[i];
    j["t"] = testo_stazione(t.stazioni, i);
    out.push_back(std::move(j));
  }
  return out;
}

}  // namespace

std::vector<double> piano_sfoltito(const TabellaLinea &linea, size_t righe, size_t ultima,
                                   double tolleranza) {
  std::vector<uint32_t> validi;
  std::vector<double> xs, ys;
  for (size_t r = 0; r <= ultima && r < righe; ++r) {
    double x, y;
    if (!punto(linea, righe, r, &x, &y)) continue;
    validi.push_back(static_cast<uint32_t>(r));
    xs.push_back(x);
    ys.push_back(y);
  }
  std::vector<double> out;
  if (validi.empty()) return out;
  std::vector<bool> tenuto(validi.size(), false);
  tenuto.front() = tenuto.back() = true;
  std::vector<std::pair<size_t, size_t>> pila{{0, validi.size() - 1}};
  while (!pila.empty()) {
    const auto [a, b] = pila.back();
    pila.pop_back();
    if (b <= a + 1) continue;
    const double dx = xs[b] - xs[a], dy = ys[b] - ys[a];
    const double l2 = dx * dx + dy * dy;
    double peggiore = -1;
    size_t k = a;
    for (size_t i = a + 1; i < b; ++i) {
      double ex = xs[i] - xs[a], ey = ys[i] - ys[a];
      if (l2 > 0) {
        const double u = std::clamp((ex * dx + ey * dy) / l2, 0.0, 1.0);
        ex -= u * dx;
        ey -= u * dy;
      }
      const double d = ex * ex + ey * ey;
      if (d > peggiore) peggiore = d, k = i;
    }
    if (peggiore > tolleranza * tolleranza) {
      tenuto[k] = true;
      pila.push_back({a, k});
      pila.push_back({k, b});
    }
  }
  for (size_t i = 0; i < validi.size(); ++i)
    if (tenuto[i]) {
      out.push_back(validi[i]);
      out.push_back(decimo(xs[i]));
      out.push_back(decimo(ys[i]));
    }
  return out;
}

JsonPagina disegno_pagina(const Analisi &a) {
  const Tabelle &t = a.compilazione->tabelle;
  if (t.percorso.empty()) return nullptr;
  const std::vector<cella> &c = t.percorso;
  const Provenienze p = provenienze(a);
  JsonPagina d;
  d["titolo"] =
      utf8_da_1252(t.nome_scenario) + " \xE2\x80\x94 train " + utf8_da_1252(t.numero_treno);
  const int32_t lunghezza = t.stazioni[kVoceGenerale].fine;
  d["fine_linea"] = lunghezza;
  d["estensione"] = c.size() * 50;

  // Where the stretch values end: the last cells of a grid carry none.
  size_t con_valori = c.size();
  while (con_valori > 0 && c[con_valori - 1].velocita == 0 && c[con_valori - 1].pendenza == 0 &&
         c[con_valori - 1].aderenza == 0)
    --con_valori;

  JsonPagina righe = JsonPagina::array();
  for (const RigaSorgente &r : p.righe) righe.push_back({r.file, r.riga, r.testo});

  // The plan, thinned to what a screen shows of the whole line, and never
  // coarser than a tenth of a metre.
  const size_t n_righe = t.tabella_linea.size() / 2;
  if (n_righe > 0) {
    const double tolleranza = std::max(0.1, static_cast<double>(n_righe) / 40000.0);
    d["piano"] = piano_sfoltito(t.tabella_linea, n_righe, n_righe - 1, tolleranza);
  } else {
    d["piano"] = nullptr;
  }

  d["velocita"] = tratti(con_valori, p.velocita, [&](size_t i) { return c[i].velocita * 5; });
  const std::vector<Rallentamento> rall = rallentamenti(c, &p);
  const std::vector<int> eff = velocita_effettiva(c, rall);
  JsonPagina effettiva = JsonPagina::array();
  for (size_t i = 0, da = 0; i <= con_valori; ++i) {
    if (i < con_valori && eff[i] == eff[da]) continue;
    if (i > da) effettiva.push_back({da * 50, i * 50, eff[da]});
    da = i;
  }
  d["effettiva"] = std::move(effettiva);
  d["gradiente"] = tratti(con_valori, p.pendenza, [&](size_t i) { return c[i].pendenza - 100; });
  d["presa"] = tratti(con_valori, p.aderenza, [&](size_t i) { return int{c[i].aderenza}; });
  JsonPagina gallerie = JsonPagina::array();
  for (auto &g : tratti(c.size(), p.montagna, [&](size_t i) { return int{c[i].montagna}; }))
    if (g[2] != 0) gallerie.push_back(std::move(g));
  d["gallerie"] = std::move(gallerie);

  JsonPagina elementi = JsonPagina::array();
  JsonPagina avvisi = JsonPagina::array();
  size_t segnali = 0, cartelli = 0;
  for (size_t i = 0; i < c.size(); ++i) {
    if (c[i].tipo != tipo_cella::kNiente) {
      JsonPagina e;
      e["k"] = nome_tipo_cella(c[i].tipo);
      e["c"] = i;
      e["m"] = i * 50;
      e["t"] = testo_cella(c, i, t.stazioni);
      e["r"] = riga_o_niente(p.celle, i);
      if (i < p.aggiunte.size() && p.aggiunte[i]) e["agg"] = true;
      elementi.push_back(std::move(e));
      segnali += c[i].tipo == tipo_cella::kSegnale;
      cartelli += c[i].tipo == tipo_cella::kCartello;
    }
    if (c[i].avviso != 0) {
      size_t annunciata = c.size();
      JsonPagina e;
      e["c"] = i;
      e["m"] = i * 50;
      e["v"] = c[i].avviso;
      e["t"] = testo_avviso(c, i, t.stazioni, &annunciata);
      e["r"] = riga_o_niente(p.celle, annunciata);
      avvisi.push_back(std::move(e));
    }
  }
  d["elementi"] = std::move(elementi);
  d["avvisi"] = std::move(avvisi);

  JsonPagina rj = JsonPagina::array();
  for (const Rallentamento &r : rall) {
    JsonPagina j;
    j["da"] = r.inizio * 50;
    j["a"] = r.fine * 50;
    j["v"] = r.velocita;
    j["corsia"] = r.corsia;
    j["r"] = riga_o_niente(p.celle, r.inizio);
    j["t"] = "slow-down " + std::to_string(r.velocita) + " km/h, " +
             km(static_cast<double>(r.inizio) * 50) + " to " +
             km(static_cast<double>(r.fine) * 50) + " (cells " + std::to_string(r.inizio) + " to " +
             std::to_string(r.fine) + ")";
    rj.push_back(std::move(j));
  }
  d["rallentamenti"] = std::move(rj);

  JsonPagina st = stazioni(t, p);
  size_t fermate = 0;
  for (const auto &s : st) fermate += s["ferma"].get<bool>();
  JsonPagina prog = JsonPagina::array();
  for (size_t e = kVoceProgressivaTre; e <= kVoceProgressivaUno; ++e) {
    const record_stazione &s = t.stazioni[e];
    if (s.inizio == 0 && s.fine == 0) continue;
    JsonPagina j;
    j["m"] = s.inizio;
    j["km"] = s.fine;
    j["r"] = p.stazioni[e];
    j["t"] = "kilometre marking changes at " + std::to_string(s.inizio) +
             " m: from here the line reads " + km(s.fine) +
             (s.posizione == 1 ? " (100 m added by the flag)" : "");
    prog.push_back(std::move(j));
  }
  d["progressive"] = std::move(prog);
  char b[64];
  std::snprintf(b, sizeof b, "%.3f", lunghezza / 1000.0);
  d["sommario"] = std::string("line ") + b + " km \xC2\xB7 " + std::to_string(st.size()) +
                  " stations (" + std::to_string(fermate) + " stops) \xC2\xB7 " +
                  std::to_string(segnali) + " signals \xC2\xB7 " + std::to_string(rall.size()) +
                  " slow-downs \xC2\xB7 " + std::to_string(cartelli) + " text boards \xC2\xB7 " +
                  std::to_string(c.size()) + " cells of 50 m";
  d["stazioni"] = std::move(st);
  d["righe"] = std::move(righe);
  return d;
}

JsonPagina diagnostica_pagina(const Analisi &a) {
  JsonPagina d;
  JsonPagina elenco = a.documento()["diagnostics"];
  size_t errori = 0;
  for (const auto &x : elenco) errori += x["severity"] == "error";
  d["pulita"] = a.pulita();
  d["errori"] = errori;
  d["avvisi"] = elenco.size() - errori;
  d["testo"] = utf8_da_1252(a.testo());
  d["elenco"] = std::move(elenco);
  return d;
}

JsonPagina dati_pagina(const Analisi &a) {
  JsonPagina d;
  d["disegno"] = disegno_pagina(a);
  d["diagnostica"] = diagnostica_pagina(a);
  return d;
}
