#ifndef SB_COMPILER_USCITA_FORMATO_LINEA_H_
#define SB_COMPILER_USCITA_FORMATO_LINEA_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/tabelle.h"
#include "compiler/uscita/codifica.h"
#include "platform/file_system.h"

// Line table file ("<scenario>_linea.dat"): every element of `tabella_linea`
// in storage order, column-major: the x values of rows 0 to limite_tabella,
// then the y values of the same rows. Each value is a tagged value, all
// little-endian, nothing between them and no header:
//   code 2 (u16) + i16          4 bytes   rows 0 and 1
//   code 5 (u16) + f64         10 bytes   computed rows
//   code 0 (u16)                2 bytes   rows never computed (the last two)
// A complete table takes 2 * (10 * limite_tabella - 18) bytes.
//
// The file is some 20 bytes a metre, so it is encoded in blocks of a fixed
// number of elements, each handed out as the next piece of the file while
// the one before it has already been written.
class CodificaLinea : public ByteSource {
 public:
  // REQUIRES: `t` outlives this and stays unchanged while it is read.
  explicit CodificaLinea(const Tabelle& t);
  std::string_view Next() override;

 private:
  static constexpr size_t kMassimo = 10;         // bytes of the largest value
  // Each write call carries some 320 KiB: smaller blocks (80 KiB) cost the
  // long line measurably more in write calls, larger ones gained nothing.
  static constexpr size_t kElementi = 1 << 15;   // elements of a block

  const TabellaLinea& tabella_;
  size_t prossimo_ = 0;  // first element of the next block
  std::unique_ptr<char[]> blocco_;
};

// The whole file at once.
std::string codifica_linea(const Tabelle& t);

// Decodes a line table file into `*valori` in storage order (all x values,
// then all y values; the file has valori->size() / 2 rows). Refuses an
// unknown value tag, a value cut off by the end of the file, and a file that
// does not split into two columns of equal length; on a refusal `*valori` is
// left empty. Encoding the values again gives `dati` back.
EsitoDecodifica decodifica_linea(std::string_view dati, std::vector<valore>* valori);

// Refuses a line table of `righe` rows that is not the table of a line
// `lunghezza` metres long (rows 0 to lunghezza + 7000); `dimensione` is the
// file's size, reported as the offset.
EsitoDecodifica verifica_righe(size_t righe, int32_t lunghezza, size_t dimensione);

#endif  // SB_COMPILER_USCITA_FORMATO_LINEA_H_
