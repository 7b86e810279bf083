#include "sources/documenti.h"

// The notes that come with the scenario: what the route is like, how faithful
// the data are, what the last revision changed, and a few hints for driving.
// Rows are kept as the author wrapped them, trailing blanks included; a few
// rows end in one blank where the author broke a sentence, and the row
// between the revision and the further remarks is a single blank, not empty.

namespace {

constexpr std::u16string_view kTrenoRitorno = u"58120";  // same route, other direction
constexpr std::u16string_view kPercorso = u"Lavrano-Chiusi-Cestelle";

std::u16string titolo(const std::string& numero_treno) {
  std::u16string s(15, u' ');
  s += u"Treno ";
  for (char c : numero_treno) s.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  s += u"/";
  s += kTrenoRitorno;
  s += u" sul percorso ";
  s += kPercorso;
  s += u" ";
  return s;
}

}  // namespace

TabellaRighe righe_note(const std::string& numero_treno) {
  return {
      titolo(numero_treno),
      u"                          (Orario invernale 2000/2001)",
      u"",
      u" Precisazioni sul percorso:",
      u" - Il treno è un rapido a prenotazione obbligatoria, effettuato con un elettrotreno di nove ",
      u"   carrozze; il peso reale del convoglio può differire da quello impostato nello scenario.",
      u" - Rispettare l'orario è piuttosto difficile nelle due fermate intermedie di Orvieto e di ",
      u"   Chiusi, mentre è facile all'arrivo a Cestelle, dove il treno sosta per 12 minuti prima di ",
      u"   proseguire e giungere in anticipo alla destinazione finale.",
      u" - Il percorso abbandona due volte la linea DD e vi rientra una volta sola; sulla linea LL si",
      u"   incontra un cambio di progressiva chilometrica di circa 20 km, perché le due linee sono",
      u"   misurate da origini diverse. I punti di collegamento fra le linee sono bivi molto estesi, ",
      u"   che si sviluppano per alcuni chilometri: i bivi di ORVIETO SUD, di ORVIETO NORD e di CHIUSI",
      u"   SUD, ognuno formato da un Primo e da un Secondo Bivio.",
      u" - L'ultimo tratto, dopo Castiglion del Lago, è a semplice binario e nelle stazioni soltanto",
      u"   il binario di corsa è munito di segnali.",
      u" - Le impostazioni relative alle velocita' massime ed i segnali sono reali.",
      u" - L'orario e' quello reale.",
      u"",
      u" Questo treno oggi non circola più e, dopo la soppressione anche del treno \"Colle Fiorito\",",
      u" nessun treno collega ormai Lavrano e Cestelle per questa via. ",
      u"",
      u"   Modifica del 21/09/2001",
      u" Grazie ai dati reali forniti da Sergio Valdano, autore di altri scenari, ho potuto rifare con",
      u" maggiore precisione la pianta ed il profilo della linea, e collocare nei punti giusti le",
      u" stazioni, i segnali e le tabelle indicatrici di velocità massima; in più sono stati corretti ",
      u" alcuni raggi di curva e diverse pendenze che nella versione precedente erano solo stimati.",
      u" Il posto di movimento di S.Oreste è stato ricostruito a quattro binari, com'è oggi, e la galleria",
      u" che lo precede è stata spostata nella sua vera posizione; sui tratti della linea LL con la ",
      u" ripetizione dei segnali a quattro codici, anziché a nove, sono state aggiunte le cesure.",
      u" Lo scenario è stato inoltre diviso in due parti, una per ciascun senso di marcia:",
      u" - da Lavrano a Cestelle, treno 58121;",
      u" - da Cestelle a Lavrano, treno 58120.",
      u" In questo modo sono stati eliminati tre inconvenienti della versione precedente:",
      u" - il cambio di banco a metà percorso, che costringeva a fermarsi fuori orario;",
      u" - gli orari di un senso che comparivano nella scheda treno dell'altro;",
      u" - i segnali dell'altro binario, che si potevano confondere con quelli del proprio.",
      u" Inoltre l'ultima curva prima di Cestelle ora piega verso destra, come nella realtà, e non più",
      u" verso sinistra come nella prima versione; di conseguenza il segnale di protezione si vede un",
      u" po' più tardi.",
      u" Nell'ultimo tratto, da Castiglion del Lago a Cestelle, la ripetizione dei segnali funziona ",
      u" ora a quattro codici, come sulla linea reale.",
      u" ",
      u" Alcune ulteriori precisazioni:",
      u" - la posizione e la lunghezza delle gallerie sono riprese dagli scenari di Franco Lisandri,",
      u"   che ringrazio per avermele concesse;",
      u" - a Chiusi il treno è ricevuto sul binario di corsa; nella prima versione era invece ricevuto ",
      u"   su un binario deviato a 60 km/h, perché le tabelle in mio possesso non indicavano quale",
      u"   fosse il binario di arrivo e l'itinerario deviato era il caso più prudente; il macchinista ",
      u"   che conosce la linea potrà ora notare che la velocità in ingresso è quella dei treni che ",
      u"   non hanno fermata, mentre la sosta resta di due minuti come da orario;",
      u" - sulla linea DD NON esistono segnali di avviso semplice;",
      u" - fra il Km 123.500 e il Km 126.000 la linea non è codificata: conviene disinserire la ",
      u"   ripetizione dei segnali in corrispondenza della tabella di fine codifica e reinserirla",
      u"   alla tabella di inizio codifica, per evitare frenature d'emergenza indesiderate.",
      u"",
      u" Un ringraziamento particolare a Renato Ciampelli per le fotografie della linea e i consigli.",
      u"",
      u" Buon divertimento",
      u" Davide Lunardi (davide.lunardi@example.org)",
      std::u16string(riferimento_fine_file),
  };
}
