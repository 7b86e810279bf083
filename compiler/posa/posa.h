#ifndef SB_COMPILER_POSA_POSA_H_
#define SB_COMPILER_POSA_POSA_H_

// The placement stage. Receives one source row's values from a reader and
// the grid as the rows before it left it. Leaves the feature in its cell (or
// cells), or, on a conflict, the grid untouched and the code recorded in
// code returned to the reader, which records it with the row's position.

#include <cstdint>

#include "compiler/tabelle.h"

// Feature placement on the track grid. Point features never share a cell:
// each operation claims only free cells and returns 0, or, on a conflict,
// returns its code without writing; the calling reader then stops. Arguments are the values of one
// source row; two operations write an adjusted value back (`tipo` of a tunnel, `tempo` of a
// signal).

// Orders the three kilometre-progressive changes in entries 81 to 83. A
// change with no room to move on by 100 m is kept as it stands and gives
// code 111, once all three are written.
int32_t progressive_ordina(Tabelle& t);

// Lays a tunnel stretch over the grid; `tipo` receives its final style.
int32_t memo_montagna(Tabelle& t, int32_t& inizio, int32_t& fine, int32_t& tipo);

// Places a pair of maximum-speed boards (left s, right d). Conflict: 21.
int32_t memo_indicatori_v_max(Tabelle& t, int32_t posizione, int32_t& vas, int32_t& vbs,
                              int32_t& vcs, int32_t& strisces, int32_t& vad, int32_t& vbd,
                              int32_t& vcd, int32_t& strisced);

// Places a signal and its four approach marks; `tempo` may be raised to 101.
// Conflict: 16.
int32_t memo_segnale(Tabelle& t, int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2,
                     int32_t& s3, int32_t& rapp, int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3,
                     int32_t& tempo);

// Places a slow-down from x, l metres long, at speed v, with its warning
// board 1200 m before it. Conflicts: 17 to 20.
int32_t memo_rallentamento(Tabelle& t, int32_t x, int32_t& v, int32_t& l, int32_t& f_tt,
                           int32_t f_ta, int32_t& d_v);

#endif  // SB_COMPILER_POSA_POSA_H_
