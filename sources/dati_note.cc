#include "sources/documenti.h"

TabellaRighe righe_note(const std::string&) { return {std::u16string(riferimento_fine_file)}; }
