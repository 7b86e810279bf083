// Program entry: one unattended run, no arguments, no configuration.
#include "app/finestra.h"
#include "app/form1.h"
#include "platform/executable_dir.h"
#include "platform/file_system.h"

#ifdef _WIN32
int wmain() {
#else
int main() {
#endif
  std::unique_ptr<Finestra> finestra = CreaFinestra();
  std::string directory;
  Status s = DirectoryOfExecutable(&directory);
  if (!s.ok()) {
    finestra->fallimento(s.message());
    return kEsitoFallimento;
  }
  std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  Form1 form(*finestra, *fs, directory);
  return form.Form_Load();
}
