#ifndef SB_APP_FORM1_H_
#define SB_APP_FORM1_H_

#include <string>

#include "app/finestra.h"
#include "compiler/tabelle.h"
#include "platform/file_system.h"

// Exit status of a run.
inline constexpr int kEsitoNormale = 0;
inline constexpr int kEsitoFallimento = 1;  // a file or platform operation failed
inline constexpr int kEsitoErrore = 2;      // a header check failed (`errore`)

// The program's window and the owner of every working table.
class Form1 {
 public:
  // REQUIRES: `finestra` and `fs` outlive the form.
  Form1(Finestra& finestra, FileSystem& fs, std::string directory)
      : finestra_(finestra), fs_(fs), directory_(std::move(directory)) {}

  // The whole run: identity, window, the five documents, the compile.
  // Returns the exit status.
  int Form_Load();

  // Shows " Errore n. " and `a` in the message box; the run then ends.
  void errore(const std::string& a);

  Tabelle tabelle;

 private:
  // Reports a failure of a file or platform operation; the run then ends.
  int fallito(const std::string& messaggio);

  Finestra& finestra_;
  FileSystem& fs_;
  std::string directory_;
};

#endif  // SB_APP_FORM1_H_
