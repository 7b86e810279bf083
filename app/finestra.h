#ifndef SB_APP_FINESTRA_H_
#define SB_APP_FINESTRA_H_

#include <memory>
#include <string>

// The program's one window and its message boxes. On Windows it is a real
// window with the label "Attendere"; on POSIX the console stands in for it.
class Finestra {
 public:
  virtual ~Finestra() = default;
  // Shows the window, not modal, with its label.
  virtual void mostra() = 0;
  // Repaints the window once, so the label is visible before the work starts.
  virtual void ridisegna() = 0;
  // Shows `testo` in a modal box with an OK button only, no icon.
  virtual void messaggio(const std::string& testo) = 0;
  // Reports a failure the run cannot recover from.
  virtual void fallimento(const std::string& testo) = 0;
};

// The window of this platform.
std::unique_ptr<Finestra> CreaFinestra();

#endif  // SB_APP_FINESTRA_H_
