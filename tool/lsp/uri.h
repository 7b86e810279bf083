#ifndef SB_TOOL_LSP_URI_H_
#define SB_TOOL_LSP_URI_H_

// The client names documents by "file:" URIs; the server pairs and reads
// them by path.

#include <optional>
#include <string>
#include <string_view>

// The path of a "file:" URI, its escapes decoded ("file:///c%3A/x" gives
// "c:/x" on Windows, "file:///home/x" gives "/home/x" elsewhere); none for
// any other scheme, another host, or an escaped NUL.
std::optional<std::string> percorso_da_uri(std::string_view uri);
// The "file:" URI of an absolute path, escaped as clients write them.
std::string uri_da_percorso(std::string_view percorso);

#endif  // SB_TOOL_LSP_URI_H_
