#include "compiler/uscita/formato_percorso.h"

#include "compiler/arrotonda.h"
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

EsitoDecodifica decodifica_percorso(std::string_view dati, std::vector<cella>* celle) {
  celle->clear();
  if (dati.size() % kByteCella != 0)
    return EsitoDecodifica::Rifiuto(
        dati.size() - dati.size() % kByteCella,
        "a whole number of 15-byte cells, found " + std::to_string(dati.size()) + " bytes (" +
            std::to_string(dati.size() % kByteCella) + " left over after cell " +
            std::to_string(dati.size() / kByteCella) + ")");
  if (dati.size() < 2 * kByteCella)
    return EsitoDecodifica::Rifiuto(dati.size(), "the header cells 0 and 1 (30 bytes), found " +
                                                     std::to_string(dati.size()) + " bytes");
  LettoreLE l(dati);
  std::vector<cella> out(dati.size() / kByteCella);
  for (cella& c : out) {
    // The size is checked above, so no read here can run out of bytes.
    l.GetU8(&c.tipo, "tipo");
    l.GetI16(&c.dato1, "dato1");
    l.GetI16(&c.dato2, "dato2");
    l.GetI16(&c.dato3, "dato3");
    l.GetI16(&c.dato4, "dato4");
    l.GetU8(&c.tempo, "tempo");
    l.GetU8(&c.avviso, "avviso");
    l.GetU8(&c.montagna, "montagna");
    l.GetU8(&c.velocita, "velocita");
    l.GetU8(&c.pendenza, "pendenza");
    l.GetU8(&c.aderenza, "aderenza");
  }
  if (!l.esito().ok()) return l.esito();
  *celle = std::move(out);
  return EsitoDecodifica::Ok();
}

int64_t celle_del_percorso(int32_t lunghezza) {
  return dividi_arrotonda(static_cast<int64_t>(lunghezza) + 7000, 50) + 1;
}

EsitoDecodifica verifica_celle(size_t celle, int32_t lunghezza) {
  const int64_t attese = celle_del_percorso(lunghezza);
  if (static_cast<int64_t>(celle) == attese) return EsitoDecodifica::Ok();
  const int64_t minimo = attese < static_cast<int64_t>(celle) ? attese : static_cast<int64_t>(celle);
  return EsitoDecodifica::Rifiuto(
      static_cast<size_t>(minimo < 0 ? 0 : minimo) * kByteCella,
      std::to_string(attese) + " cells for a line of " + std::to_string(lunghezza) +
          " m (the length in the station table), found " + std::to_string(celle));
}
