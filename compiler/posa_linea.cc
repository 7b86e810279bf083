#include "compiler/posa.h"

void progressive_ordina(Tabelle&) {}
void memo_montagna(Tabelle&, int32_t&, int32_t&, int32_t&) {}
void memo_indicatori_v_max(Tabelle&, int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                           int32_t&, int32_t&, int32_t&) {}
