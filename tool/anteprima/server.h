#ifndef SB_TOOL_ANTEPRIMA_SERVER_H_
#define SB_TOOL_ANTEPRIMA_SERVER_H_

// The watch server: the preview page on the loopback interface, kept up to
// date while the sources change. It answers three paths only, all GET:
//   /        the page, its data inline
//   /dati    the data alone, as JSON, for an open page to take in
//   /eventi  server-sent events: "aggiorna" with the data's version number,
//            once when a page connects and again after each new compile.
// Every other path gets 404, every other method 405, and any request whose
// Host is not 127.0.0.1, localhost or [::1] at the server's own port gets
// 403: a page of another site that got its name pointed at this machine
// must not read it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class ServerAnteprima {
 public:
  virtual ~ServerAnteprima() = default;
  virtual int porta() const = 0;
  // What the server answers from now on; open pages are told.
  virtual void pubblica(std::string pagina, std::string dati, uint64_t versione) = 0;
  // Ends the event streams, stops answering and frees the port.
  virtual void ferma() = 0;
};

// Whether this build has the server (the Windows build has not).
bool server_disponibile();

// Listens on 127.0.0.1 at `porta`, 0 for a free port the system picks.
// Null, with the reason in `*errore`, when it cannot.
std::unique_ptr<ServerAnteprima> avvia_server(int porta, std::string *errore);

// Whether a request with header "Host: `host`" may be answered by the
// server at `porta`.
bool host_ammesso(std::string_view host, int porta);

#endif  // SB_TOOL_ANTEPRIMA_SERVER_H_
