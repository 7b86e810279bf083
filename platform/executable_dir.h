#ifndef SB_PLATFORM_EXECUTABLE_DIR_H_
#define SB_PLATFORM_EXECUTABLE_DIR_H_

#include <string>

#include "platform/status.h"

// Asks the operating system for the directory that holds the running
// executable (never the current directory). The result has no trailing
// separator unless it is a root directory.
Status DirectoryOfExecutable(std::string* dir);

// Joins a directory and a file name. Windows joins with a backslash, added
// even when the directory already ends in one (a drive root gives "C:\\name");
// POSIX joins with "/", since a backslash there is an ordinary character of
// a file name.
std::string JoinPath(const std::string& dir, const std::string& name);

#endif  // SB_PLATFORM_EXECUTABLE_DIR_H_
