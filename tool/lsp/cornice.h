#ifndef SB_TOOL_LSP_CORNICE_H_
#define SB_TOOL_LSP_CORNICE_H_

// The framing of the language server's messages: each message is a header
// block ("Content-Length: N", optionally other headers, each line ended by
// CR LF, the block by an empty line) followed by exactly N bytes of JSON.

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

// The largest body the server takes in: a source of a line of 1,000,000 m
// is well under 1 MiB. A longer one is skipped without being kept.
inline constexpr size_t kCorpoMassimo = size_t{64} << 20;

class LettoreCornici {
 public:
  explicit LettoreCornici(std::istream& in, size_t massimo = kCorpoMassimo)
      : in_(in), massimo_(massimo) {}

  enum class Esito {
    kMessaggio,   // *corpo holds the body of the next message
    kMalformato,  // a header block without a usable length, or a body too
                  // long; *errore says which; reading may go on
    kFine,        // the input ended (possibly inside a message)
  };
  Esito leggi(std::string* corpo, std::string* errore);

  // Whether bytes are already waiting in the stream's buffer, so that
  // reading the next message would not wait for the client.
  bool altro_in_attesa() const;

 private:
  // One header line without its line end; false at the end of the input.
  bool riga(std::string* out);

  std::istream& in_;
  size_t massimo_;
};

// `corpo` framed for the output.
std::string incornicia(std::string_view corpo);

#endif  // SB_TOOL_LSP_CORNICE_H_
