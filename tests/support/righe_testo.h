#ifndef SB_TESTS_SUPPORT_RIGHE_TESTO_H_
#define SB_TESTS_SUPPORT_RIGHE_TESTO_H_

#include <cstddef>
#include <string>
#include <vector>

// Rows joined into a text file, each ended by CR LF, as the source texts
// are written.
inline std::string Righe(const std::vector<std::string>& righe) {
  std::string s;
  for (const auto& r : righe) s += r + "\r\n";
  return s;
}

// Columns (from 0) of the vertical bars of one row of a document's grid.
inline std::vector<size_t> Barre(const std::u16string& riga) {
  std::vector<size_t> v;
  for (size_t i = 0; i < riga.size(); ++i)
    if (riga[i] == u'|') v.push_back(i);
  return v;
}

#endif  // SB_TESTS_SUPPORT_RIGHE_TESTO_H_
