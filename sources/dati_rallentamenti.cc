#include "sources/documenti.h"

TabellaRighe righe_rallentamenti() { return {std::u16string(riferimento_fine_file)}; }
