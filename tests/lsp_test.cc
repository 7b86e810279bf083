// The language server through its message loop, as an editor drives it:
// framed bytes in, framed answers out.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "sources/windows1252.h"
#include "supporto/compila_memoria.h"
#include "support/temp_dir.h"
#include "support/trascrizione_lsp.h"
#include "tool/lsp/ciclo.h"
#include "tool/lsp/cornice.h"
#include "tool/lsp/uri.h"

namespace {

using nlohmann::json;

std::string Cornice(const json& j) { return incornicia(j.dump()); }

json Notifica(const std::string& metodo, json params) {
  return {{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(params)}};
}
json Richiesta(int id, const std::string& metodo, json params = json::object()) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", std::move(params)}};
}
json Apri(const std::string& uri, const std::string& testo) {
  return Notifica("textDocument/didOpen",
                  {{"textDocument",
                    {{"uri", uri}, {"languageId", "scenario"}, {"version", 1}, {"text", testo}}}});
}

// A session opened by initialize, closed by shutdown and exit.
std::string Sessione(const std::vector<json>& messaggi) {
  std::string s = Cornice(Richiesta(1000, "initialize", {{"capabilities", json::object()}}));
  s += Cornice(Notifica("initialized", json::object()));
  for (const json& m : messaggi) s += Cornice(m);
  s += Cornice(Richiesta(1001, "shutdown"));
  s += Cornice(Notifica("exit", nullptr));
  return s;
}

struct Esito {
  int stato = -1;
  std::vector<json> messaggi;
  // The last diagnostics published for `uri`.
  json diagnostiche(const std::string& uri) const {
    json d;
    for (const json& m : messaggi)
      if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri)
        d = m["params"]["diagnostics"];
    return d;
  }
  json risposta(int id) const {
    for (const json& m : messaggi)
      if (m.contains("id") && m["id"] == id) return m;
    return nullptr;
  }
};

// Runs the loop over `ingresso`, fed through `buf` when given (to split it).
Esito Esegui(const std::string& ingresso, std::streambuf* buf = nullptr) {
  std::istringstream testo(ingresso);
  std::istream in(buf != nullptr ? buf : testo.rdbuf());
  std::ostringstream out;
  Esito e;
  e.stato = servi_lsp(in, out);
  const std::string o = out.str();
  for (size_t i = 0; i < o.size();) {
    const size_t fine = o.find("\r\n\r\n", i);
    const size_t n = std::stoul(o.substr(i + 16, fine - i - 16));
    e.messaggi.push_back(json::parse(o.substr(fine + 4, n)));
    i = fine + 4 + n;
  }
  return e;
}

// A stream buffer that hands out one byte at a time, as a pipe may.
class UnByteAllaVolta : public std::streambuf {
 public:
  explicit UnByteAllaVolta(std::string s) : s_(std::move(s)) {}

 protected:
  int_type underflow() override {
    if (i_ >= s_.size()) return traits_type::eof();
    c_ = s_[i_++];
    setg(&c_, &c_, &c_ + 1);
    return traits_type::to_int_type(c_);
  }

 private:
  std::string s_;
  size_t i_ = 0;
  char c_ = 0;
};

const char kLinea[] = "file:///scenario/Lavrano_Cestelle_linea.txt";
const char kTreno[] = "file:///scenario/Lavrano_Cestelle_58121-.txt";

std::string Utf8(const std::string& b) { return DecodeWindows1252ToUtf8(b); }

TEST(LspTest, TrascrizioneSulleSorgentiIncorporate) {
  std::stringstream t;
  t << std::ifstream(SB_SOURCE_DIR "/tests/data/lsp/sessione.jsonl").rdbuf();
  const std::string ingresso = ingresso_trascrizione(t.str(), Utf8(SorgenteLineaIncorporata()),
                                                     Utf8(SorgenteTrenoIncorporata()));
  std::istringstream in(ingresso);
  std::ostringstream out;
  const int stato = servi_lsp(in, out);
  std::string errore;
  EXPECT_TRUE(verifica_trascrizione(t.str(), out.str(), stato, &errore)) << errore;
}

TEST(LspTest, CorniciSpezzateUniteEdErrate) {
  const std::string ok = Cornice(Richiesta(1, "initialize"));
  // Split: one byte at a time gives the same answer.
  UnByteAllaVolta spezzato(ok + Cornice(Notifica("exit", nullptr)));
  Esito e = Esegui("", &spezzato);
  ASSERT_EQ(e.messaggi.size(), 1u);
  EXPECT_TRUE(e.messaggi[0]["result"].contains("capabilities"));
  EXPECT_EQ(e.stato, 1);  // exit without shutdown

  // A length shorter than the body, a header without a length: each
  // answered -32700 (the short body's tail makes a header block of its
  // own), and the server lives on.
  const std::string corpo = Richiesta(2, "shutdown").dump();
  e = Esegui(ok + "Content-Length: 5\r\n\r\n" + corpo + "Content-Type: x\r\n\r\n" +
             Cornice(Richiesta(3, "shutdown")));
  int malformati = 0;
  for (const json& m : e.messaggi)
    if (m.contains("error") && m["error"]["code"] == -32700) ++malformati;
  EXPECT_EQ(malformati, 2);
  EXPECT_EQ(e.risposta(3)["result"], nullptr);

  // A body longer than the server takes in is skipped, never held, and the
  // next message read; a huge length the input never delivers ends it.
  std::istringstream lungo("Content-Length: 2000\r\n\r\n" + std::string(2000, ' ') +
                           Cornice(Richiesta(4, "x")) +
                           "Content-Length: 99999999999999999\r\n\r\n{");
  LettoreCornici l(lungo, 1000);
  std::string letto, errore;
  EXPECT_EQ(l.leggi(&letto, &errore), LettoreCornici::Esito::kMalformato);
  EXPECT_EQ(l.leggi(&letto, &errore), LettoreCornici::Esito::kMessaggio);
  EXPECT_EQ(json::parse(letto)["id"], 4);
  EXPECT_EQ(l.leggi(&letto, &errore), LettoreCornici::Esito::kFine);
  // The tail of the short body carried the header of the next message on.
  e = Esegui(ok + "Content-Length: 5\r\n\r\n" + corpo + Cornice(Richiesta(3, "shutdown")) +
             Cornice(Notifica("exit", nullptr)));
  EXPECT_EQ(e.risposta(3)["result"], nullptr);
  EXPECT_EQ(e.stato, 0);
}

TEST(LspTest, CicloDiVita) {
  // Before initialize a request is refused; unknown methods and invalid
  // messages are answered and the server lives on.
  std::string s = Cornice(Richiesta(1, "textDocument/hover"));
  s += Sessione({Richiesta(2, "nessuno/metodo"),
                 json::array({1, 2}),
                 {{"jsonrpc", "2.0"}, {"id", 3}, {"method", 7}}});
  Esito e = Esegui(s);
  EXPECT_EQ(e.risposta(1)["error"]["code"], -32002);
  EXPECT_EQ(e.risposta(2)["error"]["code"], -32601);
  EXPECT_EQ(e.risposta(3)["error"]["code"], -32600);
  EXPECT_EQ(e.risposta(1001)["result"], nullptr);
  EXPECT_EQ(e.stato, 0);

  // A request cancelled while it waits is answered as cancelled.
  e = Esegui(Sessione({Richiesta(4, "nessuno/metodo"), Notifica("$/cancelRequest", {{"id", 4}})}));
  EXPECT_EQ(e.risposta(4)["error"]["code"], -32800);
}

TEST(LspTest, LettereAccentateNonSpostanoLeColonne) {
  // "è" is one Windows-1252 byte, the emoji (outside the code page) two
  // UTF-16 units held as two "?": the field ends at unit 10 either way.
  std::string linea = Utf8(SorgenteLineaIncorporata());
  const size_t p = linea.find("pendenza  , 950");
  linea.replace(p, 10, "p\xC3\xA8nd\xF0\x9F\x98\x80nza ");
  Esito e = Esegui(Sessione({Apri(kLinea, linea), Apri(kTreno, Utf8(SorgenteTrenoIncorporata()))}));
  const json d = e.diagnostiche(kLinea);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d[0]["range"]["start"], json({{"line", 11}, {"character", 0}})) << d.dump();
  EXPECT_EQ(d[0]["range"]["end"], json({{"line", 11}, {"character", 9}}));

  // An edit after the accented letters lands on the bytes it names: the
  // row mended, nothing is left to say.
  json cambio =
      Notifica("textDocument/didChange", {{"textDocument", {{"uri", kLinea}, {"version", 2}}},
                                          {"contentChanges",
                                           {{{"range",
                                              {{"start", {{"line", 11}, {"character", 1}}},
                                               {"end", {{"line", 11}, {"character", 6}}}}},
                                             {"text", "ende"}}}}});
  e = Esegui(
      Sessione({Apri(kLinea, linea), Apri(kTreno, Utf8(SorgenteTrenoIncorporata())), cambio}));
  for (const json& x : e.diagnostiche(kLinea)) EXPECT_NE(x["range"]["start"]["line"], 11);
}

TEST(LspTest, CoppieDiSorgentiSulDisco) {
  TempDir dir;
  WriteFileBytes(dir.path() / "Lavrano_Cestelle_linea.txt", SorgenteLineaIncorporata());
  const std::string treno = uri_da_percorso((dir.path() / "Lavrano_Cestelle_58121-.txt").string());
  const std::string linea = uri_da_percorso((dir.path() / "Lavrano_Cestelle_linea.txt").string());
  // The train open, the line on disk: a signal on the text board's cell is
  // code 16 on the train; the line is published too, clean.
  Esito e = Esegui(Sessione({Apri(
      treno, Utf8(SorgenteTrenoIncorporata()) + "segnale, 6800, 2, 4, 1, 1, 0, 2, 2,1,1, 0\r\n")}));
  const json d = e.diagnostiche(treno);
  ASSERT_FALSE(d.empty());
  EXPECT_EQ(d.back()["code"], 16) << d.dump();
  EXPECT_EQ(d.back()["severity"], 1);
  ASSERT_TRUE(e.diagnostiche(linea).is_array());
  for (const json& x : e.diagnostiche(linea)) EXPECT_EQ(x["severity"], 2);

  // Another train without its line beside it: one diagnostic naming it.
  const std::string solo = uri_da_percorso((dir.path() / "Altro_9-.txt").string());
  e = Esegui(Sessione({Apri(solo, "[generale]\r\n")}));
  ASSERT_EQ(e.diagnostiche(solo).size(), 1u);
  EXPECT_NE(e.diagnostiche(solo)[0]["message"].get<std::string>().find("\"Altro_linea.txt\""),
            std::string::npos);
}

TEST(LspTest, SchemaSuggerimentiEFormattazione) {
  std::string linea = Utf8(SorgenteLineaIncorporata());
  // A keyword with a letter the code page lacks, two UTF-16 units.
  const size_t p = linea.find("cartello indicatore,  6200");
  linea.insert(p + 8, "\xF0\x9F\x98\x80");
  auto doc = [](const char* uri) { return json{{"uri", uri}}; };
  auto pos = [](int riga, int car) { return json{{"line", riga}, {"character", car}}; };
  const Esito e = Esegui(
      Sessione({Apri(kLinea, linea), Apri(kTreno, Utf8(SorgenteTrenoIncorporata())),
                Richiesta(10, "textDocument/documentSymbol", {{"textDocument", doc(kTreno)}}),
                Richiesta(11, "textDocument/inlayHint",
                          {{"textDocument", doc(kLinea)},
                           {"range", {{"start", pos(11, 0)}, {"end", pos(12, 0)}}}}),
                Richiesta(12, "textDocument/formatting",
                          {{"textDocument", doc(kLinea)},
                           {"options", {{"tabSize", 4}, {"insertSpaces", true}}}}),
                Richiesta(13, "textDocument/documentSymbol",
                          {{"textDocument", doc("file:///altro.txt")}})}));

  // The outline: the sections in order, stations by name, signals by km.
  const json simboli = e.risposta(10)["result"];
  ASSERT_EQ(simboli.size(), 8u) << simboli.dump();
  EXPECT_EQ(simboli[0]["name"], "[generale]");
  const json& stazioni = simboli[4];
  EXPECT_EQ(stazioni["name"], "[stazioni]");
  EXPECT_EQ(stazioni["range"]["start"], pos(24, 0));
  ASSERT_EQ(stazioni["children"].size(), 20u);
  const json& orvieto = stazioni["children"][11];
  EXPECT_EQ(orvieto["name"], "ORVIETO");
  EXPECT_EQ(orvieto["detail"], "station");
  EXPECT_EQ(orvieto["selectionRange"]["start"]["line"], 39);
  EXPECT_EQ(simboli[5]["children"][0]["name"], "km 1.10");

  // The hints of the one row asked about: the gradient's position only.
  const json hint = e.risposta(11)["result"];
  ASSERT_EQ(hint.size(), 1u) << hint.dump();
  EXPECT_EQ(hint[0]["label"], "cell 19 \u00b7 km 0.95");
  EXPECT_EQ(hint[0]["position"], pos(11, 15));

  // Formatting: edits of blanks only, so the letter the code page lacks
  // stays as typed; the first starts after it, where the client counts.
  const json modifiche = e.risposta(12)["result"];
  ASSERT_FALSE(modifiche.empty());
  std::vector<json> riga;
  for (const json& m : modifiche) {
    EXPECT_EQ(m["newText"].get<std::string>().find_first_not_of(' '), std::string::npos);
    if (m["range"]["start"]["line"] == 214) riga.push_back(m);
  }
  ASSERT_FALSE(riga.empty());
  EXPECT_EQ(riga[0]["range"]["start"], pos(214, 22));
  // A document not open: nothing to say.
  EXPECT_EQ(e.risposta(13)["result"], nullptr);
}

}  // namespace
