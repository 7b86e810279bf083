#include "compiler/posa.h"

void memo_segnale(Tabelle&, int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                  int32_t&, int32_t&, int32_t&, int32_t&) {}
void memo_rallentamento(Tabelle&, int32_t, int32_t&, int32_t&, int32_t&, int32_t, int32_t&) {}
