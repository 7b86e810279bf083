#include "sources/documenti.h"
#include "sources/modulo_rallentamenti.h"

// The slow-down order form handed to the driver. It is printed blank: the
// route and the train are runs of x, to be filled in by hand, and the grid
// has room for 26 orders. The same form serves every scenario.

TabellaRighe righe_rallentamenti() { return modulo_rallentamenti(u"xxxxxx xxxxxxx", u"xxxxx", {}); }
