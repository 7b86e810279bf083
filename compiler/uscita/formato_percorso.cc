#include "compiler/uscita/formato_percorso.h"

#include "compiler/uscita/codifica.h"

std::string codifica_percorso(const Tabelle& t) {
  std::string out(kByteCella * t.percorso.size(), '\0');
  char* p = out.data();
  for (const cella& c : t.percorso) {
    p = PutU8(p, c.tipo);
    p = PutI16(p, c.dato1);
    p = PutI16(p, c.dato2);
    p = PutI16(p, c.dato3);
    p = PutI16(p, c.dato4);
    p = PutU8(p, c.tempo);
    p = PutU8(p, c.avviso);
    p = PutU8(p, c.montagna);
    p = PutU8(p, c.velocita);
    p = PutU8(p, c.pendenza);
    p = PutU8(p, c.aderenza);
  }
  return out;
}
