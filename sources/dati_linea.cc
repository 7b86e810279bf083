#include "sources/documenti.h"

TabellaRighe righe_linea() { return {std::u16string(riferimento_fine_file)}; }
