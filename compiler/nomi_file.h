#ifndef SB_COMPILER_NOMI_FILE_H_
#define SB_COMPILER_NOMI_FILE_H_

#include <string>

// File names of the scenario, all formed from its two identity texts. Every
// file lies in the directory of the running executable. The compiler reads
// the two sources and writes the binary files under these names; the
// document writers take them from here too, so both sides always agree.

inline std::string nome_sorgente_linea(const std::string& scenario) { return scenario + "_linea.txt"; }
inline std::string nome_sorgente_treno(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + "-.txt";  // hyphen before the extension, by tradition
}
inline std::string nome_scheda(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + "_scheda_treno.txt";
}
inline std::string nome_rallentamenti(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + "_rallentamenti.txt";
}
inline std::string nome_note(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + "_note.txt";
}
inline std::string nome_file_linea(const std::string& scenario) { return scenario + "_linea.dat"; }
inline std::string nome_file_stazioni(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + ".sim";
}
inline std::string nome_file_percorso(const std::string& scenario, const std::string& treno) {
  return scenario + "_" + treno + ".dat";
}

#endif  // SB_COMPILER_NOMI_FILE_H_
