#include "compiler/uscita/formato_stazioni.h"

#include "compiler/uscita/codifica.h"

namespace {
constexpr size_t kFissi = 34;  // bytes of an entry besides its name
constexpr size_t kNomeMassimo = 65535;
}  // namespace

Status codifica_stazioni(const Tabelle& t, std::string* out) {
  size_t dimensione = 0;
  for (size_t i = 0; i < t.stazioni.size(); ++i) {
    if (t.stazioni[i].nome.size() > kNomeMassimo)
      return Status::Error("cannot encode the station table: the name of entry " +
                           std::to_string(i) + " exceeds 65535 bytes");
    dimensione += kFissi + t.stazioni[i].nome.size();
  }
  out->assign(dimensione, '\0');
  char* p = out->data();
  for (const record_stazione& s : t.stazioni) {
    p = PutU8(p, s.tipo);
    p = PutI32(p, s.inizio);
    p = PutI32(p, s.fine);
    p = PutI32(p, s.posizione);
    p = PutU8(p, s.tps);
    p = PutTesto(p, s.nome);
    p = PutI16(p, s.d2a);
    p = PutI16(p, s.d3a);
    p = PutI16(p, s.d1b);
    p = PutI16(p, s.d2b);
    p = PutI16(p, s.d3b);
    p = PutU8(p, s.rap);
    p = PutU8(p, s.ac);
    p = PutU8(p, s.mar);
    p = PutU8(p, s.tab);
    p = PutI32(p, s.orario);
  }
  return Status::Ok();
}

EsitoDecodifica decodifica_stazioni(std::string_view dati, TabellaStazioni* stazioni) {
  *stazioni = TabellaStazioni{};
  LettoreLE l(dati);
  TabellaStazioni out{};
  for (size_t i = 0; i < out.size(); ++i) {
    record_stazione& s = out[i];
    l.contesto("entry " + std::to_string(i));
    const bool letto = l.GetU8(&s.tipo, "tipo") && l.GetI32(&s.inizio, "inizio") &&
                       l.GetI32(&s.fine, "fine") && l.GetI32(&s.posizione, "posizione") &&
                       l.GetU8(&s.tps, "tps") && l.GetTesto(&s.nome, "nome") &&
                       l.GetI16(&s.d2a, "d2a") && l.GetI16(&s.d3a, "d3a") &&
                       l.GetI16(&s.d1b, "d1b") && l.GetI16(&s.d2b, "d2b") &&
                       l.GetI16(&s.d3b, "d3b") && l.GetU8(&s.rap, "rap") && l.GetU8(&s.ac, "ac") &&
                       l.GetU8(&s.mar, "mar") && l.GetU8(&s.tab, "tab") &&
                       l.GetI32(&s.orario, "orario");
    if (!letto) return l.esito();
  }
  if (!l.alla_fine())
    return EsitoDecodifica::Rifiuto(l.offset(), "the end of the file after entry 86, found " +
                                                    std::to_string(l.restanti()) + " more bytes");
  *stazioni = std::move(out);
  return EsitoDecodifica::Ok();
}
