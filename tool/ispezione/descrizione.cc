#include "tool/ispezione/descrizione.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <ostream>

#include "sources/windows1252.h"

namespace {

// "hh:mm:ss" of a time of day in seconds; null for 0 (no time given).
Json orario(int32_t secondi) {
  if (secondi == 0) return nullptr;
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", secondi / 3600, secondi / 60 % 60, secondi % 60);
  return b;
}

Json orologio(int16_t h, int16_t m, int16_t s) {
  char b[32];
  std::snprintf(b, sizeof b, "%02d:%02d:%02d", h, m, s);
  return b;
}

std::string utf8(const std::string& testo) { return DecodeWindows1252ToUtf8(testo); }

bool vuota(const record_stazione& s) {
  return s.tipo == 0 && s.inizio == 0 && s.fine == 0 && s.posizione == 0 && s.tps == 0 &&
         s.d2a == 0 && s.d3a == 0 && s.d1b == 0 && s.d2b == 0 && s.d3b == 0 && s.rap == 0 &&
         s.ac == 0 && s.mar == 0 && s.tab == 0 && s.orario == 0;
}

// The names a kind of cell gives its data dato1 to dato4, in that order,
// up to the first it does not use.
using NomiDati = std::array<const char*, 4>;

NomiDati nomi_dati(uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::kSegnale:
      return {"s1_d1", "s2_d2", "s3_d3", "rapp_sx_dx"};
    case tipo_cella::kFineRallentamento:
    case tipo_cella::kInizioRallentamento:
      return {"speed_kmh", "d_v", "f_tt"};
    case tipo_cella::kAvvisoRallentamento:
      return {"speed_kmh", "d_v"};
    case tipo_cella::kPrimaDellAvviso:
      return {"n"};
    case tipo_cella::kIndicatoriVmax:
      return {"board_a", "board_b", "board_c", "stripes"};
    case tipo_cella::kFermata:
      return {"station"};
    case tipo_cella::kAbbattimento:
      return {"code"};
    case tipo_cella::kCartello:
      return {"entry"};
    default:
      return {};
  }
}

// The names the fixed entries give the three numbers of their record, in
// the order they are shown; the scenario's three backgrounds are numbered
// in the order start, position, end.
struct NumeroVoce {
  const char* nome;
  int32_t record_stazione::*campo;
};
using NumeriVoce = std::array<NumeroVoce, 3>;

const NumeriVoce* numeri_voce(size_t i) {
  using R = record_stazione;
  static constexpr NumeriVoce kProgressiva = {
      {{"position_m", &R::inizio}, {"progressive_m", &R::fine}, {"flag", &R::posizione}}};
  static constexpr NumeriVoce kGenerale = {{{"braked_mass_percent", &R::inizio},
                                            {"line_length_m", &R::fine},
                                            {"coaches", &R::posizione}}};
  static constexpr NumeriVoce kScenario = {
      {{"sfondo_uno", &R::inizio}, {"sfondo_due", &R::posizione}, {"sfondo_tre", &R::fine}}};
  static constexpr NumeriVoce kTreno = {{{"signal_repetition_from_m", &R::inizio},
                                         {"signal_repetition_to_m", &R::fine},
                                         {"codes", &R::posizione}}};
  if (i >= kVoceProgressivaTre && i <= kVoceProgressivaUno) return &kProgressiva;
  if (i == kVoceGenerale) return &kGenerale;
  if (i == kVoceScenario) return &kScenario;
  if (i == kVoceTreno) return &kTreno;
  return nullptr;
}

Json valore_json(const valore& v) {
  switch (v.codice) {
    case valore::kIntero:
      return v.intero;
    case valore::kReale:
      return v.reale;
    default:
      return nullptr;
  }
}

// A scalar as a table cell: numbers as JSON writes them (shortest form that
// reads back the same), texts as they are, null as nothing.
std::string cella_testo(const Json& v) {
  if (v.is_null()) return "";
  if (v.is_string()) return v.get<std::string>();
  if (v.is_object()) {
    std::string s;
    for (const auto& [k, x] : v.items()) {
      if (!s.empty()) s += ' ';
      s += k + "=" + cella_testo(x);
    }
    return s;
  }
  return v.dump();
}

std::string csv(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

// Display width of UTF-8 text: one column per character.
size_t larghezza(const std::string& s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

}  // namespace

std::string nome_tipo_cella(uint8_t tipo) {
  switch (tipo) {
    case tipo_cella::kNiente:
      return "none";
    case tipo_cella::kSegnale:
      return "signal";
    case tipo_cella::kFineRallentamento:
      return "slow-down end";
    case tipo_cella::kInizioRallentamento:
      return "slow-down start";
    case tipo_cella::kAvvisoRallentamento:
      return "slow-down warning board";
    case tipo_cella::kPrimaDellAvviso:
      return "before warning board";
    case tipo_cella::kIndicatoriVmax:
      return "speed boards";
    case tipo_cella::kFermata:
      return "station stop";
    case tipo_cella::kMontagna:
      return "tunnel marker";
    case tipo_cella::kAbbattimento:
      return "code cut";
    case tipo_cella::kAbbattimentoNullo:
      return "code cut (no value)";
    case tipo_cella::kCartello:
      return "text board";
    default:
      return "unknown " + std::to_string(tipo);
  }
}

double km_cella(size_t i) { return static_cast<double>(i * 50) / 1000.0; }

std::string ruolo_stazione(const TabellaStazioni& stazioni, size_t i) {
  switch (i) {
    case 0:
      return "unused";
    case kVoceProgressivaTre:
      return "progressive change (tre)";
    case kVoceProgressivaDue:
      return "progressive change (due)";
    case kVoceProgressivaUno:
      return "progressive change (uno)";
    case kVoceGenerale:
      return "general data";
    case kVoceScenario:
      return "scenario identity";
    case kVoceTreno:
      return "train identity";
    default:
      break;
  }
  const record_stazione& s = stazioni[i];
  // A text board carries its text and nothing else; a station always has
  // its extent and position.
  if (vuota(s)) return s.nome.empty() ? "empty" : "text board";
  return "station";
}

Json descrivi_cella(const std::vector<cella>& celle, size_t i, const TabellaStazioni* stazioni) {
  const cella& c = celle[i];
  Json campi = Json::object();
  std::string tipo = nome_tipo_cella(c.tipo);
  if (i < 2) {
    // Cells 0 and 1 head the grid; cell 1 carries the format mark and the
    // competition code. A feature standing there is still shown.
    if (i == 1) {
      campi["mark"] = c.dato1;
      campi["codice_gara_og"] = c.dato2;
    }
    if (c.tipo != 0) campi["feature"] = tipo;
    tipo = "header";
  } else {
    const std::array<int16_t, 4> dati = {c.dato1, c.dato2, c.dato3, c.dato4};
    const NomiDati nomi = nomi_dati(c.tipo);
    for (size_t k = 0; k < nomi.size() && nomi[k] != nullptr; ++k) campi[nomi[k]] = dati[k];
    if (c.tipo == tipo_cella::kSegnale) campi["time"] = c.tempo;
    // A stop and a text board point at an entry of the station table, whose
    // name or text is shown beside the number.
    const char* voce = c.tipo == tipo_cella::kFermata    ? "name"
                       : c.tipo == tipo_cella::kCartello ? "text"
                                                         : nullptr;
    if (voce != nullptr && stazioni != nullptr && c.dato1 >= 0 && c.dato1 < kNumeroStazioni)
      campi[voce] = utf8((*stazioni)[static_cast<size_t>(c.dato1)].nome);
  }
  Json r;
  r["index"] = i;
  r["km"] = km_cella(i);
  r["kind"] = tipo;
  r["tipo"] = c.tipo;
  r["dato1"] = c.dato1;
  r["dato2"] = c.dato2;
  r["dato3"] = c.dato3;
  r["dato4"] = c.dato4;
  r["tempo"] = c.tempo;
  r["avviso"] = c.avviso;
  r["montagna"] = c.montagna;
  r["velocita"] = c.velocita;
  r["speed_kmh"] = c.velocita * 5;
  r["pendenza"] = c.pendenza;
  r["gradient_permille"] = c.pendenza - 100;
  r["aderenza"] = c.aderenza;
  r["fields"] = campi;
  return r;
}

Json descrivi_stazione(const TabellaStazioni& stazioni, size_t i) {
  const record_stazione& s = stazioni[i];
  const std::string ruolo = ruolo_stazione(stazioni, i);
  Json campi = Json::object();
  if (ruolo == "station") {
    campi["name"] = utf8(s.nome);
    campi["stop"] = s.tipo < 25;
    campi["position_m"] = s.posizione;
    campi["start_m"] = s.inizio;
    campi["end_m"] = s.fine;
    campi["time"] = orario(s.orario);
  } else if (ruolo == "text board") {
    campi["text"] = utf8(s.nome);
  } else if (const NumeriVoce* numeri = numeri_voce(i)) {
    for (const NumeroVoce& n : *numeri) campi[n.nome] = s.*n.campo;
  }
  if (i == kVoceScenario) {
    campi["scenario"] = utf8(s.nome);
    campi["check"] = s.d2a;
    campi["codice_gara_st"] = s.orario;
  } else if (i == kVoceTreno) {
    campi["train"] = utf8(s.nome);
    campi["sabbia"] = s.d2a;
    campi["clock"] = orologio(s.d1b, s.d2b, s.d3b);
  }
  Json r;
  r["index"] = i;
  r["role"] = ruolo;
  r["tipo"] = s.tipo;
  r["inizio"] = s.inizio;
  r["fine"] = s.fine;
  r["posizione"] = s.posizione;
  r["tps"] = s.tps;
  r["nome"] = utf8(s.nome);
  r["d2a"] = s.d2a;
  r["d3a"] = s.d3a;
  r["d1b"] = s.d1b;
  r["d2b"] = s.d2b;
  r["d3b"] = s.d3b;
  r["rap"] = s.rap;
  r["ac"] = s.ac;
  r["mar"] = s.mar;
  r["tab"] = s.tab;
  r["orario"] = s.orario;
  r["fields"] = campi;
  return r;
}

Json descrivi_riga(const std::vector<valore>& linea, size_t r) {
  const size_t righe = linea.size() / 2;
  Json j;
  j["m"] = r;
  j["x"] = valore_json(linea[r]);
  j["y"] = valore_json(linea[righe + r]);
  return j;
}

void scrivi_record(std::ostream& out, Formato formato, const std::string& file, TipoFile tipo,
                   const std::vector<Json>& record) {
  if (formato == Formato::kJson) {
    Json doc;
    doc["file"] = file;
    doc["table"] = nome_tipo_file(tipo);
    doc["count"] = record.size();
    doc["records"] = record;
    out << doc.dump(1) << '\n';
    return;
  }
  std::vector<std::string> chiavi;
  if (!record.empty())
    for (const auto& [k, v] : record.front().items()) chiavi.push_back(k);
  if (formato == Formato::kCsv) {
    for (size_t k = 0; k < chiavi.size(); ++k) out << (k ? "," : "") << csv(chiavi[k]);
    out << '\n';
    for (const Json& r : record) {
      for (size_t k = 0; k < chiavi.size(); ++k)
        out << (k ? "," : "") << csv(cella_testo(r[chiavi[k]]));
      out << '\n';
    }
    return;
  }
  // Aligned table: numbers to the right, texts to the left, the last column
  // (the named fields) as long as it needs.
  std::vector<std::vector<std::string>> celle;
  std::vector<size_t> largo(chiavi.size());
  std::vector<bool> numero(chiavi.size(), true);
  for (size_t k = 0; k < chiavi.size(); ++k) largo[k] = chiavi[k].size();
  celle.reserve(record.size());
  for (const Json& r : record) {
    std::vector<std::string> riga;
    for (size_t k = 0; k < chiavi.size(); ++k) {
      const Json& v = r[chiavi[k]];
      riga.push_back(cella_testo(v));
      largo[k] = std::max(largo[k], larghezza(riga.back()));
      if (!v.is_number() && !v.is_null()) numero[k] = false;
    }
    celle.push_back(std::move(riga));
  }
  out << "# " << file << ": " << nome_tipo_file(tipo) << ", " << record.size() << " records\n";
  auto scrivi = [&](const std::vector<std::string>& riga) {
    std::string linea;
    for (size_t k = 0; k < riga.size(); ++k) {
      const std::string pad(largo[k] - larghezza(riga[k]), ' ');
      if (k) linea += "  ";
      if (k + 1 == riga.size() && !numero[k])
        linea += riga[k];
      else
        linea += numero[k] ? pad + riga[k] : riga[k] + pad;
    }
    while (!linea.empty() && linea.back() == ' ') linea.pop_back();
    out << linea << '\n';
  };
  scrivi(chiavi);
  for (const auto& riga : celle) scrivi(riga);
}

std::string in_riga(const Json& record) {
  std::string s;
  for (const auto& [k, v] : record.items()) {
    if (!s.empty()) s += ' ';
    if (v.is_object())
      s += k + "={" + cella_testo(v) + "}";
    else
      s += k + "=" + (v.is_string() ? "\"" + v.get<std::string>() + "\"" : cella_testo(v));
  }
  return s;
}
