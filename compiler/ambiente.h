#ifndef SB_COMPILER_AMBIENTE_H_
#define SB_COMPILER_AMBIENTE_H_

#include <string>

#include "platform/file_system.h"

// Where the compiler finds its sources and puts its files: the file system
// and the directory of the running executable.
struct Ambiente {
  FileSystem* fs;
  std::string directory;
};

#endif  // SB_COMPILER_AMBIENTE_H_
