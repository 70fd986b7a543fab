// The built program started from a terminal: "--help" and "--version" on
// their own are answered with text; anything else is a class file's path.
#include "support/ProgramProcess.h"
#include "support/TempFolders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string kProgram = std::string(TARVEK_BUILT_PROGRAM_DIR) + "/tarvek";

// A class file of one student, Nowak.
void writeClassFile(const std::string& path) {
  sqlExec(path,
          "create table T1( id TEXT, comp_name TEXT, value TEXT );"
          "insert into T1 values('DANE UCZNIA', 'Nazwisko_DATA_EDIT', 'Nowak');");
}

}  // namespace

// The answer comes before anything of the program's own: no window, no
// data folder, no message; files named like the options in the folder it
// is started in change nothing.
TEST(CommandLineTest, HelpAndVersionOnTheirOwnAreAnsweredOnStandardOutput) {
  struct Case {
    std::string argument;
    std::vector<std::string> locale;
    std::string output;  // empty: a file of the test's
    int exitCode;
    std::string startsWith;
    bool whole;  // the output is that text and nothing else
  };
  const std::string kEnglish = "Usage: tarvek [CLASS FILE]\n", kPolish = "Użycie: tarvek [PLIK KLASY]\n";
  const std::string kVersion = "tarvek (Kestal - Tarvek) 1.6.8\n";
  const Case cases[] = {
      {"--help", {"LC_ALL=", "LC_MESSAGES=", "LANG=C.UTF-8"}, "", 0, kEnglish, false},
      {"--help", {"LC_ALL=", "LC_MESSAGES=", "LANG=pl_PL.UTF-8"}, "", 0, kPolish, false},
      {"--help", {"LC_ALL=", "LC_MESSAGES=pl_PL.UTF-8", "LANG=en_GB.UTF-8"}, "", 0, kPolish, false},
      {"--help", {"LC_ALL=C", "LC_MESSAGES=", "LANG=pl_PL.UTF-8"}, "", 0, kEnglish, false},
      {"--version", {"LC_ALL=", "LC_MESSAGES=", "LANG=pl_PL.UTF-8"}, "", 0, kVersion, true},
      // A text that cannot be written is no answer.
      {"--version", {}, "/dev/full", 1, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.argument + " " + (c.locale.empty() ? c.output : c.locale.back()));
    TempFolders dirs;
    const std::string folder = dirs.root() + "/klasy", log = dirs.root() + "/dialogs.log";
    fs::create_directories(folder);
    for (const char* name : {"--help", "--version"}) writeClassFile(folder + "/" + name);
    const std::string output = c.output.empty() ? dirs.root() + "/stdout" : c.output;
    std::vector<std::string> environment = {"QT_QPA_PLATFORM=offscreen", "TARVEK_DIALOG_LOG=" + log};
    environment.insert(environment.end(), c.locale.begin(), c.locale.end());

    ProgramProcess program(
        {.program = kProgram, .arguments = {c.argument}, .environment = environment, .folder = folder, .output = output});
    ASSERT_GT(program.pid(), 0);
    EXPECT_TRUE(program.waitForExit(std::chrono::seconds(20))) << "the program started instead of answering";
    EXPECT_EQ(program.exitCode(), c.exitCode);
    if (c.output.empty()) {
      const std::string text = readText(output);
      if (c.whole) {
        EXPECT_EQ(text, c.startsWith);
      } else {
        EXPECT_TRUE(text.starts_with(c.startsWith)) << text;
        // It tells the other option, and how to open a file of such a name.
        EXPECT_NE(text.find("--version"), std::string::npos) << text;
        EXPECT_NE(text.find("./--help"), std::string::npos) << text;
      }
    }
    EXPECT_FALSE(fs::exists(fs::path(dirs.common()) / "Kestal-Tarvek"));
    EXPECT_FALSE(fs::exists(log)) << readText(log);
  }
}

// Everything else is still one path: a file named "--help" opens as
// ./--help, and an option with more words after it is a file's name too.
TEST(CommandLineTest, AFileNamedLikeAnOptionOpensByItsPath) {
  struct Case {
    std::vector<std::string> arguments;
    std::string file;
  };
  const Case cases[] = {{{"./--help"}, "--help"}, {{"--version", "2b"}, "--version 2b"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TempFolders dirs;
    const std::string folder = dirs.root() + "/klasy", log = dirs.root() + "/dialogs.log";
    fs::create_directories(folder);
    writeClassFile(folder + "/" + c.file);

    ProgramProcess program({.program = kProgram,
                            .arguments = c.arguments,
                            .environment = {"QT_QPA_PLATFORM=offscreen", "TARVEK_DIALOG_LOG=" + log},
                            .folder = folder,
                            .output = dirs.root() + "/stdout"});
    ASSERT_GT(program.pid(), 0);
    // The working copy is made only by opening a document: holding the
    // file's student while the program runs, it says the file was opened.
    const std::string working = dirs.data() + "/data_tmp.tmp";
    const auto opened = [&] {
      if (!fs::exists(working)) return false;
      try {
        return sqlRows(working, "select value from T1 where comp_name='Nazwisko_DATA_EDIT'") ==
               std::vector<std::vector<std::string>> {{"Nowak"}};
      } catch (const std::exception&) {
        return false;
      }
    };
    EXPECT_TRUE(ProgramProcess::waitFor([&] { return opened() || !program.running(); }) && opened());
    EXPECT_TRUE(program.running());
    EXPECT_EQ(readText(dirs.root() + "/stdout"), "");
    // Nothing but the notice of a first start was shown.
    const std::string boxes = readText(log);
    EXPECT_TRUE(boxes.starts_with("48||UWAGA !!!") && boxes.find('\n') == boxes.size() - 1) << boxes;
  }
}
