#ifndef SB_TOOL_DISTANZA_H_
#define SB_TOOL_DISTANZA_H_

#include <cstddef>
#include <string_view>

// The edit distance between two texts, an adjacent swap counting as one
// edit ("pendneza" is one edit from "pendenza"): what "did you mean" ranks
// the keywords of a part by.
size_t distanza(std::string_view a, std::string_view b);

#endif  // SB_TOOL_DISTANZA_H_
