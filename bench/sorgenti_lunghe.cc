#include "bench/sorgenti_lunghe.h"

#include <string>

// A line of 1,000,000 m: a gradient change every kilometre and a curve in
// every kilometre, turning alternately left and right.
std::string LineaLunga() {
  std::string s =
      "[generale]\r\n"
      "lunghezza percorso,    1000000\r\n"
      "sfondo uno,    1\r\n"
      "ripetizione segnali 9 codici,    6800,    1000000\r\n"
      "[pendenze]\r\n";
  for (int p = 1000; p < 1000000; p += 1000)
    s +=
        "pendenza  , " + std::to_string(p) + "    , " + std::to_string(p / 1000 % 25 - 12) + "\r\n";
  s += "[curve]\r\n";
  const char* forme[] = {"curvad3", "curvas3", "curvad5", "curvas2"};
  for (int p = 500, i = 0; p < 999000; p += 1000, ++i)
    s += std::string(forme[i % 4]) + ",  " + std::to_string(p) + ",  600\r\n";
  s += "[montagne]\r\n";
  for (int p = 30000; p < 990000; p += 40000)
    s += "montagna, " + std::to_string(p) + "," + std::to_string(p + 1500) + ",11\r\n";
  s += "[fine]\r\n";
  return s;
}

// A train over the long line: a speed row every 10 km, 49 stations, a signal
// every 2 km, a slow-down every 50 km and a code cut every 3 km, placed so
// that no two features want the same cell.
std::string TrenoLungo() {
  std::string s =
      "[generale]\r\n"
      "numero vetture,    9\r\n"
      "percentuale massa frenata,    130\r\n"
      "sabbia,    300\r\n"
      "orologio,    17              48            30 \r\n"
      "aderenza,       0, 80\r\n"
      "[vel_limite]\r\n";
  for (int p = 0; p < 990000; p += 10000)
    s += "velocita, " + std::to_string(p) + ", " + std::to_string(p % 30000 == 0 ? 150 : 100) +
         "\r\n";
  s += "[stazioni]\r\n";
  for (int k = 0; k < 49; ++k)
    s += "stazione, " + std::to_string(20000 * k + 10000) +
         ", 12,  600,  0, 0, 0,  1,1,0,  4,1,1,   60,  18,31, 0, STAZIONE " + std::to_string(k) +
         "\r\n";
  s += "[segnali]\r\n";
  for (int p = 1100; p < 990000; p += 2000)
    s += "segnale, " + std::to_string(p) + ",   2, 4, 1,  1, 0,    2,  2,1,1, 0\r\n";
  s += "[rallentamenti]\r\n";
  for (int x = 5000; x < 990000; x += 50000)
    s += "rallentamento, " + std::to_string(x) + ", 60, 1000, 0, 1, 0\r\n";
  s += "[codici]\r\n";
  for (int p = 2000; p < 990000; p += 3000) s += "abbattimento, " + std::to_string(p) + ", 270\r\n";
  s += "[fine]\r\n";
  return s;
}
