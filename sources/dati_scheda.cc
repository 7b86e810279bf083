#include "sources/documenti.h"

TabellaRighe righe_scheda(const std::string&) { return {std::u16string(riferimento_fine_file)}; }
