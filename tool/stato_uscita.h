#ifndef SB_TOOL_STATO_USCITA_H_
#define SB_TOOL_STATO_USCITA_H_

// Exit statuses of the authoring tool.
inline constexpr int kToolOk = 0;        // done, nothing wrong
inline constexpr int kToolProblemi = 1;  // the sources or files have problems
inline constexpr int kToolUso = 2;       // bad usage: option, missing or unreadable path

#endif  // SB_TOOL_STATO_USCITA_H_
