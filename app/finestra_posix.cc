// On POSIX the console stands in for the window: the label's text is one
// line on standard output, messages go to standard error.
#include <cstdio>

#include "app/finestra.h"

namespace {

class FinestraConsole : public Finestra {
 public:
  void mostra() override {
    std::fputs("Attendere\n", stdout);
    std::fflush(stdout);
  }
  void ridisegna() override { std::fflush(stdout); }
  void messaggio(const std::string& testo) override {
    std::fprintf(stderr, "%s\n", testo.c_str());
    std::fflush(stderr);
  }
  void fallimento(const std::string& testo) override {
    std::fprintf(stderr, "scenario_builder: %s\n", testo.c_str());
    std::fflush(stderr);
  }
};

}  // namespace

std::unique_ptr<Finestra> CreaFinestra() { return std::make_unique<FinestraConsole>(); }
