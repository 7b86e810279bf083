#ifndef SB_TOOL_DIAGNOSI_DISTANZA_H_
#define SB_TOOL_DIAGNOSI_DISTANZA_H_

#include <cstddef>
#include <limits>
#include <string_view>

// The edit distance between two texts, an adjacent swap counting as one
// edit ("pendneza" is one edit from "pendenza"): what "did you mean" ranks
// the keywords of a part by. A distance above `limite` is given as
// limite + 1, and found without filling the rest of the table.
size_t distanza(std::string_view a, std::string_view b,
                size_t limite = std::numeric_limits<size_t>::max() - 1);

#endif  // SB_TOOL_DIAGNOSI_DISTANZA_H_
