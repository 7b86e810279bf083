// The live preview: the data its page receives (features with their values
// decoded and the rows that placed them), the page itself, the watch
// server's refusals, and the static plot's slow-downs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "support/temp_dir.h"
#include "supporto/compila_memoria.h"
#include "tool/anteprima/dati_pagina.h"
#include "tool/anteprima/pagina.h"
#include "tool/anteprima/provenienze.h"
#include "tool/anteprima/server.h"
#include "tool/ispezione/descrizione.h"
#include "tool/ispezione/plot.h"

#ifndef _WIN32
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

std::string Dati(const char *nome) {
  return ReadFileBytes(std::string(SB_SOURCE_DIR) + "/tests/data/rallentamenti/" + nome);
}

// The check of the small scenario with a slow-down nested in another.
std::unique_ptr<Analisi> Annidati() {
  return analizza("X_linea.txt", Dati("linea.txt"), "X_5-.txt", Dati("treno.txt"), "X", "5", 1);
}

std::unique_ptr<Analisi> Incorporato() {
  return analizza("L_linea.txt", SorgenteLineaIncorporata(), "L_1-.txt", SorgenteTrenoIncorporata(),
                  "Lavrano_Cestelle", "58121", 1);
}

// The source row a feature of the page names, as "file:line: text".
std::string Riga(const JsonPagina &d, const JsonPagina &e) {
  const int r = e["r"].get<int>();
  if (r < 0) return "";
  const JsonPagina &x = d["righe"][static_cast<size_t>(r)];
  return x[0].get<std::string>() + ":" + std::to_string(x[1].get<int>()) + ": " +
         x[2].get<std::string>();
}

const JsonPagina *Primo(const JsonPagina &d, const std::string &tipo) {
  for (const JsonPagina &e : d["elementi"])
    if (e["k"] == tipo) return &e;
  return nullptr;
}

TEST(AnteprimaTest, NestedSlowDownsKeepTheirOwnEndsAndFoldIntoTheSpeed) {
  const auto a = Annidati();
  const JsonPagina d = disegno_pagina(*a);
  const JsonPagina &r = d["rallentamenti"];
  ASSERT_EQ(r.size(), 3u);
  // The outer one runs to its own end, 3000 + 1500 m (cell 91), the inner
  // one on a lane of its own.
  EXPECT_EQ(r[0]["da"], 61 * 50);
  EXPECT_EQ(r[0]["a"], 91 * 50);
  EXPECT_EQ(r[0]["v"], 30);
  EXPECT_EQ(Riga(d, r[0]), "X_5-.txt:7: rallentamento, 3000, 30, 1500, 2, 1, 25");
  EXPECT_EQ(r[1]["da"], 71 * 50);
  EXPECT_EQ(r[1]["a"], 77 * 50);
  EXPECT_NE(r[1]["corsia"], r[0]["corsia"]);
  // The effective speed is 30 km/h from the outer start to its end, the
  // limit (95, stored as 19 steps of 5) before it.
  std::map<int, int> eff;
  for (const JsonPagina &t : d["effettiva"]) eff[t[0].get<int>()] = t[2].get<int>();
  EXPECT_EQ(eff.at(61 * 50), 30);
  EXPECT_EQ(eff.at(92 * 50), 95);
  // Code cuts the finishing pass added are marked, with the row they were
  // added for.
  bool aggiunta = false;
  for (const JsonPagina &e : d["elementi"])
    if (e.contains("agg") && Riga(d, e).find("rallentamento, 7000") != std::string::npos)
      aggiunta = true;
  EXPECT_TRUE(aggiunta);
  // A signal's approach marks name the signal's row.
  const JsonPagina &m = d["avvisi"][0];
  EXPECT_NE(m["t"].get<std::string>().find("before the signal at km"), std::string::npos);
  EXPECT_EQ(Riga(d, m).rfind("X_5-.txt:14: segnale,    800", 0), 0u) << Riga(d, m);
}

TEST(AnteprimaTest, FeaturesOfTheBuiltInScenarioInTheAuthorsUnitsWithTheirRows) {
  const auto a = Incorporato();
  const JsonPagina d = disegno_pagina(*a);
  // Every occupied cell is one feature, of the kind `dump` names.
  std::map<std::string, int> griglia, pagina;
  const auto &celle = a->compilazione->tabelle.percorso;
  for (size_t i = 0; i < celle.size(); ++i)
    if (celle[i].tipo != 0) ++griglia[nome_tipo_cella(celle[i].tipo)];
  for (const JsonPagina &e : d["elementi"]) ++pagina[e["k"].get<std::string>()];
  EXPECT_EQ(pagina, griglia);
  EXPECT_EQ(pagina["signal"], 50);

  const JsonPagina *tabelle = Primo(d, "speed boards");
  ASSERT_NE(tabelle, nullptr);
  EXPECT_EQ((*tabelle)["t"],
            "speed boards (left/right): A 85/85 km/h, B 90/90 "
            "km/h, C 95/95 km/h, stripes 0/0");
  EXPECT_EQ(Riga(d, *tabelle).rfind("L_linea.txt:", 0), 0u);
  EXPECT_NE(Riga(d, *tabelle).find("indicatori_vmax,  1050, 85, 90, 95, 0, 85, 90, 95, 0"),
            std::string::npos);

  const JsonPagina *cartello = Primo(d, "text board");
  ASSERT_NE(cartello, nullptr);
  EXPECT_EQ((*cartello)["t"].get<std::string>().rfind("text board: ", 0), 0u);

  // Stations with their stretch, time and row; the kilometre changes.
  const JsonPagina &orvieto = d["stazioni"][11];
  EXPECT_EQ(orvieto["n"], "ORVIETO");
  EXPECT_EQ(orvieto["da"], 108150);
  EXPECT_EQ(orvieto["a"], 108750);
  EXPECT_EQ(orvieto["ora"], "18:31:00");
  EXPECT_NE(Riga(d, orvieto).find("stazione,  108450, 12,  600"), std::string::npos);
  ASSERT_EQ(d["progressive"].size(), 3u);
  EXPECT_EQ(d["progressive"][0]["m"], 135500);
  EXPECT_NE(Riga(d, d["progressive"][0]).find("progressiva chilometrica tre"), std::string::npos);

  // Stretches: the speed row at 1050 m gives 95 km/h from cell 21; the
  // adhesion is the second row at 0 (90).
  bool velocita = false;
  for (const JsonPagina &t : d["velocita"])
    if (t[0] == 21 * 50 && t[2] == 95)
      velocita = Riga(d, {{"r", t[3]}}).find("velocita,    1050,    95") != std::string::npos;
  EXPECT_TRUE(velocita);
  EXPECT_EQ(d["presa"][0][2], 90);
  EXPECT_NE(Riga(d, {{"r", d["presa"][0][3]}}).find("aderenza,       0,    90"), std::string::npos);
  EXPECT_FALSE(d["gallerie"].empty());
}

TEST(AnteprimaTest, PlanThinnedWithinItsToleranceEndsKept) {
  const auto a = Incorporato();
  const TabellaLinea &l = a->compilazione->tabelle.tabella_linea;
  const size_t righe = l.size() / 2;
  const std::vector<double> p = piano_sfoltito(l, righe, righe - 1, 1.0);
  ASSERT_GE(p.size(), 6u);
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[p.size() - 3],
            static_cast<double>(righe - 3));  // the last point there is
  EXPECT_LT(p.size() / 3, righe / 20);
  // Every row lies within the tolerance (and the rounding) of the line drawn.
  for (size_t k = 0; k + 3 < p.size(); k += 3)
    for (size_t r = static_cast<size_t>(p[k]); r < static_cast<size_t>(p[k + 3]); r += 97) {
      const double x = l[r].numero(), y = l[righe + r].numero();
      const double ax = p[k + 1], ay = p[k + 2], bx = p[k + 4], by = p[k + 5];
      const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
      const double u = l2 > 0 ? std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0) : 0;
      EXPECT_LT(std::hypot(x - ax - u * dx, y - ay - u * dy), 1.2) << r;
    }
}

TEST(AnteprimaTest, PageIsSelfContainedAndItsDataCannotEndTheScript) {
  JsonPagina d = dati_pagina(*Incorporato());
  d["disegno"]["titolo"] = "</script><script>alert(1)</script>";
  const std::string pagina = pagina_html(d, false);
  EXPECT_EQ(pagina.find("</script><script>alert"), std::string::npos);
  EXPECT_NE(pagina.find("\\u003c/script>\\u003cscript>alert"), std::string::npos);
  for (const char *esterno : {"src=", "href=", "http://", "https://", "@import"})
    EXPECT_EQ(pagina.find(esterno), std::string::npos) << esterno;
  EXPECT_EQ(pagina.find("/*DATI*/"), std::string::npos);
  EXPECT_EQ(pagina.find("/*CODICE*/"), std::string::npos);
}

TEST(AnteprimaTest, ErrorsReachThePageWithTheirRows) {
  std::string treno = Dati("treno.txt");
  treno.replace(treno.find("segnale,    1300"), 16,
                "segnale,    1250");  // onto a code cut
  const auto a = analizza("X_linea.txt", Dati("linea.txt"), "X_5-.txt", treno, "X", "5", 1);
  const JsonPagina g = diagnostica_pagina(*a);
  EXPECT_FALSE(g["pulita"].get<bool>());
  ASSERT_GE(g["errori"].get<int>(), 1);
  const JsonPagina &e = g["elenco"].back();
  EXPECT_EQ(e["file"], "X_5-.txt");
  EXPECT_GT(e["line"].get<int>(), 0);
  EXPECT_FALSE(e["message"].get<std::string>().empty());
}

TEST(AnteprimaTest, HostsAdmittedOnlyOnLoopbackAtTheServersPort) {
  EXPECT_TRUE(host_ammesso("127.0.0.1:8123", 8123));
  EXPECT_TRUE(host_ammesso("LOCALHOST:8123", 8123));
  EXPECT_TRUE(host_ammesso("[::1]:8123", 8123));
  EXPECT_TRUE(host_ammesso("localhost", 80));
  EXPECT_FALSE(host_ammesso("localhost", 8123));
  EXPECT_FALSE(host_ammesso("127.0.0.1:8124", 8123));
  EXPECT_FALSE(host_ammesso("evil.example:8123", 8123));
  EXPECT_FALSE(host_ammesso("localhost.evil.example:8123", 8123));
  EXPECT_FALSE(host_ammesso("127.0.0.1.evil:8123", 8123));
  EXPECT_FALSE(host_ammesso("", 8123));
}

#ifndef _WIN32

// One raw HTTP/1.1 exchange with the server at `porta`; the status code.
int Chiedi(int porta, const std::string &richiesta, std::string *risposta = nullptr) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(porta));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(s, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
    ::close(s);
    return -1;
  }
  (void)!::write(s, richiesta.data(), richiesta.size());
  std::string r;
  char b[4096];
  for (ssize_t n; (n = ::read(s, b, sizeof b)) > 0;) r.append(b, static_cast<size_t>(n));
  ::close(s);
  if (risposta != nullptr) *risposta = r;
  return r.size() > 12 ? std::stoi(r.substr(9, 3)) : -1;
}

std::string Get(const std::string &path, const std::string &host, const char *metodo = "GET") {
  return std::string(metodo) + " " + path + " HTTP/1.1\r\nHost: " + host +
         "\r\nConnection: close\r\n\r\n";
}

TEST(AnteprimaTest, WatchServerAnswersItsThreePathsAndRefusesTheRest) {
  ASSERT_TRUE(server_disponibile());
  std::string errore;
  std::unique_ptr<ServerAnteprima> s = avvia_server(0, &errore);
  ASSERT_NE(s, nullptr) << errore;
  s->pubblica("<!doctype html>pagina", "{\"versione\":1}", 1);
  const int p = s->porta();
  const std::string casa = "127.0.0.1:" + std::to_string(p);
  std::string r;
  EXPECT_EQ(Chiedi(p, Get("/", casa), &r), 200);
  EXPECT_NE(r.find("<!doctype html>pagina"), std::string::npos);
  EXPECT_EQ(Chiedi(p, Get("/dati", "localhost:" + std::to_string(p)), &r), 200);
  EXPECT_NE(r.find("{\"versione\":1}"), std::string::npos);
  // A name of another site pointed at this machine, and a wrong port.
  EXPECT_EQ(Chiedi(p, Get("/", "evil.example:" + std::to_string(p)), &r), 403);
  EXPECT_EQ(r.find("pagina"), std::string::npos);
  EXPECT_EQ(Chiedi(p, Get("/dati", "127.0.0.1:1")), 403);
  EXPECT_EQ(Chiedi(p, "GET / HTTP/1.0\r\n\r\n"), 403);
  // Nothing but the three paths, whatever the path asked.
  for (const char *altro :
       {"/etc/passwd", "/../../etc/passwd", "/index.html", "/dati/x", "/%2e%2e/"})
    EXPECT_EQ(Chiedi(p, Get(altro, casa)), 404) << altro;
  for (const char *metodo : {"POST", "PUT", "DELETE", "HEAD", "OPTIONS"})
    EXPECT_EQ(Chiedi(p, Get("/", casa, metodo)), 405) << metodo;
  s->ferma();
  EXPECT_EQ(Chiedi(p, Get("/", casa)), -1);
}

#endif  // _WIN32

TEST(PlotTest, NestedSlowDownDrawnToItsOwnEndWithTheRowInItsHoverText) {
  TempDir dir;
  for (const char *n :
       {"Lavrano_Cestelle_58121.dat", "Lavrano_Cestelle_58121.sim", "Lavrano_Cestelle_linea.dat"})
    WriteFileBytes(dir.path() / n, Dati(n));
  Scenario s;
  ASSERT_TRUE(carica_scenario(dir.path().string(), "", "", &s).ok());
  const std::string senza = disegna_scenario(s);
  EXPECT_NE(senza.find("<title>slow-down 30 km/h, km 3.050 to km 4.550"), std::string::npos);
  EXPECT_NE(senza.find("<title>slow-down 120 km/h, km 3.550 to km 3.850"), std::string::npos);

  const auto a = analizza("X_linea.txt", Dati("linea.txt"), "X_5-.txt", Dati("treno.txt"),
                          "Lavrano_Cestelle", "58121", 1);
  const Provenienze p = provenienze(*a);
  const std::string con = disegna_scenario(s, &p);
  EXPECT_NE(con.find("(cells 61 to 91)\nX_5-.txt:7: rallentamento, 3000, 30, "
                     "1500, 2, 1, 25</title>"),
            std::string::npos);
  // The two speeds stand on separate lanes, so their labels never meet.
  const size_t a30 = con.find(">30</text>"), a120 = con.find(">120</text>");
  ASSERT_NE(a30, std::string::npos);
  ASSERT_NE(a120, std::string::npos);
  auto y_di = [&](size_t fine) {
    const size_t y = con.rfind(" y=\"", fine);
    return std::stod(con.substr(y + 4));
  };
  EXPECT_GE(std::abs(y_di(a30) - y_di(a120)), 12);
}

}  // namespace
