// The language server's conversions at its edge with the editor: "file:"
// URIs and paths, the client's UTF-8 text and UTF-16 positions against the
// Windows-1252 bytes the compiler reads, and JSON-RPC bodies and errors.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>

#include "tool/lsp/rpc.h"
#include "tool/lsp/testo.h"
#include "tool/lsp/uri.h"

namespace {

using nlohmann::json;

TEST(LspProtocolloTest, UriDiFileEPercorsi) {
  struct Caso {
    const char* uri;
    std::optional<std::string> percorso;
  } casi[] = {
      {"file:///home/a%20b/X_linea.txt", "/home/a b/X_linea.txt"},
      {"FILE:///x", "/x"},  // the scheme in any case
      {"file://localhost/x", "/x"},
      {"file:///%C3%A8%c3%a8", "/\xC3\xA8\xC3\xA8"},  // escapes in either case
      {"file:///x%41", "/xA"},                        // an escape ending the URI
      {"file:///a%zz%4", "/a%zz%4"},                  // not escapes: kept as they stand
      {"file:///x.txt?v=1#L3", "/x.txt"},             // query and fragment are no part of it
      {"file:///a%3Fb%23c", "/a?b#c"},
      {"file://server/share/x", std::nullopt},  // another host's file
      {"untitled:Untitled-1", std::nullopt},
      {"file:", std::nullopt},
      {"file://", std::nullopt},
      {"file:///a%00b", std::nullopt},  // no path holds a NUL
#ifdef _WIN32
      {"file:///c%3A/Users/x", "c:/Users/x"},
#else
      {"file:///c%3A/Users/x", "/c:/Users/x"},
#endif
  };
  for (const Caso& c : casi) EXPECT_EQ(percorso_da_uri(c.uri), c.percorso) << c.uri;

  EXPECT_EQ(uri_da_percorso("/home/a b/\xC3\xA8.txt"), "file:///home/a%20b/%C3%A8.txt");
  EXPECT_EQ(uri_da_percorso("C:\\Users\\x y\\a.txt"), "file:///C%3A/Users/x%20y/a.txt");
  // What the server names a file by leads back to that file, whatever
  // characters its name holds.
  for (const char* p : {"/a#b/c?d/%41 e+f", "/s/\xC3\xA8_linea.txt", "/a;b/c=d&e"})
    EXPECT_EQ(percorso_da_uri(uri_da_percorso(p)), p) << p;
}

TEST(LspProtocolloTest, TestoDelClienteInWindows1252) {
  struct Caso {
    const char* utf8;
    const char* byte;
  } casi[] = {
      {"a\xC3\xA8z", "a\xE8z"},      // è
      {"\xE2\x82\xAC", "\x80"},      // € lies in 80-9F
      {"\xD0\x96", "?"},             // a letter the code page lacks
      {"\xF0\x9F\x98\x80.", "??."},  // a surrogate pair: two units
      {"\x80x", "?x"},               // a lone continuation byte
      {"\xC3", "?"},                 // cut short at the end
      {"\xC3(", "?("},               // cut short by another character
      {"\xF8\x80\x80", "???"},       // no lead byte announces five bytes
      {"\xC0\x80", "??"},            // an overlong NUL
      {"\xE0\x80\x80", "???"},       // the same, three bytes long
      {"\xF0\x80\x80\x80", "????"},  // and four
      {"\xED\xA0\x80", "???"},       // a surrogate on its own
      {"\xF4\x90\x80\x80", "????"},  // past the last code point
      {"\xF4\x8F\xBF\xBF", "??"},    // the last code point
  };
  for (const Caso& c : casi)
    EXPECT_EQ(in_1252(c.utf8), std::string(c.byte)) << testing::PrintToString(c.utf8);
}

TEST(LspProtocolloTest, PosizioniEOffset) {
  // Lines "ab", "cd", "e", "f": ended by CR LF, a lone CR, a lone LF.
  const std::string t = "ab\r\ncd\re\nf";
  struct Caso {
    Posizione p;
    size_t offset;
  } casi[] = {
      {{0, 0}, 0},   {{1, 1}, 5},  {{2, 0}, 7},
      {{3, 0}, 9},   {{0, 99}, 2},  // past the line's end: before its CR LF
      {{2, 5}, 8},                  // before its LF
      {{3, 5}, 10},                 // the last line: the end of the text
      {{9, 0}, 10},                 // past the last line
      {{-1, -1}, 0}, {{1, -3}, 4},
  };
  for (const Caso& c : casi)
    EXPECT_EQ(offset_di(t, c.p), c.offset) << c.p.riga << ":" << c.p.carattere;

  auto posizione = [&](size_t o) {
    const Posizione p = posizione_di(t, o);
    return std::to_string(p.riga) + ":" + std::to_string(p.carattere);
  };
  EXPECT_EQ(posizione(5), "1:1");
  EXPECT_EQ(posizione(3), "0:2");  // between CR and LF: the end of the line they close
  EXPECT_EQ(posizione(7), "2:0");
  EXPECT_EQ(posizione(99), "3:1");
  for (size_t o = 0; o <= t.size(); ++o) {
    if (o == 3) continue;
    EXPECT_EQ(offset_di(t, posizione_di(t, o)), o) << o;
  }
  EXPECT_EQ(offset_di("", {4, 4}), 0u);
}

TEST(LspProtocolloTest, MessaggiInvalidiERisposteDiErrore) {
  struct Caso {
    const char* corpo;
    int codice;
    json id;  // what the error answer carries
  } casi[] = {
      {"{", rpc::kErroreSintassi, nullptr},
      {"[1]", rpc::kRichiestaInvalida, nullptr},
      {R"({"jsonrpc":"2.0","id":1.5,"method":"m"})", rpc::kRichiestaInvalida, nullptr},
      {R"({"id":7,"method":"m"})", rpc::kRichiestaInvalida, 7},
      {R"({"jsonrpc":"1.0","id":"x","method":"m"})", rpc::kRichiestaInvalida, "x"},
      {R"({"jsonrpc":"2.0","id":7,"method":3})", rpc::kRichiestaInvalida, 7},
      {R"({"jsonrpc":"2.0","id":7})", rpc::kRichiestaInvalida, 7},
      {R"({"jsonrpc":"2.0","params":{}})", rpc::kRichiestaInvalida, nullptr},
  };
  for (const Caso& c : casi) {
    Messaggio m;
    int codice = 0;
    std::string perche;
    json id = "prima";
    EXPECT_FALSE(interpreta(c.corpo, &m, &codice, &perche, &id)) << c.corpo;
    EXPECT_EQ(codice, c.codice) << c.corpo;
    EXPECT_EQ(id, c.id) << c.corpo;
    EXPECT_FALSE(perche.empty());
  }

  Messaggio m;
  int codice = 0;
  std::string perche;
  json id;
  ASSERT_TRUE(interpreta(R"({"jsonrpc":"2.0","id":3,"result":null})", &m, &codice, &perche, &id));
  EXPECT_EQ(m.tipo, Messaggio::Tipo::kRisposta);
  EXPECT_EQ(m.id, 3);
  ASSERT_TRUE(interpreta(R"({"jsonrpc":"2.0","method":"n"})", &m, &codice, &perche, &id));
  EXPECT_EQ(m.tipo, Messaggio::Tipo::kNotifica);
  EXPECT_TRUE(m.parametri.is_null());

  TabellaMetodi t;
  t.richiesta("vuole_x", [](const json& p) { return Esito{p.at("x"), 0, ""}; });
  t.richiesta("si_rompe", [](const json&) -> Esito { throw std::runtime_error("guasto"); });
  t.richiesta("rifiuta",
              [](const json&) { return Esito::errore(rpc::kRichiestaAnnullata, "annullata"); });
  bool chiamata = false;
  t.notifica("n", [&](const json& p) {
    chiamata = true;
    (void)p.at("x");
  });
  auto risposta = [&](const char* metodo, json parametri) {
    Messaggio r;
    r.tipo = Messaggio::Tipo::kRichiesta;
    r.id = 9;
    r.metodo = metodo;
    r.parametri = std::move(parametri);
    return json::parse(t.rispondi(r));
  };
  EXPECT_EQ(risposta("vuole_x", {{"x", 4}})["result"], 4);
  const json senza = risposta("vuole_x", json::object());
  EXPECT_EQ(senza["id"], 9);
  EXPECT_EQ(senza["error"]["code"], rpc::kParametriInvalidi);
  EXPECT_EQ(senza["error"]["message"].get<std::string>().rfind("parameters of \"vuole_x\": ", 0),
            0u);
  EXPECT_EQ(risposta("si_rompe", nullptr)["error"],
            json({{"code", rpc::kErroreInterno}, {"message", "guasto"}}));
  EXPECT_EQ(risposta("rifiuta", nullptr)["error"]["code"], rpc::kRichiestaAnnullata);
  EXPECT_EQ(risposta("altro", nullptr)["error"]["code"], rpc::kMetodoSconosciuto);

  // A notification's handler that fails, and one nobody handles, are let go.
  Messaggio n;
  n.metodo = "n";
  t.notifica(n);
  EXPECT_TRUE(chiamata);
  n.metodo = "nessuno";
  t.notifica(n);

  // A text from the client that is not UTF-8 goes back mended, never
  // stopping the answer.
  const json e = json::parse(corpo_errore("\xFF", rpc::kMetodoSconosciuto, "metodo \xFF"));
  EXPECT_EQ(e["error"]["message"], "metodo \xEF\xBF\xBD");
  EXPECT_EQ(e["id"], "\xEF\xBF\xBD");
}

}  // namespace
