// The Win32 pieces the program stands on: paths between UTF-8 and the wide
// system calls, the executable's directory, and the file system with its
// failures as the user will read them.
#ifdef _WIN32

#include <gtest/gtest.h>

#include "platform/windows_h.h"

#include <filesystem>
#include <memory>

#include "platform/executable_dir.h"
#include "platform/file_system.h"
#include "platform/wide_text_win.h"
#include "sources/text_writer.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The program's own (UTF-8) form of a path.
std::string Narrow(const fs::path& p) { return NarrowFromWide(p.wstring()); }

TEST(WideTextTest, UnicodeRoundTripsBothWays) {
  const std::wstring wide = L"C:\\Citt\u00e0\\\u00e8 \U0001F682.txt";
  const std::string utf8 = "C:\\Citt\xC3\xA0\\\xC3\xA8 \xF0\x9F\x9A\x82.txt";
  EXPECT_EQ(NarrowFromWide(wide), utf8);
  EXPECT_EQ(WideFromNarrow(utf8), wide);
}

TEST(WideTextTest, LoneSurrogateOfASystemPathSurvivesTheRoundTrip) {
  for (std::wstring wide : {std::wstring(L"a\xD800z"), std::wstring(L"\xDC00"),
                            std::wstring(L"end\xDBFF")})
    EXPECT_EQ(WideFromNarrow(NarrowFromWide(wide)), wide);
}

TEST(WideTextTest, IllFormedUtf8IsNeverDecodedAsUtf8) {
  // An overlong slash must not turn into a path separator.
  EXPECT_NE(WideFromNarrow("\xC0\xAF"), L"/");
  EXPECT_NE(WideFromNarrow("a\xE0\x80\xAF"), L"a/");
  // A lone Windows-1252 letter is taken in the ANSI code page.
  if (::GetACP() == 1252) {
    EXPECT_EQ(WideFromNarrow("Citt\xE0"), L"Citt\u00e0");
  }
  // Truncated sequences at the very end do not read past the text.
  EXPECT_EQ(WideFromNarrow(std::string_view("\xE2\x82", 2)).size(), 2u);
}

TEST(SystemMessageTest, ReasonIsOneSentenceWithoutLineEnd) {
  const std::string reason = SystemMessage(ERROR_ACCESS_DENIED);
  ASSERT_FALSE(reason.empty());
  EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
  EXPECT_NE(reason.back(), ' ');
  EXPECT_EQ(SystemMessage(0x2000FFFF), "system error 536936447");
}

TEST(WindowsPathTest, JoinAddsOneBackslashEvenAfterARoot) {
  EXPECT_EQ(JoinPath("C:\\giochi", "a.txt"), "C:\\giochi\\a.txt");
  EXPECT_EQ(JoinPath("C:\\", "a.txt"), "C:\\\\a.txt");
  EXPECT_EQ(JoinPath("\\\\server\\share", "a.txt"), "\\\\server\\share\\a.txt");
}

TEST(WindowsPathTest, DoubledBackslashOfARootStillReachesTheFile) {
  // What a drive root gives: the system reads "dir\\\\name" as "dir\\name".
  TempDir dir;
  auto real = MakeRealFileSystem();
  const std::string doubled = JoinPath(Narrow(dir.path()) + "\\", "x.txt");
  ASSERT_TRUE(real->Create(doubled, "abc").ok());
  std::string data;
  ASSERT_TRUE(real->Read(JoinPath(Narrow(dir.path()), "x.txt"), &data).ok());
  EXPECT_EQ(data, "abc");
}

TEST(WindowsPathTest, ExecutableDirectoryIsWhereTheProgramLiesNotTheCurrentOne) {
  TempDir elsewhere;
  wchar_t before[MAX_PATH];
  ASSERT_GT(::GetCurrentDirectoryW(MAX_PATH, before), 0u);
  ASSERT_TRUE(::SetCurrentDirectoryW(elsewhere.path().c_str()));
  std::string dir;
  Status s = DirectoryOfExecutable(&dir);
  ::SetCurrentDirectoryW(before);
  ASSERT_TRUE(s.ok()) << s.message();
  EXPECT_NE(dir, Narrow(elsewhere.path()));
  ASSERT_GE(dir.size(), 3u);
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(fs::path(WideFromNarrow(dir)).is_absolute()) << dir;
  EXPECT_TRUE(MakeRealFileSystem()->Exists(JoinPath(dir, "scenario_tests.exe"))) << dir;
}

class WindowsFileSystemTest : public ::testing::Test {
 protected:
  std::string In(const std::string& name) { return JoinPath(Narrow(dir.path()), name); }

  TempDir dir;
  std::unique_ptr<FileSystem> real = MakeRealFileSystem();
};

TEST_F(WindowsFileSystemTest, BytesGoToDiskAndBackUntranslated) {
  // Line ends, a Ctrl-Z and a zero byte: a text-mode layer would change
  // or stop at each of them.
  const std::string bytes("a\r\nb\nc\x1A\0d\xE8\r\n", 12);
  const std::string path = In("dati.txt");
  ASSERT_TRUE(real->Create(path, bytes).ok());
  EXPECT_EQ(fs::file_size(dir.path() / "dati.txt"), bytes.size());
  std::string back;
  ASSERT_TRUE(real->Read(path, &back).ok());
  EXPECT_EQ(back, bytes);
}

TEST_F(WindowsFileSystemTest, TouchCreatesOrKeepsAndCreateReplacesWhole) {
  const std::string path = In("f.txt");
  EXPECT_FALSE(real->Exists(path));
  ASSERT_TRUE(real->Touch(path).ok());
  EXPECT_TRUE(real->Exists(path));
  EXPECT_EQ(ReadFileBytes(dir.path() / "f.txt"), "");
  WriteFileBytes(dir.path() / "f.txt", std::string(100000, 'x'));
  ASSERT_TRUE(real->Touch(path).ok());
  EXPECT_EQ(ReadFileBytes(dir.path() / "f.txt").size(), 100000u);
  ASSERT_TRUE(real->Create(path, "nuovo\r\n").ok());
  EXPECT_EQ(ReadFileBytes(dir.path() / "f.txt"), "nuovo\r\n");
  ASSERT_TRUE(real->Remove(path).ok());
  EXPECT_FALSE(real->Exists(path));
}

TEST_F(WindowsFileSystemTest, NonAsciiPathsReachTheSystemAsTheirOwnLetters) {
  fs::create_directory(dir.path() / L"Citt\u00e0");
  const std::string path = JoinPath(Narrow(dir.path() / L"Citt\u00e0"), "\xC3\xA8.txt");
  ASSERT_TRUE(real->Create(path, "x").ok());
  EXPECT_TRUE(fs::exists(dir.path() / L"Citt\u00e0" / L"\u00e8.txt"));
  EXPECT_TRUE(real->Exists(path));
}

TEST_F(WindowsFileSystemTest, DirectoryWhereTheFileShouldBeFailsEveryStepClearly) {
  const std::string path = In("note.txt");
  fs::create_directory(dir.path() / "note.txt");
  EXPECT_FALSE(real->Exists(path));
  std::string data;
  const std::pair<const char*, Status> steps[] = {
      {"open", real->Touch(path)},
      {"delete", real->Remove(path)},
      {"create", real->Create(path, "x")},
  };
  for (const auto& [what, s] : steps) {
    ASSERT_FALSE(s.ok()) << what;
    const std::string head = std::string("cannot ") + what + " '" + path + "': ";
    ASSERT_EQ(s.message().substr(0, head.size()), head);
    const std::string reason = s.message().substr(head.size());
    EXPECT_FALSE(reason.empty()) << what;
    EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << s.message();
  }
  EXPECT_TRUE(fs::is_directory(dir.path() / "note.txt"));
}

TEST_F(WindowsFileSystemTest, MissingFileIsReportedWithTheSystemsReason) {
  const std::string path = In("manca.txt");
  std::string data;
  Status s = real->Read(path, &data);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message(), "cannot open '" + path + "': " + SystemMessage(ERROR_FILE_NOT_FOUND));
  s = real->Remove(path);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message(), "cannot delete '" + path + "': " + SystemMessage(ERROR_FILE_NOT_FOUND));
  s = real->Create(JoinPath(In("manca"), "x.txt"), "x");
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message().find("cannot create '"), 0u) << s.message();
}

TEST_F(WindowsFileSystemTest, FileHeldOpenByAnotherProgramCannotBeReplaced) {
  const std::string path = In("aperto.txt");
  WriteFileBytes(dir.path() / "aperto.txt", "vecchio");
  HANDLE h = ::CreateFileW((dir.path() / "aperto.txt").c_str(), GENERIC_READ, 0, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  Status touch = real->Touch(path);
  Status remove = real->Remove(path);
  Status create = real->Create(path, "nuovo");
  ::CloseHandle(h);
  const std::string reason = SystemMessage(ERROR_SHARING_VIOLATION);
  EXPECT_EQ(touch.message(), "cannot open '" + path + "': " + reason);
  EXPECT_EQ(remove.message(), "cannot delete '" + path + "': " + reason);
  EXPECT_EQ(create.message(), "cannot create '" + path + "': " + reason);
  EXPECT_EQ(ReadFileBytes(dir.path() / "aperto.txt"), "vecchio");
}

TEST_F(WindowsFileSystemTest, ReadOnlyFileStopsTheWriterAndKeepsItsContent) {
  WriteFileBytes(dir.path() / "sola_lettura.txt", "vecchio");
  const std::wstring wide = (dir.path() / "sola_lettura.txt").wstring();
  ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
  const Destinazione dest{real.get(), Narrow(dir.path()), "S", "1"};
  const TabellaRighe righe{u"nuovo", std::u16string(riferimento_fine_file)};
  Status s = scrivi_testo(dest, "sola_lettura.txt", righe);
  ::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  // Windows refuses to open the file for writing; Wine run by root lets that
  // pass and refuses the deletion. Either way the writer stops there.
  const std::string path = In("sola_lettura.txt");
  const std::string tail = "'" + path + "': " + SystemMessage(ERROR_ACCESS_DENIED);
  EXPECT_TRUE(s.message() == "cannot open " + tail || s.message() == "cannot delete " + tail)
      << s.message();
  EXPECT_EQ(ReadFileBytes(dir.path() / "sola_lettura.txt"), "vecchio");
}

}  // namespace

#endif  // _WIN32
