#include "tool/diagnosi/distanza.h"

#include <algorithm>
#include <array>
#include <vector>

size_t distanza(std::string_view a, std::string_view b, size_t limite) {
  // Optimal string alignment: insertions, deletions, substitutions and
  // swaps of adjacent letters. Row i of the table needs only rows i - 1 and
  // i - 2 (for a swap), so three rows take turns in one buffer. The check
  // asks this for every keyword of a part for every unknown row, so rows as
  // long as a keyword live on the stack.
  const size_t n = a.size(), m = b.size();
  constexpr size_t kCorta = 48;
  std::array<size_t, 3 * kCorta> corte;
  std::vector<size_t> lunghe;
  size_t* righe = corte.data();
  if (m + 1 > kCorta) {
    lunghe.resize(3 * (m + 1));
    righe = lunghe.data();
  }
  auto riga = [&](size_t i) { return righe + (i % 3) * (m + 1); };
  for (size_t j = 0; j <= m; ++j) riga(0)[j] = j;
  // An entry of row i comes from row i - 1, plus one from row i - 2: once
  // two rows in a row lie wholly above the limit, so does every later one,
  // and the last entry with them.
  size_t minimo_su = 0;  // least entry of row i - 1
  for (size_t i = 1; i <= n; ++i) {
    size_t* d = riga(i);
    const size_t* su = riga(i - 1);
    const size_t* su2 = riga(i + 1);  // row i - 2, when i > 1
    d[0] = i;
    size_t minimo = i;
    for (size_t j = 1; j <= m; ++j) {
      const size_t costo = a[i - 1] == b[j - 1] ? 0 : 1;
      size_t v = std::min({su[j] + 1, d[j - 1] + 1, su[j - 1] + costo});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        v = std::min(v, su2[j - 2] + 1);
      d[j] = v;
      minimo = std::min(minimo, v);
    }
    if (minimo > limite && minimo_su > limite) return limite + 1;
    minimo_su = minimo;
  }
  return std::min(riga(n)[m], limite + 1);
}
