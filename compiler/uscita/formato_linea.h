#ifndef SB_COMPILER_USCITA_FORMATO_LINEA_H_
#define SB_COMPILER_USCITA_FORMATO_LINEA_H_

#include <string>

#include "compiler/tabelle.h"

// Line table file ("<scenario>_linea.dat"): every element of `tabella_linea`
// in storage order, column-major: the x values of rows 0 to limite_tabella,
// then the y values of the same rows. Each value is a tagged value, all
// little-endian, nothing between them and no header:
//   code 2 (u16) + i16          4 bytes   rows 0 and 1
//   code 5 (u16) + f64         10 bytes   computed rows
//   code 0 (u16)                2 bytes   rows never computed (the last two)
// A complete table takes 2 * (10 * limite_tabella - 18) bytes.
std::string codifica_linea(const Tabelle& t);

#endif  // SB_COMPILER_USCITA_FORMATO_LINEA_H_
