#include "tool/ispezione/plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "sources/windows1252.h"
#include "tool/ispezione/descrizione.h"
#include "tool/ispezione/elementi.h"
#include "tool/stato_uscita.h"

namespace {

// Picture geometry, in SVG user units (pixels at 100 %).
constexpr double kLarghezza = 1400;
constexpr double kSinistra = 130;  // room for the row labels
constexpr double kDestra = 30;
constexpr double kAreaLarga = kLarghezza - kSinistra - kDestra;
constexpr double kPianoAltoMassimo = 720;

// Colours of the tunnel styles (montagna 1, 2, 3, any other).
const char *colore_galleria(int stile) {
  switch (stile) {
    case 1:
      return "#8c6d46";
    case 2:
      return "#5b4636";
    case 3:
      return "#b5651d";
    default:
      return "#777777";
  }
}

std::string num(double v) {
  char b[32];
  std::snprintf(b, sizeof b, "%.1f", v);
  std::string s = b;
  if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
  return s == "-0" ? "0" : s;
}

std::string xml(const std::string &testo) {
  std::string s;
  for (char c : testo) {
    switch (c) {
      case '&':
        s += "&amp;";
        break;
      case '<':
        s += "&lt;";
        break;
      case '>':
        s += "&gt;";
        break;
      case '"':
        s += "&quot;";
        break;
      default:
        // Control characters are not allowed in XML 1.0 text.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n')
          s += ' ';
        else
          s += c;
    }
  }
  return s;
}

std::string utf8(const std::string &testo) { return xml(DecodeWindows1252ToUtf8(testo)); }

// A round step for axis ticks: 1, 2 or 5 times a power of ten, near `grezzo`.
double passo_tondo(double grezzo) {
  if (!(grezzo > 0)) return 1;
  const double p = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (double m : {1.0, 2.0, 5.0})
    if (grezzo <= m * p) return m * p;
  return 10 * p;
}

// The last cells of a grid carry no stretch values (the readers stop a few
// cells short of its end): speed, gradient byte and adhesion all 0.
bool senza_valori(const cella &c) { return c.velocita == 0 && c.pendenza == 0 && c.aderenza == 0; }

// A run of consecutive cells with the same value of one field.
struct Tratto {
  size_t da, a;  // cells da to a - 1
  int valore;
};

template <typename F>
std::vector<Tratto> tratti(const std::vector<cella> &celle, F campo) {
  std::vector<Tratto> t;
  for (size_t i = 0; i < celle.size(); ++i) {
    const int v = campo(celle[i]);
    if (!t.empty() && t.back().valore == v && t.back().a == i)
      t.back().a = i + 1;
    else
      t.push_back({i, i + 1, v});
  }
  return t;
}

class Disegno {
 public:
  Disegno(const Scenario &s, const Provenienze *p) : s_(s), p_(p) {
    estensione_m_ = static_cast<double>(s.percorso.size()) * 50.0;
  }

  std::string svg() {
    double y = Titolo();
    y = s_.ha_linea ? Piano(y) : SenzaPiano(y);
    y = Profilo(y + 30);
    std::string testa;
    testa += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    testa += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(kLarghezza) +
             "\" height=\"" + num(y) + "\" viewBox=\"0 0 " + num(kLarghezza) + " " + num(y) +
             "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    testa += "<title>" + Titolo1() + "</title>\n";
    testa +=
        "<style>text{fill:#222}.small{font-size:10px}.label{font-size:"
        "12px;fill:#444}"
        ".halo{paint-order:stroke;stroke:#fff;stroke-width:3px;stroke-"
        "linejoin:round}"
        "</style>\n";
    testa += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    return testa + corpo_ + "</svg>\n";
  }

 private:
  // X of a position along the line (metres) on the shared profile axis.
  double X(double m) const { return kSinistra + m / estensione_m_ * kAreaLarga; }

  void Testo(double x, double y, const std::string &t, const std::string &extra = "") {
    corpo_ += "<text x=\"" + num(x) + "\" y=\"" + num(y) + "\"" + (extra.empty() ? "" : " ") +
              extra + ">" + t + "</text>\n";
  }
  void Linea(double x1, double y1, double x2, double y2, const std::string &stile) {
    corpo_ += "<line x1=\"" + num(x1) + "\" y1=\"" + num(y1) + "\" x2=\"" + num(x2) + "\" y2=\"" +
              num(y2) + "\" " + stile + "/>\n";
  }
  void Rett(double x, double y, double w, double h, const std::string &stile,
            const std::string &titolo = "") {
    corpo_ += "<rect x=\"" + num(x) + "\" y=\"" + num(y) + "\" width=\"" + num(std::max(w, 0.0)) +
              "\" height=\"" + num(std::max(h, 0.0)) + "\" " + stile;
    corpo_ += titolo.empty() ? "/>\n" : "><title>" + titolo + "</title></rect>\n";
  }

  std::string Titolo1() const { return utf8(s_.nome) + " \xE2\x80\x94 train " + utf8(s_.numero); }

  double Titolo() {
    Testo(kSinistra, 34, Titolo1(), "font-size=\"24\" font-weight=\"bold\"");
    const record_stazione &e85 = s_.stazioni[kVoceScenario];
    const int16_t og = s_.percorso.size() > 1 ? s_.percorso[1].dato2 : int16_t{0};
    Testo(kSinistra, 58,
          "line length " + num(s_.lunghezza() / 1000.0) + " km \xC2\xB7 competition codes: og " +
              std::to_string(og) + ", st " + std::to_string(e85.orario) + " \xC2\xB7 " +
              std::to_string(s_.percorso.size()) + " cells of 50 m",
          "font-size=\"14\"");
    return 72;
  }

  double SenzaPiano(double y) {
    Rett(kSinistra, y + 10, kAreaLarga, 50, "fill=\"#fff4e0\" stroke=\"#d08c00\"");
    Testo(kSinistra + 14, y + 40,
          "No line table (" + utf8(s_.nome) +
              "_linea.dat is missing): the plan of the line is not drawn, only "
              "its profile.",
          "font-size=\"15\"");
    return y + 60;
  }

  // Point of row r of the line table, when both values are there.
  bool Punto(size_t r, double *x, double *y) const {
    if (r >= s_.righe()) return false;
    const valore &vx = s_.x(r);
    const valore &vy = s_.y(r);
    if (vx.codice == valore::kVuoto || vy.codice == valore::kVuoto) return false;
    *x = vx.numero();
    *y = vy.numero();
    return std::isfinite(*x) && std::isfinite(*y);
  }

  // The frame of the plan: its extent in metres and the scale that fits it
  // into the picture's width and the plan's greatest height.
  struct Riquadro {
    double minx, maxx, miny, maxy, scala, ox, oy, largo, alto;
    double px(double x) const { return ox + (x - minx) * scala; }
    double py(double y) const { return oy + (maxy - y) * scala; }
  };

  double Piano(double y0) {
    Riquadro q;
    if (!EstensionePiano(y0, &q)) {
      Testo(kSinistra, y0 + 30, "The line table holds no point: the plan is not drawn.");
      return y0 + 40;
    }
    Testo(kSinistra - 110, q.oy + 12, "plan of the line", "class=\"label\" font-weight=\"bold\"");
    Rett(q.ox, q.oy, q.largo, q.alto, "fill=\"#f7f9fb\" stroke=\"#b0b8c0\"");
    AssiPiano(q);
    NordEScala(q);
    BinarioPiano(q);
    ChilometriPiano(q);
    StazioniPiano(q);
    LegendaPiano(q);
    return q.oy + q.alto + 40;
  }

  // Extent of the plan: every row that has a point.
  bool EstensionePiano(double y0, Riquadro *q) const {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double minx = kInf, maxx = -kInf, miny = kInf, maxy = -kInf;
    for (size_t r = 0; r < s_.righe(); ++r) {
      double x, y;
      if (!Punto(r, &x, &y)) continue;
      minx = std::min(minx, x), maxx = std::max(maxx, x);
      miny = std::min(miny, y), maxy = std::max(maxy, y);
    }
    if (minx > maxx) return false;
    const double margine = 0.04 * std::max({maxx - minx, maxy - miny, 1000.0});
    minx -= margine, maxx += margine, miny -= margine, maxy += margine;
    const double scala = std::min(kAreaLarga / (maxx - minx), kPianoAltoMassimo / (maxy - miny));
    // The frame takes the whole width (the legend and the scale bar sit in
    // the room beside a line that runs mostly north or south).
    const double mezzo_x = (minx + maxx) / 2;
    *q = {mezzo_x - kAreaLarga / scala / 2,
          mezzo_x + kAreaLarga / scala / 2,
          miny,
          maxy,
          scala,
          kSinistra,
          y0 + 20,
          kAreaLarga,
          (maxy - miny) * scala};
    return true;
  }

  // Axes: east (x) along the bottom, north (y) up the left side, in km
  // from the start of the line.
  void AssiPiano(const Riquadro &q) {
    const double passo = passo_tondo((q.maxx - q.minx) / 8);
    // Ticks counted in whole steps from the first, so that no rounding
    // builds up along an axis.
    const double primo_x = std::ceil(q.minx / passo) * passo;
    for (int k = 0; primo_x + k * passo <= q.maxx; ++k) {
      const double v = primo_x + k * passo;
      Linea(q.px(v), q.oy, q.px(v), q.oy + q.alto, "stroke=\"#e3e7eb\"");
      Linea(q.px(v), q.oy + q.alto, q.px(v), q.oy + q.alto + 5, "stroke=\"#555\"");
      Testo(q.px(v), q.oy + q.alto + 17, num(v / 1000), "class=\"small\" text-anchor=\"middle\"");
    }
    const double primo_y = std::ceil(q.miny / passo) * passo;
    for (int k = 0; primo_y + k * passo <= q.maxy; ++k) {
      const double v = primo_y + k * passo;
      Linea(q.ox, q.py(v), q.ox + q.largo, q.py(v), "stroke=\"#e3e7eb\"");
      Linea(q.ox - 5, q.py(v), q.ox, q.py(v), "stroke=\"#555\"");
      Testo(q.ox - 8, q.py(v) + 3, num(v / 1000), "class=\"small\" text-anchor=\"end\"");
    }
    Testo(q.ox + q.largo / 2, q.oy + q.alto + 32, "east (km from the start)",
          "class=\"small\" text-anchor=\"middle\"");
    Testo(q.ox - 40, q.oy + q.alto / 2, "north (km)",
          "class=\"small\" text-anchor=\"middle\" transform=\"rotate(-90 " + num(q.ox - 40) + " " +
              num(q.oy + q.alto / 2) + ")\"");
  }

  // North arrow and scale bar.
  void NordEScala(const Riquadro &q) {
    const double nx = q.ox + q.largo - 28, ny = q.oy + 16;
    corpo_ += "<path d=\"M" + num(nx) + "," + num(ny) + " l8,22 l-8,-6 l-8,6 z\" fill=\"#333\"/>\n";
    Testo(nx, ny + 36, "N", "font-weight=\"bold\" text-anchor=\"middle\"");
    const double barra_m = passo_tondo((q.maxy - q.miny) / 10);
    const double bx = q.ox + 16, by = q.oy + q.alto - 18;
    Rett(bx, by - 4, barra_m * q.scala / 2, 4, "fill=\"#333\"");
    Rett(bx + barra_m * q.scala / 2, by - 4, barra_m * q.scala / 2, 4,
         "fill=\"#fff\" stroke=\"#333\" stroke-width=\"0.8\"");
    Testo(bx, by - 8, "0", "class=\"small\" text-anchor=\"middle\"");
    Testo(bx + barra_m * q.scala, by - 8, num(barra_m / 1000) + " km",
          "class=\"small\" text-anchor=\"middle\"");
  }

  // The track: a point every 50 m; the overrun beyond the end of the line
  // (the last 7 km of the table) thin and dashed.
  void BinarioPiano(const Riquadro &q) {
    const size_t fine = static_cast<size_t>(std::max<int32_t>(s_.lunghezza(), 0));
    auto polilinea = [&](size_t da, size_t a, const std::string &stile) {
      std::string punti;
      for (size_t r = da; r <= a && r < s_.righe(); r = (r == a ? a + 1 : std::min(r + 50, a))) {
        double x, y;
        if (Punto(r, &x, &y)) punti += num(q.px(x)) + "," + num(q.py(y)) + " ";
      }
      if (!punti.empty())
        corpo_ += "<polyline points=\"" + punti + "\" fill=\"none\" " + stile + "/>\n";
    };
    // Tunnels first, wide under the track, in the colour of their style.
    for (const Tratto &t : tratti(s_.percorso, [](const cella &c) { return int{c.montagna}; })) {
      if (t.valore == 0) continue;
      polilinea(t.da * 50, t.a * 50,
                std::string("class=\"tunnel-plan\" stroke=\"") + colore_galleria(t.valore) +
                    "\" stroke-width=\"7\" stroke-linecap=\"butt\"");
    }
    polilinea(0, fine, "stroke=\"#1f4e9c\" stroke-width=\"2\" stroke-linejoin=\"round\"");
    if (s_.righe() > fine + 1)
      polilinea(fine, s_.righe() - 1,
                "stroke=\"#1f4e9c\" stroke-width=\"1\" stroke-dasharray=\"4 3\"");
  }

  // Kilometre ticks every 10 km, across the track.
  void ChilometriPiano(const Riquadro &q) {
    const size_t fine = static_cast<size_t>(std::max<int32_t>(s_.lunghezza(), 0));
    for (size_t r = 10000; r <= fine; r += 10000) {
      double x, y, xa, ya, xb, yb;
      if (!Punto(r, &x, &y) || !Punto(r - 50, &xa, &ya) ||
          !Punto(std::min(r + 50, s_.righe() - 1), &xb, &yb))
        continue;
      double dx = xb - xa, dy = yb - ya;
      const double n = std::hypot(dx, dy);
      if (n == 0) continue;
      dx /= n, dy /= n;
      // Normal to the track in picture coordinates (y grows downwards).
      const double nxp = dy, nyp = dx;
      Linea(q.px(x) - 5 * nxp, q.py(y) - 5 * nyp, q.px(x) + 5 * nxp, q.py(y) + 5 * nyp,
            "stroke=\"#1f4e9c\" stroke-width=\"1.5\"");
      Testo(q.px(x) - 14 * nxp, q.py(y) - 14 * nyp + 3, std::to_string(r / 1000),
            "class=\"small halo\" text-anchor=\"middle\" fill=\"#1f4e9c\"");
    }
  }

  // Stations: filled where the train stops, open where it passes. Each
  // name goes to the first place beside its mark that no earlier name
  // covers.
  void StazioniPiano(const Riquadro &q) {
    std::vector<std::array<double, 4>> occupati;  // x0, y0, x1, y1 of names placed
    auto libero = [&](const std::array<double, 4> &b) {
      for (const auto &o : occupati)
        if (b[0] < o[2] && o[0] < b[2] && b[1] < o[3] && o[1] < b[3]) return false;
      return true;
    };
    for (size_t i = 1; i <= kPrimoCartello; ++i) {
      if (ruolo_stazione_(i) != "station") continue;
      const record_stazione &st = s_.stazioni[i];
      double x, y;
      if (st.posizione < 0 || !Punto(static_cast<size_t>(st.posizione), &x, &y)) continue;
      const bool ferma = st.tipo < 25;
      corpo_ += "<circle class=\"station-plan\" cx=\"" + num(q.px(x)) + "\" cy=\"" + num(q.py(y)) +
                "\" r=\"" + (ferma ? "4.5" : "3") + "\" fill=\"" + (ferma ? "#c0392b" : "#fff") +
                "\" stroke=\"#c0392b\" stroke-width=\"1.5\"><title>" + TitoloStazione(i) +
                "</title></circle>\n";
      const double w = static_cast<double>(st.nome.size()) * (ferma ? 7.6 : 6.0),
                   h = ferma ? 13 : 11;
      const double qx = q.px(x), qy = q.py(y);
      // Right, left, then a line lower or higher on either side.
      const double posti[][3] = {{qx + 8, qy + 4, 0},  {qx - 8, qy + 4, 1}, {qx + 8, qy + 16, 0},
                                 {qx - 8, qy + 16, 1}, {qx + 8, qy - 8, 0}, {qx - 8, qy - 8, 1},
                                 {qx + 8, qy + 28, 0}, {qx - 8, qy + 28, 1}};
      size_t scelto = 0;
      for (size_t k = 0; k < std::size(posti); ++k) {
        const double x0 = posti[k][2] != 0 ? posti[k][0] - w : posti[k][0];
        if (libero({x0, posti[k][1] - h + 2, x0 + w, posti[k][1] + 2})) {
          scelto = k;
          break;
        }
      }
      const double *p = posti[scelto];
      const double x0 = p[2] != 0 ? p[0] - w : p[0];
      occupati.push_back({x0, p[1] - h + 2, x0 + w, p[1] + 2});
      Testo(p[0], p[1], utf8(st.nome),
            std::string("class=\"halo station-name\" font-size=\"") + (ferma ? "12" : "10") + "\"" +
                (p[2] != 0 ? " text-anchor=\"end\"" : "") +
                (ferma ? " font-weight=\"bold\"" : " fill=\"#555\""));
    }
  }

  void LegendaPiano(const Riquadro &q) {
    double lx = q.ox + 16, ly = q.oy + 20;
    Linea(lx, ly, lx + 24, ly, "stroke=\"#1f4e9c\" stroke-width=\"2\"");
    Testo(lx + 30, ly + 4, "track", "class=\"small\"");
    for (int stile = 1; stile <= 3; ++stile) {
      ly += 15;
      Linea(lx, ly, lx + 24, ly,
            std::string("stroke=\"") + colore_galleria(stile) + "\" stroke-width=\"7\"");
      Testo(lx + 30, ly + 4, "tunnel, style " + std::to_string(stile), "class=\"small\"");
    }
    ly += 15;
    corpo_ +=
        "<circle cx=\"" + num(lx + 12) + "\" cy=\"" + num(ly) + "\" r=\"4.5\" fill=\"#c0392b\"/>\n";
    Testo(lx + 30, ly + 4, "station with a stop", "class=\"small\"");
    ly += 15;
    corpo_ += "<circle cx=\"" + num(lx + 12) + "\" cy=\"" + num(ly) +
              "\" r=\"3\" fill=\"#fff\" stroke=\"#c0392b\" stroke-width=\"1.5\"/>\n";
    Testo(lx + 30, ly + 4, "station passed", "class=\"small\"");
  }

  std::string ruolo_stazione_(size_t i) const { return ruolo_stazione(s_.stazioni, i); }

  // A hover text: what stands there, and the source row that placed it
  // when the sources were given.
  std::string Titolo(const std::string &cosa, const RigaSorgente *riga) const {
    return xml(riga != nullptr ? cosa + "\n" + cita_riga(*riga) : cosa);
  }
  std::string TitoloCella(size_t i) const {
    std::string t = testo_cella(s_.percorso, i, s_.stazioni) + "\n" + km(i * 50.0) + ", cell " +
                    std::to_string(i);
    const bool aggiunta = p_ != nullptr && i < p_->aggiunte.size() && p_->aggiunte[i];
    if (aggiunta) t += "\nadded by the finishing pass for the feature of the row below";
    return Titolo(t, p_ != nullptr ? p_->di(p_->celle, i) : nullptr);
  }
  std::string TitoloStazione(size_t i) const {
    const RigaSorgente *r = nullptr;
    if (p_ != nullptr && p_->stazioni[i] >= 0 &&
        static_cast<size_t>(p_->stazioni[i]) < p_->righe.size())
      r = &p_->righe[static_cast<size_t>(p_->stazioni[i])];
    return Titolo(testo_stazione(s_.stazioni, i), r);
  }

  // A horizontal chart frame with its label; returns nothing.
  // A chart with a scale on its left keeps its label inside, top left.
  void Cornice(double y, double alto, const std::string &etichetta, bool dentro = false) {
    Rett(kSinistra, y, kAreaLarga, alto, "fill=\"#fbfcfd\" stroke=\"#c8ced4\"");
    if (dentro)  // drawn last, over the chart
      sopra_ += "<text x=\"" + num(kSinistra + 6) + "\" y=\"" + num(y + 14) +
                "\" class=\"label halo\">" + etichetta + "</text>\n";
    else
      Testo(kSinistra - 10, y + alto / 2 + 4, etichetta, "class=\"label\" text-anchor=\"end\"");
  }

  // The charts and rows of the profile, top to bottom, and where each lies.
  struct Profilo_ {
    double inizio = 0;
    double y_v = 0, alto_v = 150, scala_v = 50;  // speed chart
    double y_g = 0, alto_g = 110, scala_g = 5;   // gradient chart
    double y_stazioni = 0;                       // the stations' row
    std::vector<cella> con_valori;               // the cells that carry stretch values
  };
  static constexpr double kAltoRiga = 22;

  double Profilo(double y) {
    Profilo_ f;
    f.inizio = y;
    Testo(kSinistra - 120, y - 8, "profile along the line", "class=\"label\" font-weight=\"bold\"");
    y = GraficoVelocita(y, &f);
    y = GraficoPendenza(y, &f);
    y = Gallerie(y, f);
    CurveVelocitaEPendenza(f);
    y += kAltoRiga + 4;
    y = RigheDiSegni(y, &f);
    const double asse = AsseKm(y, f);
    corpo_ += sopra_;
    return NomiStazioni(asse, f);
  }

  // Speed limit, a step line; the frame and its scale.
  double GraficoVelocita(double y, Profilo_ *f) {
    const std::vector<cella> &c = s_.percorso;
    int vmax = 0;
    for (const cella &x : c) vmax = std::max(vmax, x.velocita * 5);
    // Where the stretch values end (the charts stop there).
    size_t con_valori = c.size();
    while (con_valori > 0 && senza_valori(c[con_valori - 1])) --con_valori;
    f->con_valori.assign(c.begin(), c.begin() + static_cast<std::ptrdiff_t>(con_valori));
    f->scala_v = std::max(50.0, std::ceil(vmax / 50.0) * 50.0);
    Cornice(y, f->alto_v, "speed limit (km/h), and with the slow-downs", true);
    for (int k = 0; k * 50.0 <= f->scala_v; ++k) {
      const double v = k * 50.0;
      const double yy = y + f->alto_v - v / f->scala_v * f->alto_v;
      Linea(kSinistra, yy, kSinistra + kAreaLarga, yy, "stroke=\"#e3e7eb\"");
      Testo(kSinistra - 4, yy + 3, num(v), "class=\"small\" text-anchor=\"end\" fill=\"#888\"");
    }
    f->y_v = y;
    return y + f->alto_v + 14;
  }

  // Gradient, filled above and below zero: the frame and its scale.
  double GraficoPendenza(double y, Profilo_ *f) {
    int gmax = 5;
    for (const cella &x : f->con_valori) gmax = std::max(gmax, std::abs(x.pendenza - 100));
    f->scala_g = std::ceil(gmax / 5.0) * 5.0;
    Cornice(y, f->alto_g, "gradient (\xE2\x80\xB0)", true);
    const double zero = y + f->alto_g / 2;
    const double passo_g = passo_tondo(f->scala_g / 3);
    const double primo_g = -std::floor(f->scala_g / passo_g) * passo_g;
    for (int k = 0; primo_g + k * passo_g <= f->scala_g; ++k) {
      const double g = primo_g + k * passo_g;
      const double yy = zero - g / f->scala_g * (f->alto_g / 2);
      Linea(kSinistra, yy, kSinistra + kAreaLarga, yy,
            g == 0 ? "stroke=\"#999\"" : "stroke=\"#e3e7eb\"");
      Testo(kSinistra - 4, yy + 3, num(g), "class=\"small\" text-anchor=\"end\" fill=\"#888\"");
    }
    f->y_g = y;
    return y + f->alto_g + 14;
  }

  // Tunnels as bands: their own row, and a light band across both charts.
  double Gallerie(double y, const Profilo_ &f) {
    Cornice(y, kAltoRiga, "tunnels");
    const std::vector<cella> &c = s_.percorso;
    for (const Tratto &t : tratti(c, [](const cella &x) { return int{x.montagna}; })) {
      if (t.valore == 0) continue;
      const double x0 = X(t.da * 50.0), w = X(t.a * 50.0) - x0;
      const std::string colore = colore_galleria(t.valore);
      Rett(x0, f.y_v, w, f.y_g + f.alto_g - f.y_v, "fill=\"" + colore + "\" fill-opacity=\"0.12\"");
      const RigaSorgente *riga = p_ != nullptr ? p_->di(p_->montagna, t.da) : nullptr;
      Rett(x0, y + 4, std::max(w, 1.0), kAltoRiga - 8, "class=\"tunnel\" fill=\"" + colore + "\"",
           Titolo("tunnel style " + std::to_string(t.valore) + ", " + km(t.da * 50.0) + " to " +
                      km(t.a * 50.0),
                  riga));
    }
    return y;
  }

  // The charts' lines, on top of the tunnel bands: the speed limit and the
  // speed with the slow-downs folded in, the gradient's bars.
  void CurveVelocitaEPendenza(const Profilo_ &f) {
    auto gradini = [&](const std::vector<Tratto> &tt, const char *stile) {
      std::string d;
      for (const Tratto &t : tt) {
        const double yy = f.y_v + f.alto_v - t.valore / f.scala_v * f.alto_v;
        d += (d.empty() ? "M" : " L") + num(X(t.da * 50.0)) + "," + num(yy) + " L" +
             num(X(t.a * 50.0)) + "," + num(yy);
      }
      corpo_ += std::string("<path ") + stile + " d=\"" + d + "\" fill=\"none\"/>\n";
    };
    const std::vector<int> effettiva =
        velocita_effettiva(f.con_valori, rallentamenti(f.con_valori, p_));
    std::vector<Tratto> eff;
    for (size_t i = 0; i < effettiva.size(); ++i) {
      if (!eff.empty() && eff.back().valore == effettiva[i])
        eff.back().a = i + 1;
      else
        eff.push_back({i, i + 1, effettiva[i]});
    }
    gradini(eff, "class=\"effective-speed\" stroke=\"#e8590c\" stroke-width=\"3\"");
    gradini(tratti(f.con_valori, [](const cella &x) { return x.velocita * 5; }),
            "class=\"speed\" stroke=\"#1f4e9c\" stroke-width=\"1.5\"");
    const double zero = f.y_g + f.alto_g / 2;
    for (const Tratto &t : tratti(f.con_valori, [](const cella &x) { return x.pendenza - 100; })) {
      if (t.valore == 0) continue;
      const double h = std::abs(t.valore) / f.scala_g * (f.alto_g / 2);
      Rett(X(t.da * 50.0), t.valore > 0 ? zero - h : zero, X(t.a * 50.0) - X(t.da * 50.0), h,
           std::string("class=\"gradient\" fill=\"") + (t.valore > 0 ? "#d9822b" : "#3c9d5d") +
               "\"");
    }
    Testo(kSinistra + kAreaLarga - 4, f.y_g + 12, "above zero",
          "class=\"small\" text-anchor=\"end\" fill=\"#d9822b\"");
    Testo(kSinistra + kAreaLarga - 4, f.y_g + f.alto_g - 4, "below zero",
          "class=\"small\" text-anchor=\"end\" fill=\"#3c9d5d\"");
  }

  // Rows of markers, one kind of feature a row.
  double RigheDiSegni(double y, Profilo_ *f) {
    const std::vector<cella> &c = s_.percorso;
    auto riga = [&](const std::string &etichetta, uint8_t tipo, uint8_t altro = 0,
                    double alto = kAltoRiga) {
      Cornice(y, alto, etichetta);
      if (std::none_of(c.begin() + 2, c.end(), [&](const cella &x) {
            return x.tipo == tipo || (altro != 0 && x.tipo == altro);
          }))
        Testo(kSinistra + 8, y + 15, "none", "class=\"small\" fill=\"#999\"");
      const double yy = y;
      y += alto + 4;
      return yy;
    };
    double r = riga("signals", tipo_cella::kSegnale);
    for (size_t i = 2; i < c.size(); ++i)
      if (c[i].tipo == tipo_cella::kSegnale)
        corpo_ += "<path class=\"signal\" d=\"M" + num(X(i * 50.0)) + "," + num(r + 4) +
                  " l3.5,14 h-7 z\" fill=\"#2c3e50\"><title>" + TitoloCella(i) +
                  "</title></path>\n";

    r = riga("speed boards", tipo_cella::kIndicatoriVmax);
    for (size_t i = 2; i < c.size(); ++i)
      if (c[i].tipo == tipo_cella::kIndicatoriVmax)
        Rett(X(i * 50.0) - 3, r + 5, 6, 12, "class=\"speed-board\" fill=\"#7d3c98\"",
             TitoloCella(i));

    Rallentamenti(riga);

    r = riga("stations (stops)", tipo_cella::kFermata);
    for (size_t i = 1; i <= kPrimoCartello; ++i) {
      if (ruolo_stazione_(i) != "station") continue;
      const record_stazione &st = s_.stazioni[i];
      const double x0 = std::max(X(st.inizio), kSinistra);
      const double x1 = std::min(X(st.fine), kSinistra + kAreaLarga);
      Rett(x0, r + 7, x1 - x0, kAltoRiga - 14,
           "class=\"station-stretch\" fill=\"#c0392b\" fill-opacity=\"0.25\"", TitoloStazione(i));
    }
    for (size_t i = 2; i < c.size(); ++i)
      if (c[i].tipo == tipo_cella::kFermata)
        corpo_ += "<circle class=\"stop\" cx=\"" + num(X(i * 50.0)) + "\" cy=\"" +
                  num(r + kAltoRiga / 2) + "\" r=\"4\" fill=\"#c0392b\"><title>" + TitoloCella(i) +
                  "</title></circle>\n";
    f->y_stazioni = r;

    r = riga("approach marks", 0);
    for (size_t i = 2; i < c.size(); ++i) {
      if (c[i].avviso == 0) continue;
      size_t annunciata = c.size();
      const std::string t = testo_avviso(c, i, s_.stazioni, &annunciata) + "\n" + km(i * 50.0) +
                            ", cell " + std::to_string(i);
      Rett(X(i * 50.0) - 1, r + 5, 2, kAltoRiga - 10, "class=\"approach-mark\" fill=\"#8e2c20\"",
           Titolo(t, p_ != nullptr ? p_->di(p_->celle, annunciata) : nullptr));
    }

    r = riga("text boards", tipo_cella::kCartello);
    for (size_t i = 2; i < c.size(); ++i)
      if (c[i].tipo == tipo_cella::kCartello)
        Rett(X(i * 50.0) - 4, r + 6, 8, 10, "class=\"text-board\" fill=\"#16a085\"",
             TitoloCella(i));

    r = riga("code cuts", tipo_cella::kAbbattimento, tipo_cella::kAbbattimentoNullo);
    for (size_t i = 2; i < c.size(); ++i) {
      const bool valore = c[i].tipo == tipo_cella::kAbbattimento;
      if (!valore && c[i].tipo != tipo_cella::kAbbattimentoNullo) continue;
      corpo_ += "<path class=\"code-cut\" d=\"M" + num(X(i * 50.0) - 3) + "," + num(r + 6) +
                " l6,5 l-6,5 z\" fill=\"" + (valore ? "#34495e" : "#95a5a6") + "\"><title>" +
                TitoloCella(i) + "</title></path>\n";
    }
    return y;
  }

  // Slow-downs, each from its start to its own end (a slow-down inside
  // another keeps its own end, and so does the outer one), overlapping ones
  // on lanes of their own with their speed after their end.
  template <typename Riga>
  void Rallentamenti(Riga &riga) {
    const std::vector<cella> &c = s_.percorso;
    // A label's length in cells at this scale: "120" at 10 px a character.
    const double etichetta =
        30.0 / (kAreaLarga / static_cast<double>(std::max<size_t>(c.size(), 1)));
    const std::vector<Rallentamento> rr = rallentamenti(c, p_, etichetta);
    int corsie = 1;
    for (const Rallentamento &x : rr) corsie = std::max(corsie, x.corsia + 1);
    const double alto_corsia = 14;
    const double alto = std::max(kAltoRiga, 8 + corsie * alto_corsia);
    const double r = riga("slow-downs", tipo_cella::kInizioRallentamento,
                          tipo_cella::kAvvisoRallentamento, alto);
    for (size_t i = 2; i < c.size(); ++i)
      if (c[i].tipo == tipo_cella::kAvvisoRallentamento)
        corpo_ += "<line class=\"slow-down-warning\" x1=\"" + num(X(i * 50.0)) + "\" y1=\"" +
                  num(r + 3) + "\" x2=\"" + num(X(i * 50.0)) + "\" y2=\"" + num(r + alto - 3) +
                  "\" stroke=\"#e67e22\" stroke-width=\"2\"><title>" + TitoloCella(i) +
                  "</title></line>\n";
    for (const Rallentamento &x : rr) {
      const double x0 = X(x.inizio * 50.0), x1 = std::max(X(x.fine * 50.0), x0 + 3);
      const double yy = r + 4 + x.corsia * alto_corsia;
      std::string t = "slow-down " + std::to_string(x.velocita) + " km/h, " + km(x.inizio * 50.0) +
                      " to " + km(x.fine * 50.0) + " (cells " + std::to_string(x.inizio) + " to " +
                      std::to_string(x.fine) + ")";
      Rett(x0, yy + 1, x1 - x0, alto_corsia - 4, "class=\"slow-down\" fill=\"#e67e22\"",
           Titolo(t, p_ != nullptr ? p_->di(p_->celle, x.inizio) : nullptr));
      Testo(x1 + 3, yy + alto_corsia - 4, std::to_string(x.velocita),
            "class=\"small slow-down-speed\" fill=\"#b35900\"");
    }
  }

  // Shared km axis: a tick and a faint line every 10 km, the end of the
  // line marked. Returns the axis' height.
  double AsseKm(double y, const Profilo_ &f) {
    const double asse = y + 2;
    for (int k = 0; k * 10000.0 <= estensione_m_; ++k) {
      const double m = k * 10000.0;
      Linea(X(m), f.inizio, X(m), asse, "stroke=\"#000\" stroke-opacity=\"0.07\"");
      Linea(X(m), asse, X(m), asse + 6, "stroke=\"#555\"");
      Testo(X(m), asse + 18, num(m / 1000), "class=\"small\" text-anchor=\"middle\"");
    }
    Linea(kSinistra, asse, kSinistra + kAreaLarga, asse, "stroke=\"#555\"");
    Testo(kSinistra + kAreaLarga / 2, asse + 34, "km from the start of the line",
          "class=\"small\" text-anchor=\"middle\"");
    const double lx = X(s_.lunghezza());
    Linea(lx, f.inizio, lx, asse, "stroke=\"#c0392b\" stroke-dasharray=\"5 4\"");
    Testo(lx - 4, f.inizio + 12, "end of line",
          "class=\"small\" text-anchor=\"end\" fill=\"#c0392b\"");
    return asse;
  }

  // Station names under the axis, slanted so that close stations stay apart.
  double NomiStazioni(double asse, const Profilo_ &f) {
    double fondo = asse + 44;
    for (size_t i = 1; i <= kPrimoCartello; ++i) {
      if (ruolo_stazione_(i) != "station") continue;
      const record_stazione &st = s_.stazioni[i];
      const double x = X(st.posizione);
      Linea(x, f.y_stazioni + kAltoRiga, x, asse, "stroke=\"#c0392b\" stroke-opacity=\"0.35\"");
      const double ty = asse + 44;
      Testo(x, ty, utf8(st.nome),
            std::string("class=\"station-name\" font-size=\"10.5\"") +
                (st.tipo < 25 ? " font-weight=\"bold\"" : " fill=\"#666\"") +
                " transform=\"rotate(60 " + num(x) + " " + num(ty) + ")\"");
      fondo = std::max(fondo, ty + 6.5 * static_cast<double>(st.nome.size()) * 0.87 + 12);
    }
    return fondo;
  }

  const Scenario &s_;
  const Provenienze *p_;
  double estensione_m_ = 1;
  std::string corpo_;
  std::string sopra_;  // labels drawn over the charts
};

}  // namespace

std::string disegna_scenario(const Scenario &s, const Provenienze *p) {
  Disegno d(s, p);
  return d.svg();
}

int esegui_plot(const OpzioniPlot &o, std::ostream &out, std::ostream &err) {
  Scenario s;
  EsitoCarica e = carica_scenario(o.dir, o.nome, o.numero, &s);
  if (!e.ok()) {
    err << e.messaggio << '\n';
    return e.mancanza == Mancanza::kMalformato ? kToolProblemi : kToolUso;
  }
  const std::string path =
      o.uscita.empty() ? JoinPath(o.dir, s.nome + "_" + s.numero + ".svg") : o.uscita;
  Provenienze p;
  bool con_righe = false;
  if (o.provenienze) {
    std::string avviso;
    con_righe = o.provenienze(s, &p, &avviso);
    if (!con_righe) err << "scenario_tool plot: " << avviso << "; the rows are not shown\n";
  }
  const std::unique_ptr<FileSystem> fs = MakeRealFileSystem();
  if (Status st = fs->Create(path, disegna_scenario(s, con_righe ? &p : nullptr)); !st.ok()) {
    err << st.message() << '\n';
    return kToolUso;
  }
  out << path << '\n';
  if (!s.ha_linea) out << "no line table: the profile is drawn alone\n";
  return kToolOk;
}
