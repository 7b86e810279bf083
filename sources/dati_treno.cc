#include "sources/documenti.h"

TabellaRighe righe_treno() { return {std::u16string(riferimento_fine_file)}; }
