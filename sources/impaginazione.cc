#include "sources/impaginazione.h"

std::u16string blanchi(size_t n) { return std::u16string(n, u' '); }

std::u16string taglia(std::u16string_view testo, size_t larghezza) {
  return std::u16string(testo.substr(0, larghezza));
}

std::u16string a_sinistra(std::u16string_view testo, size_t larghezza) {
  std::u16string s = taglia(testo, larghezza);
  s.append(larghezza - s.size(), u' ');
  return s;
}

std::u16string a_destra(std::u16string_view testo, size_t larghezza) {
  const std::u16string s = taglia(testo, larghezza);
  return blanchi(larghezza - s.size()) + s;
}

std::u16string al_centro(std::u16string_view testo, size_t larghezza) {
  const std::u16string s = taglia(testo, larghezza);
  return a_sinistra(blanchi((larghezza - s.size()) / 2) + s, larghezza);
}

std::u16string da_byte(std::string_view testo) {
  std::u16string s;
  for (char c : testo) s.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return s;
}

TabellaRighe chiudi_modulo(TabellaRighe testa, const std::vector<std::u16string>& righe,
                           std::u16string_view regolo, const std::vector<std::u16string>& piede) {
  testa.insert(testa.end(), righe.begin(), righe.end());
  testa.emplace_back(regolo);
  testa.insert(testa.end(), piede.begin(), piede.end());
  testa.emplace_back(riferimento_fine_file);
  return testa;
}
