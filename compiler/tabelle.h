#ifndef SB_COMPILER_TABELLE_H_
#define SB_COMPILER_TABELLE_H_

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "compiler/valore.h"

// One 50 m cell of the track grid. `tipo` and dato1..tempo describe at most
// one point feature standing on the cell; avviso..aderenza describe the
// stretch of line the cell lies in.
struct cella {
  uint8_t tipo = 0;      // kind of feature (see the constants below); 0 = nothing
  int16_t dato1 = 0;     // first value of the feature
  int16_t dato2 = 0;     // second value
  int16_t dato3 = 0;     // third value
  int16_t dato4 = 0;     // fourth value
  uint8_t tempo = 0;     // signal time (signals only)
  uint8_t avviso = 0;    // approach mark of a signal or station ahead; 0 = none
  uint8_t montagna = 0;  // tunnel style of the tunnel over the cell; 0 = open air
  uint8_t velocita = 0;  // speed limit in steps of 5 km/h
  uint8_t pendenza = 0;  // gradient plus 100 (low 8 bits)
  uint8_t aderenza = 0;  // adhesion value (low 8 bits)
};

// Kinds of cell feature.
namespace tipo_cella {
inline constexpr uint8_t kNiente = 0;
inline constexpr uint8_t kSegnale = 1;
inline constexpr uint8_t kFineRallentamento = 2;
inline constexpr uint8_t kInizioRallentamento = 3;
inline constexpr uint8_t kAvvisoRallentamento = 4;
inline constexpr uint8_t kPrimaDellAvviso = 5;
inline constexpr uint8_t kIndicatoriVmax = 6;
inline constexpr uint8_t kFermata = 10;
inline constexpr uint8_t kMontagna = 11;
inline constexpr uint8_t kAbbattimento = 12;
inline constexpr uint8_t kAbbattimentoNullo = 13;
inline constexpr uint8_t kCartello = 14;
}  // namespace tipo_cella

// A cell is free when nothing stands on it but, at most, a tunnel marker.
inline bool libera(const cella& c) {
  return c.tipo == tipo_cella::kNiente || c.tipo == tipo_cella::kMontagna;
}

// One entry of the station table: a station, a text board or a header entry.
struct record_stazione {
  uint8_t tipo = 0;       // kind of stop
  int32_t inizio = 0;     // start of the station area, metres
  int32_t fine = 0;       // end of the station area, metres
  int32_t posizione = 0;  // position of the station, metres
  uint8_t tps = 0;
  std::string nome;       // name, board text or identity text (Windows-1252 bytes)
  int16_t d2a = 0;
  int16_t d3a = 0;
  int16_t d1b = 0;
  int16_t d2b = 0;
  int16_t d3b = 0;
  uint8_t rap = 0;
  uint8_t ac = 0;
  uint8_t mar = 0;
  uint8_t tab = 0;
  int32_t orario = 0;     // time of day in seconds
};

struct Registro;  // compiler/registro.h

inline constexpr int kNumeroStazioni = 87;  // entries 0 to 86

// The station table's entries. Stations take the entries from 1 up, text
// boards from kPrimoCartello down; entry 0 is never used. The last six are
// the header entries, whose fields hold the scenario's general data:
//
//   81, 82, 83  the three kilometre-progressive changes (rows "tre", "due",
//               "uno" of the line source), kept in order of position:
//                 inizio     position of the change, metres along the line
//                 fine       the kilometre progressive from there on, metres
//                 posizione  flag: 1 moves the progressive on by 100 m
//   84          general data:
//                 inizio     braked-mass percentage of the train
//                 fine       length of the line, metres
//                 posizione  number of coaches
//   85          the scenario's identity:
//                 inizio, posizione, fine  the three background numbers
//                 nome       the scenario name
//                 d2a        header check, 610 once stamped
//                 orario     the competition code stamped for the station table
//   86          the train's identity:
//                 inizio, fine  signal code repetition from and to, metres
//                 posizione  number of codes repeated (4 or 9; 0: none)
//                 nome       the train number
//                 d2a        sand
//                 d1b, d2b, d3b  the clock at the start: hours, minutes, seconds
inline constexpr int kPrimoCartello = 80;  // the first text board's entry
inline constexpr int kVoceProgressivaTre = 81;
inline constexpr int kVoceProgressivaDue = 82;
inline constexpr int kVoceProgressivaUno = 83;
inline constexpr int kVoceGenerale = 84;
inline constexpr int kVoceScenario = 85;
inline constexpr int kVoceTreno = 86;
inline constexpr int kNumeroMontagne = 81;  // entries 0 to 80; entry 0 unused

// The plan of the line, held in its narrowest exact form: for every element
// its type code, and for a number the number as a double (every 16-bit
// integer is exact in one), 9 bytes in all where a full tagged value takes
// 16. Only empty values, 16-bit integers and doubles occur in the plan; any
// other code reads back as empty, which is also how the file writes it. The
// numbers of a new table are left unset rather than zero-filled, since all
// but a few are written over: a number is set together with its code, and
// read only where the code says there is one.
class TabellaLinea {
 public:
  TabellaLinea() = default;
  TabellaLinea(const TabellaLinea& o) { *this = o; }
  TabellaLinea& operator=(const TabellaLinea& o) {
    if (this == &o) return *this;
    codici_ = o.codici_;
    numeri_.reset(o.empty() ? nullptr : new double[o.size()]);
    capacita_ = o.size();
    if (!o.empty()) std::memcpy(numeri_.get(), o.numeri_.get(), o.size() * sizeof(double));
    return *this;
  }
  TabellaLinea(TabellaLinea&& o) noexcept { *this = std::move(o); }
  TabellaLinea& operator=(TabellaLinea&& o) noexcept {
    if (this == &o) return *this;
    codici_ = std::move(o.codici_);
    numeri_ = std::move(o.numeri_);
    capacita_ = std::exchange(o.capacita_, 0);
    o.codici_.clear();
    return *this;
  }
  TabellaLinea& operator=(std::initializer_list<valore> valori) {
    assign(valori.size(), valore{});
    size_t i = 0;
    for (const valore& v : valori) imposta(i++, v);
    return *this;
  }

  size_t size() const { return codici_.size(); }
  bool empty() const { return codici_.empty(); }
  // Empties the table and gives its memory back.
  void clear() {
    codici_ = {};
    numeri_.reset();
    capacita_ = 0;
  }
  // Empties the table but keeps its memory for the next assign, so that
  // compiling the same line again does not allocate it anew.
  void svuota() { codici_.clear(); }
  // Makes the table `n` elements, each `v`, in the memory it already has
  // when that is enough. The numbers beyond size() are never reached: every
  // access goes through the element's code first, and the codes are a
  // vector of exactly size() elements.
  void assign(size_t n, const valore& v) {
    codici_.assign(n, codice_di(v));
    if (n > capacita_ || n == 0) {
      numeri_.reset(n == 0 ? nullptr : new double[n]);
      capacita_ = n;
    }
    if (codice_di(v) != valore::kVuoto)
      for (size_t i = 0; i < n; ++i) numeri_[i] = numero_di(v);
  }
  // Element i. REQUIRES: i < size().
  // A copy, const so that assigning to it (meant as a store) does not compile.
  const valore operator[](size_t i) const {
    switch (codici_[i]) {
      case valore::kIntero:
        return valore::Intero(static_cast<int16_t>(numeri_[i]));
      case valore::kReale:
        return valore::Reale(numeri_[i]);
      default:
        return valore{};
    }
  }
  // The codes (kVuoto, kIntero or kReale) of all size() elements and their
  // numbers, for the encoder of the file, which walks every element.
  // The number of an element may be read only when its code is not kVuoto.
  const uint8_t* codici() const { return codici_.data(); }
  const double* numeri() const { return numeri_.get(); }
  // Sets element i to `v`. REQUIRES: i < size().
  void imposta(size_t i, const valore& v) {
    codici_[i] = codice_di(v);
    numeri_[i] = numero_di(v);
  }
  // Sets element i to the double `x`, as imposta(i, valore::Reale(x)).
  void imposta_reale(size_t i, double x) {
    codici_[i] = static_cast<uint8_t>(valore::kReale);
    numeri_[i] = x;
  }
  // Marks elements i to i + n - 1 as doubles and returns where their n
  // numbers go, for a run of rows written in one loop; the caller sets all
  // n. REQUIRES: i + n <= size().
  double* reali(size_t i, size_t n) {
    std::fill_n(codici_.begin() + static_cast<std::ptrdiff_t>(i), n,
                static_cast<uint8_t>(valore::kReale));
    return numeri_.get() + i;
  }

 private:
  static uint8_t codice_di(const valore& v) {
    return v.codice == valore::kIntero || v.codice == valore::kReale
               ? static_cast<uint8_t>(v.codice)
               : static_cast<uint8_t>(valore::kVuoto);
  }
  static double numero_di(const valore& v) {
    return v.codice == valore::kIntero ? static_cast<double>(v.intero) : v.reale;
  }

  std::vector<uint8_t> codici_;
  std::unique_ptr<double[]> numeri_;
  size_t capacita_ = 0;  // numbers numeri_ has room for
};

// All state of the compiler, owned by the window for the whole run.
struct Tabelle {
  // Track grid, cells 0 to numero_celle; empty until the line length is read.
  std::vector<cella> percorso;
  // Beside the grid: the start cells of the slow-downs whose start and end
  // fell into one cell, which then shows only the start. Kept by the
  // placement, in placing order, so the finishing pass can tell them apart.
  std::vector<int32_t> rallentamenti_in_una_cella;
  // Stations from 1 up, text boards from 80 down, header entries 81 to 86
  // (see kVoceGenerale and its neighbours for what each field holds).
  std::array<record_stazione, kNumeroStazioni> stazioni{};
  // Plan of the line, column-major: element (r, k) is at k * (limite_tabella + 1) + r.
  // Empty unless scrivi_linea is non-zero and the line length has been read.
  TabellaLinea tabella_linea;

  std::array<int32_t, kNumeroMontagne> inizio_montagne{};
  std::array<int32_t, kNumeroMontagne> fine_montagne{};
  int32_t numero_montagne = 0;

  std::string nome_scenario;  // scenario name, set at start-up
  std::string numero_treno;   // train number, set at start-up
  std::string riga;           // last field read; scratch text of the codes

  int32_t scrivi_linea = 0;   // non-zero: build and write the line table
  // With scrivi_linea: the curve rows are read and checked and the metre
  // the plan reaches is followed, but no row of the plan is computed and
  // the line table stays empty. For a caller that wants the codes of the
  // compile without the table (an editor's diagnostics); the builder never
  // sets it.
  bool piano_senza_tabella = false;
  int32_t limite_tabella = 0; // line length + 7000
  int32_t numero_celle = 0;   // upper index of percorso
  int32_t codice_errore = 0;  // last recorded problem; 0 = none
  int32_t posizione_errore = 0;

  // An account of the compile for the authoring tool; null (never set) in
  // the builder. See compiler/registro.h.
  Registro* registro = nullptr;

  // Whether the line reader has created the track grid.
  bool ha_percorso() const { return !percorso.empty(); }
  // Element (r, k) of the line table. REQUIRES: 0 <= r <= limite_tabella, k in {0, 1}.
  // A copy, const so that assigning to it (meant as a store) does not compile.
  const valore linea(int64_t r, int k) const { return tabella_linea[indice_linea(r, k)]; }
  // Sets element (r, k). REQUIRES: as for linea.
  void imposta_linea(int64_t r, int k, const valore& v) {
    tabella_linea.imposta(indice_linea(r, k), v);
  }
  // Sets element (r, k) to the double `x`. REQUIRES: as for linea.
  void imposta_linea_reale(int64_t r, int k, double x) {
    tabella_linea.imposta_reale(indice_linea(r, k), x);
  }
  size_t indice_linea(int64_t r, int k) const {
    return static_cast<size_t>(k) * (static_cast<size_t>(limite_tabella) + 1) +
           static_cast<size_t>(r);
  }
};

#endif  // SB_COMPILER_TABELLE_H_
