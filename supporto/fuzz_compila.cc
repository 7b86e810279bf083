#include "supporto/fuzz_compila.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "compiler/codici_errore.h"
#include "compiler/lettura/formato_sorgenti.h"
#include "compiler/lettura/lettore_campi.h"
#include "compiler/nomi_file.h"
#include "platform/executable_dir.h"
#include "supporto/compila_memoria.h"
#include "supporto/mutatore_righe.h"

namespace {

using Tipo = EsitoCompilazione::Tipo;

void Verifica(bool ok, const char* cosa) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", cosa);
    std::abort();
  }
}

const std::string& LineaIncorporata() {
  static const std::string s = SorgenteLineaIncorporata();
  return s;
}

const std::string& TrenoIncorporato() {
  static const std::string s = SorgenteTrenoIncorporata();
  return s;
}

// Whether the keyword field of a row names a row whose first number is a
// position on the line (in metres, like the length row handled apart).
bool ChiaveDiPosizione(std::string_view chiave) {
  for (const RigaFormato& f : righe_formato()) {
    if (!f.campi.empty() && std::string_view(f.campi[0].unita) == "m" && riconosce(f, chiave))
      return true;
  }
  return false;
}

// Whether the keyword field of `riga` (up to its first comma) names a row of kind `t`.
bool Di(std::string_view riga, TipoRiga t) { return riconosce(t, riga.substr(0, riga.find(','))); }

bool Numero(std::string_view campo, long* n) {
  const std::string testo(campo);
  char* fine = nullptr;
  *n = std::strtol(testo.c_str(), &fine, 10);
  if (fine == testo.c_str()) return false;
  while (*fine == ' ' || *fine == '\t' || *fine == '\r' || *fine == '\n') ++fine;
  return *fine == '\0';
}

// Where the in-memory compile puts each of its files.
struct Percorsi {
  explicit Percorsi(const Tabelle& t)
      : linea(JoinPath(kDirectoryMemoria, nome_sorgente_linea(t.nome_scenario))),
        treno(JoinPath(kDirectoryMemoria, nome_sorgente_treno(t.nome_scenario, t.numero_treno))),
        tabella(JoinPath(kDirectoryMemoria, nome_file_linea(t.nome_scenario))),
        stazioni(JoinPath(kDirectoryMemoria, nome_file_stazioni(t.nome_scenario, t.numero_treno))),
        griglia(JoinPath(kDirectoryMemoria, nome_file_percorso(t.nome_scenario, t.numero_treno))) {}
  std::string linea, treno, tabella, stazioni, griglia;
};

// Every in-memory compile has the same scenario identity, so the paths
// are formed once.
const Percorsi& PercorsiMemoria() {
  static const Percorsi p = [] {
    Tabelle t;
    t.nome_scenario = "Lavrano_Cestelle";
    t.numero_treno = "58121";
    return Percorsi(t);
  }();
  return p;
}

// Called for every value of the line table file: inlined, or the walk
// costs twice as much under the sanitizers.
[[gnu::always_inline]] inline uint16_t U16(const std::string& b, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) |
                               (static_cast<unsigned char>(b[at + 1]) << 8));
}

// Walks the line table file value by value: every value carries one of the
// three codes and a finite number, rows 0 and 1 are the start of the plan,
// and the file holds exactly the table's elements.
void VerificaFileLinea(const Tabelle& t, const std::string& b) {
  size_t at = 0, valori = 0;
  const size_t righe = static_cast<size_t>(t.limite_tabella) + 1;
  // The row of the value, counted rather than divided out: the walk is a
  // tenth of a run.
  size_t riga = 0;
  for (; at < b.size(); riga = riga + 1 == righe ? 0 : riga + 1) {
    Verifica(at + 2 <= b.size(), "line table value cut short");
    const uint16_t codice = U16(b, at);
    at += 2;
    if (codice == valore::kIntero) {
      Verifica(at + 2 <= b.size(), "line table integer cut short");
      Verifica(riga <= 1, "integer value beyond row 1");
      at += 2;
    } else if (codice == valore::kReale) {
      Verifica(at + 8 <= b.size(), "line table double cut short");
      double x = 0;
      std::memcpy(&x, b.data() + at, sizeof x);
      Verifica(std::isfinite(x), "line table value not finite");
      Verifica(riga >= 2 && riga + 2 <= righe - 1, "computed value outside rows 2 to limit - 2");
      at += 8;
    } else {
      Verifica(codice == valore::kVuoto, "line table value code");
    }
    ++valori;
  }
  Verifica(valori == 2 * righe, "line table file holds the whole table");
}

// The memory of the grid, of the line table and of the line table file
// (where its pieces are gathered, and the file itself), kept from one
// compile to the next. The grid is created anew by every compile (assigned whole, every
// cell zero), and the line table is assigned whole too (every code set, the
// numbers set with their codes), so a compile starts from the same state as
// with fresh tables; only their allocations are not made again for every
// input, and with them the page faults of fresh memory, which under the
// address sanitizer (large blocks mapped anew each time) cost more than
// filling them. The fuzz build annotates the spare capacity of vectors for
// the address sanitizer, so an access beyond the grid's end or the table's
// codes is still caught.
struct Riserva {
  std::vector<cella> percorso;
  TabellaLinea tabella;
  std::string pezzi;       // where the line table file is gathered
  std::string file_linea;  // the line table file itself
};

Riserva& LaRiserva() {
  static Riserva r;
  return r;
}

template <typename T>
void Prendi(std::vector<T>* da, std::vector<T>* a) {
  *a = std::move(*da);
  a->clear();
  *da = {};
}

// Gives a compile's tables back to the reserve once its checks are done,
// keeping the larger of the two buffers.
template <typename T>
void Restituisci(std::vector<T>* da, std::vector<T>* a) {
  if (da->capacity() > a->capacity()) *a = std::move(*da);
}

// Only a compile that builds the plan takes the line table's memory.
void Compila(std::string_view linea, std::string_view treno, CompilazioneInMemoria* c, int32_t j) {
  Prendi(&LaRiserva().percorso, &c->tabelle.percorso);
  if (j != 0) {
    c->tabelle.tabella_linea = std::move(LaRiserva().tabella);
    c->tabelle.tabella_linea.svuota();
    c->fs.spare = std::move(LaRiserva().pezzi);
    c->fs.riserve[PercorsiMemoria().tabella] = std::move(LaRiserva().file_linea);
  }
  CompilaInMemoria(linea, treno, c, j);
}

void Restituisci(CompilazioneInMemoria* c, int32_t j) {
  Restituisci(&c->tabelle.percorso, &LaRiserva().percorso);
  if (j == 0) return;
  LaRiserva().tabella = std::move(c->tabelle.tabella_linea);
  const Percorsi& p = PercorsiMemoria();
  LaRiserva().pezzi = std::move(c->fs.spare);
  if (auto it = c->fs.files.find(p.tabella); it != c->fs.files.end())
    LaRiserva().file_linea = std::move(it->second);
  else if (auto r = c->fs.riserve.find(p.tabella); r != c->fs.riserve.end())
    LaRiserva().file_linea = std::move(r->second);
}

}  // namespace

const std::string& LineaDelTreno() {
  static const std::string linea = [] {
    std::string s;
    bool generale = true;
    for (std::string_view riga : RigheDi(LineaIncorporata())) {
      if (generale || contiene_nocase(riga, "[") || Di(riga, TipoRiga::kCartello) ||
          Di(riga, TipoRiga::kIndicatori))
        s += riga;
      if (contiene_nocase(riga, "[pendenze]")) generale = false;
    }
    return s;
  }();
  return linea;
}

std::string Finestra(std::string_view sorgente, int32_t inizio, int32_t lunghezza) {
  std::string s;
  for (std::string_view riga : RigheDi(sorgente)) {
    const size_t virgola = riga.find(',');
    const std::string_view chiave = riga.substr(0, virgola);
    if (virgola == std::string_view::npos) {
      s += riga;
      continue;
    }
    if (riconosce(TipoRiga::kLunghezza, chiave)) {
      s += std::string(chiave) + ",    " + std::to_string(lunghezza) + "\r\n";
      continue;
    }
    const bool posizione = ChiaveDiPosizione(chiave);
    // Split the rest into its fields; the last keeps the line end.
    std::vector<std::string> campi;
    std::string_view resto = riga.substr(virgola + 1);
    for (size_t c; (c = resto.find(',')) != std::string_view::npos; resto.remove_prefix(c + 1))
      campi.emplace_back(resto.substr(0, c));
    campi.emplace_back(resto);
    long p = 0;
    if (!posizione || !Numero(campi[0], &p)) {
      s += riga;
      continue;
    }
    // A tunnel carries its end as well, the signal repetition its last
    // position (capped to the short line's end).
    const bool montagna = riconosce(TipoRiga::kMontagna, chiave);
    const bool ripetizione = riconosce(TipoRiga::kRipetizione, chiave);
    if (p < inizio || p - inizio + 800 > lunghezza) continue;
    const std::string fine_riga = campi.back().ends_with("\r\n") ? "\r\n" : "";
    auto sposta = [&](size_t i, long v) {
      campi[i] = "    " + std::to_string(v) + (i + 1 == campi.size() ? fine_riga : "");
    };
    sposta(0, p - inizio);
    long q = 0;
    if ((montagna || ripetizione) && campi.size() > 1 && Numero(campi[1], &q)) {
      if (montagna && (q < inizio || q - inizio + 800 > lunghezza)) continue;
      // A repetition ending at 0 means none; one ending beyond the window
      // ends with the short line.
      if (ripetizione && q > 0) q = std::clamp<long>(q - inizio, 0, lunghezza);
      if (montagna) q -= inizio;
      sposta(1, q);
    }
    s += chiave;
    for (const std::string& c : campi) s += "," + c;
  }
  return s;
}

std::vector<int32_t> IniziFinestre() {
  // The tunnels (start, end) of the built-in line.
  const int64_t lunghezza = LunghezzaLinea(LineaIncorporata());
  std::vector<std::pair<long, long>> montagne;
  for (std::string_view riga : RigheDi(LineaIncorporata())) {
    const size_t v1 = riga.find(','), v2 = riga.find(',', v1 + 1);
    long a = 0, b = 0;
    if (v1 != std::string_view::npos && Di(riga, TipoRiga::kMontagna) &&
        Numero(riga.substr(v1 + 1, v2 - v1 - 1), &a) &&
        Numero(riga.substr(v2 + 1, riga.find(',', v2 + 1) - v2 - 1), &b))
      montagne.emplace_back(a, b);
  }
  // Whether the window from `inizio` compiles to its end without a code.
  auto pulita = [](long inizio) {
    const auto i = static_cast<int32_t>(inizio);
    CompilazioneInMemoria c;
    CompilaInMemoria(Finestra(LineaIncorporata(), i, kLunghezzaFinestra),
                     Finestra(TrenoIncorporato(), i, kLunghezzaFinestra), &c);
    return c.esito.tipo == Tipo::kCompletato && c.tabelle.codice_errore == 0;
  };
  std::vector<int32_t> inizi;
  for (long inizio = 0; inizio < lunghezza;) {
    inizi.push_back(static_cast<int32_t>(inizio));
    // The next window starts where this one stops holding rows, or at a
    // tunnel this one cannot hold whole; then 50 m back at a time while it
    // would stop on a code (a signal whose approach marks fall before its
    // start, a row on its header cells).
    long dopo = inizio + kPassoFinestre;
    for (const auto& [a, b] : montagne)
      if (a > inizio && a < dopo && b > inizio + kPassoFinestre) dopo = a;
    while (dopo < lunghezza && dopo - 50 > inizio && !pulita(dopo)) dopo -= 50;
    inizio = dopo;
  }
  return inizi;
}

void VerificaCompilazione(const CompilazioneInMemoria& c, int32_t j) {
  const Tabelle& t = c.tabelle;
  const Percorsi& p = PercorsiMemoria();
  auto presente = [&](const std::string& path) { return c.fs.files.count(path) != 0; };
  auto file = [&](const std::string& path) -> const std::string& { return c.fs.files.at(path); };

  Verifica(t.codice_errore >= 0, "error code not negative");
  Verifica(t.numero_montagne >= 0 && t.numero_montagne < kNumeroMontagne, "tunnel count");
  for (const auto& s : t.stazioni) Verifica(s.nome.size() <= 65535, "name fits its count");

  // The line source is consumed on every way out. The train source is read
  // (and so deleted) unless the line half gave up with a code of its own;
  // a reading failure deletes both.
  Verifica(!presente(p.linea), "line source deleted");
  if (presente(p.treno)) {
    Verifica(t.codice_errore != 0 && t.codice_errore != codice::kFuoriPercorso &&
                 t.codice_errore != codice::kLetturaFallita,
             "train source left only after the line half gave up");
  }
  // After a line half that read to its end, the plan reaches its last row.
  const bool linea_completa = !presente(p.treno) && t.codice_errore != codice::kLetturaFallita;

  const bool binari = presente(p.tabella) || presente(p.stazioni) || presente(p.griglia);
  switch (c.esito.tipo) {
    case Tipo::kFallimento:
      // In memory nothing refuses a file: the only failure left is a line
      // source that gave no grid, and that is always recorded.
      Verifica(!t.ha_percorso(), "compile failed although there is a grid");
      Verifica(t.codice_errore != 0, "no grid without a recorded code");
      Verifica(!binari, "no binary file after a failure");
      return;
    case Tipo::kErroreFatale:
      Verifica(c.esito.numero == 1250 || c.esito.numero == 1251, "fatal number");
      Verifica(!binari, "no binary file after a fatal check");
      return;
    case Tipo::kCompletato:
      break;
  }

  Verifica(t.ha_percorso(), "a completed compile has a grid");
  Verifica(t.percorso.size() == static_cast<size_t>(t.numero_celle) + 1, "grid dimension");
  Verifica(t.percorso[1].dato1 == 5121 && t.stazioni[kVoceScenario].d2a == 610,
           "header values stamped");

  Verifica(presente(p.griglia), "grid file written");
  const std::string& griglia = file(p.griglia);
  Verifica(griglia.size() == 15 * t.percorso.size(), "grid file size");
  Verifica(U16(griglia, 16) == 5121, "grid file carries the header value");

  Verifica(presente(p.stazioni), "station file written");
  size_t attesa = 0;
  for (const auto& s : t.stazioni) attesa += 34 + s.nome.size();
  Verifica(file(p.stazioni).size() == attesa, "station file size");

  Verifica(presente(p.tabella) == (j != 0), "line table file written exactly when asked for");
  if (j != 0) {
    Verifica(t.tabella_linea.size() == 2 * (static_cast<size_t>(t.limite_tabella) + 1),
             "line table dimension");
    const std::string& tabella = file(p.tabella);
    VerificaFileLinea(t, tabella);
    if (linea_completa) {
      Verifica(tabella.size() == 2 * (10 * static_cast<size_t>(t.limite_tabella) - 18),
               "complete line table file size");
    }
  }
}

void CompilaIngresso(Bersaglio b, std::string_view data) {
  std::string_view linea, treno;
  switch (b) {
    case Bersaglio::kLinea: linea = data; treno = TrenoIncorporato(); break;
    case Bersaglio::kTreno: linea = LineaDelTreno(); treno = data; break;
    case Bersaglio::kEntrambi: DividiIngresso(data, &linea, &treno); break;
  }
  // The train half never looks at the plan of the line, so the train target
  // leaves it out: a run then costs a small fraction of a full one.
  const int32_t j = b == Bersaglio::kTreno ? 0 : 1;
  CompilazioneInMemoria c;
  Compila(linea, treno, &c, j);
  VerificaCompilazione(c, j);
  Restituisci(&c, j);

  // Only curve rows depend on whether the plan is built; without them the
  // grid and the station table must come out the same either way.
  if (j != 0 && !riconosce(TipoRiga::kCurva, linea)) {
    CompilazioneInMemoria senza;
    Compila(linea, treno, &senza, 0);
    VerificaCompilazione(senza, 0);
    const Percorsi& p = PercorsiMemoria();
    Verifica(senza.esito.tipo == c.esito.tipo, "same outcome without the plan");
    Verifica(senza.tabelle.codice_errore == c.tabelle.codice_errore, "same code without the plan");
    auto uguale = [&](const std::string& path) {
      auto a = c.fs.files.find(path), z = senza.fs.files.find(path);
      return (a == c.fs.files.end()) == (z == senza.fs.files.end()) &&
             (a == c.fs.files.end() || a->second == z->second);
    };
    Verifica(uguale(p.griglia) && uguale(p.stazioni) && uguale(p.treno),
             "same grid and station files without the plan");
    Restituisci(&senza, 0);
  }
}
