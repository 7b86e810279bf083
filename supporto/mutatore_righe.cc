#include "supporto/mutatore_righe.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <vector>

#include "compiler/lettura/formato_sorgenti.h"

namespace {

using Righe = std::vector<std::string>;

Righe Dividi(std::string_view s) {
  const std::vector<std::string_view> viste = RigheDi(s);
  return Righe(viste.begin(), viste.end());
}

std::string Unisci(const Righe& righe) {
  std::string s;
  for (const auto& r : righe) s += r;
  return s;
}

// A row of its own: the last row of a file may lack its line end.
std::string ConFineRiga(std::string r) {
  if (!r.ends_with('\n')) r += "\r\n";
  return r;
}

// `righe` without row `via` (none when it is past the end) and with `nuova`
// put before row `prima` (at the end when `prima` is the size; none when
// `nuova` is empty). Built anew rather than with insert and erase, whose
// moves within the capacity the fuzz build's vector annotations misreport.
Righe Con(const Righe& righe, size_t via, size_t prima, const std::string& nuova) {
  Righe r;
  r.reserve(righe.size() + 1);
  for (size_t k = 0; k <= righe.size(); ++k) {
    if (k == prima && !nuova.empty()) r.push_back(nuova);
    if (k < righe.size() && k != via) r.push_back(righe[k]);
  }
  return r;
}

size_t A_caso(std::mt19937& rng, size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); }

bool Marcatore(std::string_view r) { return r.find('[') != r.npos && r.find(']') != r.npos; }

// Keywords that can stand for one another: the spellings of the keyword
// field of every row, one group per section of the two sources.
const std::vector<std::vector<std::string_view>>& Gruppi() {
  static const std::vector<std::vector<std::string_view>> gruppi = [] {
    std::vector<std::vector<std::string_view>> g(3);
    for (const RigaFormato& f : righe_formato())
      for (const char* forma : f.forme) g[static_cast<size_t>(f.sezione)].push_back(forma);
    return g;
  }();
  return gruppi;
}

// The group whose keywords a field holds, or -1.
int GruppoDi(std::string_view campo) {
  const RigaFormato* f = nullptr;
  for (const RigaFormato& r : righe_formato()) {
    if (f == nullptr && riconosce(r, campo)) f = &r;
  }
  return f == nullptr ? -1 : static_cast<int>(f->sezione);
}

// The numbers of a row: where each starts and how long it is.
struct Numero {
  size_t at, n;
  int64_t valore;
};

std::vector<Numero> Numeri(std::string_view r) {
  std::vector<Numero> v;
  const size_t virgola = r.find(',');
  if (virgola == r.npos) return v;
  for (size_t i = virgola + 1; i < r.size();) {
    const bool segno = r[i] == '-' && i + 1 < r.size() && std::isdigit(static_cast<unsigned char>(r[i + 1]));
    if (segno || std::isdigit(static_cast<unsigned char>(r[i]))) {
      size_t j = i + (segno ? 1 : 0);
      while (j < r.size() && std::isdigit(static_cast<unsigned char>(r[j]))) ++j;
      // Longer runs of digits than any field holds are left as they are:
      // their boundaries would not fit a 64-bit number.
      if (j - i <= 15) {
        const std::string testo(r.substr(i, j - i));
        v.push_back({i, j - i, std::strtoll(testo.c_str(), nullptr, 10)});
      }
      i = j;
    } else {
      ++i;
    }
  }
  return v;
}

// A boundary value for a field now holding `v`.
int64_t Confine(int64_t v, int64_t fine_griglia, std::mt19937& rng) {
  static constexpr int64_t kFissi[] = {0,      1,      -1,     127,         128,         255,
                                       256,    -128,   -129,   32767,       32768,       -32768,
                                       -32769, 65535,  65536,  2147483647,  2147483648LL, -2147483648LL,
                                       -2147483649LL, 1000000, 1000001};
  const int64_t cinquanta = (v / 50) * 50;
  const int64_t vicini[] = {v + 1, v - 1, cinquanta, cinquanta + 50, cinquanta - 1, cinquanta + 1,
                            cinquanta + 51, cinquanta + 49, fine_griglia, fine_griglia - 100,
                            fine_griglia - 99, fine_griglia - 800, fine_griglia - 799,
                            fine_griglia + 7000, fine_griglia + 7050};
  const size_t n_fissi = std::size(kFissi), n = n_fissi + std::size(vicini);
  const size_t k = A_caso(rng, n);
  return k < n_fissi ? kFissi[k] : vicini[k - n_fissi];
}

}  // namespace

std::vector<std::string_view> RigheDi(std::string_view s) {
  std::vector<std::string_view> righe;
  while (!s.empty()) {
    size_t fine = s.find('\n');
    fine = fine == std::string_view::npos ? s.size() : fine + 1;
    righe.push_back(s.substr(0, fine));
    s.remove_prefix(fine);
  }
  return righe;
}

int64_t LunghezzaLinea(std::string_view sorgente) {
  for (const auto& r : Dividi(sorgente)) {
    const std::string_view chiave = std::string_view(r).substr(0, r.find(','));
    if (r.find(',') != r.npos && riconosce(TipoRiga::kLunghezza, chiave)) {
      const auto n = Numeri(r);
      return n.empty() ? -1 : n[0].valore;
    }
  }
  return -1;
}

std::string ConLunghezza(std::string_view sorgente, int64_t lunghezza) {
  Righe righe = Dividi(sorgente);
  for (auto& r : righe) {
    const std::string_view chiave = std::string_view(r).substr(0, r.find(','));
    if (r.find(',') == r.npos || !riconosce(TipoRiga::kLunghezza, chiave))
      continue;
    const auto n = Numeri(r);
    if (!n.empty()) r.replace(n[0].at, n[0].n, std::to_string(lunghezza));
    break;
  }
  return Unisci(righe);
}

std::string Muta(std::string_view sorgente, Mutazione m, int64_t fine_griglia, std::mt19937& rng) {
  Righe righe = Dividi(sorgente);
  if (righe.empty()) return std::string(sorgente);
  const size_t i = A_caso(rng, righe.size());
  switch (m) {
    case Mutazione::kDuplica:
      righe[i] = ConFineRiga(righe[i]);
      righe = Con(righe, righe.size(), i, righe[i]);
      break;
    case Mutazione::kElimina:
      righe = Con(righe, i, righe.size(), {});
      break;
    case Mutazione::kScambia: {
      const size_t k = A_caso(rng, righe.size());
      righe[i] = ConFineRiga(righe[i]);
      righe[k] = ConFineRiga(righe[k]);
      std::swap(righe[i], righe[k]);
      break;
    }
    case Mutazione::kSposta: {
      // Behind a section marker other than the row's own, when there is one.
      std::vector<size_t> marcatori;
      for (size_t k = 0; k < righe.size(); ++k)
        if (k != i && Marcatore(righe[k])) marcatori.push_back(k);
      if (marcatori.empty()) break;
      const std::string riga = ConFineRiga(righe[i]);
      const size_t dopo = marcatori[A_caso(rng, marcatori.size())];
      righe[dopo] = ConFineRiga(righe[dopo]);
      righe = Con(righe, i, dopo + 1, riga);
      break;
    }
    case Mutazione::kConfine: {
      // A row with numbers, tried from a random start.
      for (size_t t = 0; t < righe.size(); ++t) {
        std::string& r = righe[(i + t) % righe.size()];
        const auto numeri = Numeri(r);
        if (numeri.empty()) continue;
        const Numero& n = numeri[A_caso(rng, numeri.size())];
        r.replace(n.at, n.n, std::to_string(Confine(n.valore, fine_griglia, rng)));
        break;
      }
      break;
    }
    case Mutazione::kChiave: {
      for (size_t t = 0; t < righe.size(); ++t) {
        std::string& r = righe[(i + t) % righe.size()];
        const size_t virgola = r.find(',');
        if (virgola == r.npos) continue;
        const int g = GruppoDi(std::string_view(r).substr(0, virgola));
        if (g < 0) continue;
        const auto& gruppo = Gruppi()[static_cast<size_t>(g)];
        r.replace(0, virgola, gruppo[A_caso(rng, gruppo.size())]);
        break;
      }
      break;
    }
  }
  return Unisci(righe);
}
