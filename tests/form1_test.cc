#include "app/form1.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/executable_dir.h"
#include "supporto/memory_file_system.h"

namespace {

// Records what the run showed.
class FinestraProva : public Finestra {
 public:
  void mostra() override { eventi.push_back("mostra"); }
  void ridisegna() override { eventi.push_back("ridisegna"); }
  void messaggio(const std::string& t) override { eventi.push_back("messaggio:" + t); }
  void fallimento(const std::string& t) override { eventi.push_back("fallimento:" + t); }
  std::vector<std::string> eventi;
};

// A memory file system that notes the order in which files are created.
class OrdineFs : public MemoryFileSystem {
 public:
  Status Create(const std::string& path, std::string_view data) override {
    creati.push_back(path);
    return MemoryFileSystem::Create(path, data);
  }
  std::vector<std::string> creati;
};

TEST(Form1Test, ShowsTheWindowBeforeWritingAndWritesTheDocumentsInOrder) {
  FinestraProva finestra;
  OrdineFs fs;
  Form1 form(finestra, fs, "/d");
  form.Form_Load();
  ASSERT_GE(finestra.eventi.size(), 2u);
  EXPECT_EQ(finestra.eventi[0], "mostra");
  EXPECT_EQ(finestra.eventi[1], "ridisegna");
  ASSERT_GE(fs.creati.size(), 5u);
  EXPECT_EQ(fs.creati[0], JoinPath("/d", "Lavrano_Cestelle_linea.txt"));
  EXPECT_EQ(fs.creati[1], JoinPath("/d", "Lavrano_Cestelle_58121-.txt"));
  EXPECT_EQ(fs.creati[2], JoinPath("/d", "Lavrano_Cestelle_58121_note.txt"));
  EXPECT_EQ(fs.creati[3], JoinPath("/d", "Lavrano_Cestelle_58121_rallentamenti.txt"));
  EXPECT_EQ(fs.creati[4], JoinPath("/d", "Lavrano_Cestelle_58121_scheda_treno.txt"));
  EXPECT_EQ(form.tabelle.nome_scenario, "Lavrano_Cestelle");
  EXPECT_EQ(form.tabelle.numero_treno, "58121");
}

TEST(Form1Test, FailedWriteEndsTheRunWithStatusOneAndKeepsEarlierFiles) {
  FinestraProva finestra;
  MemoryFileSystem fs;
  const std::string note = JoinPath("/d", "Lavrano_Cestelle_58121_note.txt");
  fs.Fail(MemoryFileSystem::Op::kCreate, note);
  Form1 form(finestra, fs, "/d");
  EXPECT_EQ(form.Form_Load(), kEsitoFallimento);
  EXPECT_EQ(finestra.eventi.back(), "fallimento:cannot create '" + note + "': refused by the test");
  EXPECT_EQ(fs.files.count(JoinPath("/d", "Lavrano_Cestelle_58121_rallentamenti.txt")), 0u);
}

TEST(Form1Test, ErroreShowsTheNumberWithItsLeadingBlank) {
  FinestraProva finestra;
  MemoryFileSystem fs;
  Form1 form(finestra, fs, "/d");
  form.errore("1251");
  EXPECT_EQ(finestra.eventi.back(), "messaggio: Errore n. 1251");
}

}  // namespace
