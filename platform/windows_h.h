#ifndef SB_PLATFORM_WINDOWS_H_H_
#define SB_PLATFORM_WINDOWS_H_H_

// The Win32 API with the lean set of declarations and without the min/max
// macros that would break the standard library.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#endif  // SB_PLATFORM_WINDOWS_H_H_
