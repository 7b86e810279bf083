#ifndef SB_COMPILER_USCITA_FILE_USCITA_H_
#define SB_COMPILER_USCITA_FILE_USCITA_H_

// The output stage. Receives the finished and stamped tables. Leaves them
// unchanged, and the scenario's directory holding the line table (when
// `scrivi_linea` is non-zero), the station table and the track grid, each
// encoded as a little-endian concatenation of its elements and written
// through the replace protocol.

#include <string>
#include <string_view>

#include "compiler/ambiente.h"
#include "compiler/tabelle.h"
#include "platform/file_system.h"
#include "platform/status.h"

// Replaces the file at `path` with `data`: open and close (creating it when
// missing), delete, then one open that creates it and writes from byte 0.
// No byte of an older, longer file survives.
Status sostituisci_file(FileSystem& fs, const std::string& path, std::string_view data);
// The same for bytes that `source` gives piece by piece, written as they come.
Status sostituisci_file(FileSystem& fs, const std::string& path, ByteSource& source);

// Writes the compiled files next to the executable, in order: the line table
// (only when scrivi_linea is non-zero; otherwise its file is not touched),
// the station table and the track grid. Stops at the first failure; the
// files before it stay written.
Status scrivi_file_uscita(const Tabelle& t, const Ambiente& a);

#endif  // SB_COMPILER_USCITA_FILE_USCITA_H_
