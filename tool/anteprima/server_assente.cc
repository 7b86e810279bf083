// The Windows build carries no HTTP server library: the preview writes its
// page, and --watch says it is not available.
#include "tool/anteprima/server.h"

bool server_disponibile() { return false; }

std::unique_ptr<ServerAnteprima> avvia_server(int, std::string *errore) {
  *errore =
      "--watch is not available in the Windows build; write the page "
      "with -o and reload it";
  return nullptr;
}
