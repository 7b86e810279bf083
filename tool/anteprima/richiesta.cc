#include <cctype>
#include <string>

#include "tool/anteprima/server.h"

bool host_ammesso(std::string_view host, int porta) {
  std::string h(host);
  for (char &c : h) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view resto = h;
  bool nome_ammesso = false;
  for (std::string_view nome : {"127.0.0.1", "localhost", "[::1]"}) {
    if (resto.substr(0, nome.size()) == nome) {
      resto.remove_prefix(nome.size());
      nome_ammesso = true;
      break;
    }
  }
  if (!nome_ammesso) return false;
  // A browser leaves the port out when it is the scheme's own.
  if (resto.empty()) return porta == 80;
  return resto.size() > 1 && resto[0] == ':' && resto.substr(1) == std::to_string(porta);
}
