#include "toolkit/Dialogs.h"

#include "platform/Cp1250.h"

#include <QApplication>
#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QDir>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <filesystem>
#include <thread>

TEST(DialogsTest, BoxesAreRecordedAndTakeTheQueuedAnswersInTurn) {
  TScriptedDialogs script;
  script.answers = {IDNO, IDYES};
  EXPECT_EQ(MessageBox(cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO), IDNO);
  EXPECT_EQ(MessageBox(cp1250("Czy na pewno chcesz zakończyć pracę ?"), "Koniec", MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(MessageBox(cp1250("Błąd"), cp1250("Błąd"), MB_OK | MB_ICONSTOP), IDOK);
  const std::vector<TShownBox> expected = {
      {cp1250("Czy chcesz zapisać zmiany ?"), "", 4},
      {cp1250("Czy na pewno chcesz zakończyć pracę ?"), "Koniec", 36},
      {cp1250("Błąd"), cp1250("Błąd"), 16},
  };
  EXPECT_EQ(script.boxes, expected);
}

TEST(DialogsTest, AnUnansweredBoxGetsItsCancellingAnswer) {
  struct Case {
    int flags;
    int answer;
  };
  const Case cases[] = {{MB_OK | MB_ICONWARNING, IDOK},
                        {MB_YESNO | MB_ICONQUESTION, IDNO},
                        {MB_YESNOCANCEL, IDCANCEL},
                        {MB_OKCANCEL, IDCANCEL}};
  TScriptedDialogs script;
  for (const auto& c : cases) EXPECT_EQ(MessageBox("?", "", c.flags), c.answer) << c.flags;
}

// The real box, answered with Enter as a user answers it: the first button
// unless the second is named the default one.
TEST(DialogsTest, EnterPressesTheDefaultButtonOfARealBox) {
  struct Case {
    int flags;
    int answer;
  };
  const Case cases[] = {{MB_YESNO | MB_ICONQUESTION, IDYES},
                        {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
                        {MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON2, IDNO},
                        {MB_OK | MB_DEFBUTTON2, IDOK}};
  for (const Case& c : cases) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      shown = box->text();
      QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(MessageBox(cp1250("Czy chcesz zastąpić ten plik ?"), "Zapisz", c.flags), c.answer) << c.flags;
    EXPECT_EQ(shown, QString::fromUtf8("Czy chcesz zastąpić ten plik ?")) << c.flags;
  }
}

TEST(DialogsTest, ABoxAskedByAWorkerIsAnsweredOnTheGuiThread) {
  TScriptedDialogs script;
  script.answers = {IDYES};
  std::atomic<int> answer {0};
  std::thread worker([&] { answer = MessageBox(cp1250("Jest nowa wersja."), "", MB_YESNO); });
  // The worker waits until the GUI thread has taken the box.
  while (answer == 0) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  worker.join();
  EXPECT_EQ(answer, IDYES);
  ASSERT_EQ(script.boxes.size(), 1u);
  EXPECT_EQ(script.boxes[0].text, cp1250("Jest nowa wersja."));
}

TEST(DialogsTest, FileDialogsKeepTheNameLastChosen) {
  TScriptedDialogs script;
  // The seam gives names as the real dialog does.
  script.fileNames = {QString::fromUtf8("/dane/świadectwa"), std::nullopt, QString::fromUtf8("/dane/kalibracja.sqset")};
  TFileDialog save(TFileDialog::TKind::Save);
  save.FileName = "nowy";
  save.Title = cp1250("Zapisz plik świadectw");
  save.Filter = "Tarvek(*.sqtvk)|*.sqtvk";
  save.DefaultExt = "sqtvk";
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName, cp1250("/dane/świadectwa.sqtvk"));  // the filter's extension is added
  EXPECT_EQ(save.Path, TSystemPath("/dane/świadectwa.sqtvk"));

  EXPECT_FALSE(save.Execute());  // cancelled: the name stays
  EXPECT_EQ(save.FileName, cp1250("/dane/świadectwa.sqtvk"));

  TFileDialog open(TFileDialog::TKind::Open);
  open.Title = "Wczytaj plik kalibracji";
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName, "/dane/kalibracja.sqset");
  EXPECT_EQ(open.Path, TSystemPath("/dane/kalibracja.sqset"));

  ASSERT_EQ(script.fileDialogs.size(), 3u);
  EXPECT_EQ(script.fileDialogs[0].kind, TFileDialog::TKind::Save);
  EXPECT_EQ(script.fileDialogs[0].fileName, "nowy");
  EXPECT_EQ(script.fileDialogs[0].filter, "Tarvek(*.sqtvk)|*.sqtvk");
  EXPECT_EQ(script.fileDialogs[1].fileName, cp1250("/dane/świadectwa.sqtvk"));
  EXPECT_EQ(script.fileDialogs[2].title, "Wczytaj plik kalibracji");
}

TEST(DialogsTest, ThePromptGivesTheTypedTextOnlyWhenConfirmed) {
  TScriptedDialogs script;
  script.inputs = {cp1250("Łódź"), std::nullopt};
  std::string value = "start";
  EXPECT_TRUE(InputQuery("Miasto", "Nazwa:", value));
  EXPECT_EQ(value, cp1250("Łódź"));
  EXPECT_FALSE(InputQuery("Miasto", "Nazwa:", value));
  EXPECT_EQ(value, cp1250("Łódź"));
  ASSERT_EQ(script.prompts.size(), 2u);
  EXPECT_EQ(script.prompts[0].value, "start");
  EXPECT_EQ(script.prompts[1].prompt, "Nazwa:");
}

namespace {

// Runs `act` on the modal window that the call opens, once it is shown; a
// window of another kind, or none within seconds, fails and is closed.
template <class Window>
void onModal(const std::function<void(Window*)>& act) {
  auto* poll = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act, tries] {
    QWidget* modal = QApplication::activeModalWidget();
    auto* window = qobject_cast<Window*>(modal);
    if ((!window || !window->isVisible()) && ++*tries < 500) return;
    poll->stop();
    poll->deleteLater();
    if (window) return act(window);
    ADD_FAILURE() << "no such window was shown";
    if (modal) modal->close();
  });
  poll->start(10);
}

}  // namespace

// A real box shows its text without the control character it carries (a
// bell drawn as an empty box), line breaks kept; Enter takes its button.
TEST(DialogsTest, ARealBoxShowsNoControlCharacterOfItsText) {
  QString shown;
  onModal<QMessageBox>([&](QMessageBox* box) {
    shown = box->text();
    QTest::keyClick(box, Qt::Key_Return);
  });
  const std::string notice = cp1250("Przed aktualizacją programu zapisz dane") + "\x07" +
                             cp1250(" a następnie uruchom aktualizację.\nPomoc->Sprawdź czy jest nowa wersja");
  EXPECT_EQ(MessageBox(notice, "Zapisz dane", MB_OK), IDOK);
  EXPECT_EQ(shown, QString::fromUtf8("Przed aktualizacją programu zapisz dane a następnie uruchom aktualizację.\n"
                                     "Pomoc->Sprawdź czy jest nowa wersja"));
}

// The real prompt: typed text (Polish letters, blanks) and Enter confirm it.
TEST(DialogsTest, EnterConfirmsTheRealPrompt) {
  onModal<QInputDialog>([](QInputDialog* prompt) {
    auto* edit = prompt->findChild<QLineEdit*>();
    ASSERT_TRUE(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    for (const QChar c : QString::fromUtf8("wąskie marginesy"))
      QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(edit, Qt::Key_Return);
  });
  std::string value = "stare";
  EXPECT_TRUE(InputQuery("Nazwa", cp1250("Proszę podać nazwę ustawień"), value));
  EXPECT_EQ(value, cp1250("wąskie marginesy"));
}

// Where a file dialog starts: the folder the program names for it, else the
// open document's folder, else the folder last chosen in any file dialog
// of this run, else the home folder.
TEST(DialogsTest, FileDialogsStartInTheDocumentsFolderElseTheLastChosenElseHome) {
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "tarvek-dialogs-start";
  std::filesystem::remove_all(root);
  const std::string documents = (root / "świadectwa 2a").string(), other = (root / "Иванова ŋ").string(),
                    named = (root / "wydruki").string();
  for (const std::string& folder : {documents, other, named}) std::filesystem::create_directories(folder);

  TFileDialog open(TFileDialog::TKind::Open), save(TFileDialog::TKind::Save);
  {
  TScriptedDialogs script;
  std::string document;  // the open document, empty when none
  vFunSetOpenDocumentSource([&document] { return TSystemPath(document); });

  struct Step {
    const char* what;
    TFileDialog* dialog;
    std::string document;      // open while the dialog runs
    std::string initialDir;    // named by the program
    std::optional<std::string> chosen;
    std::string startsIn;
  };
  const Step steps[] = {
      {"nothing open, nothing chosen yet", &open, "", "", std::nullopt, QDir::homePath().toStdString()},
      {"the save chooses a folder", &save, "", "", other + "/kopia.sqtvk", QDir::homePath().toStdString()},
      {"the folder chosen in another dialog; cancelled", &open, "", "", std::nullopt, other},
      {"the open document's folder comes first", &save, documents + "/klasa 2a.sqtvk", "", std::nullopt, documents},
      {"a document in a folder that is gone", &open, root.string() + "/brak/klasa.sqtvk", "", std::nullopt, other},
      {"the folder the program names", &save, documents + "/klasa 2a.sqtvk", named, std::nullopt, named},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    document = step.document;
    step.dialog->InitialDir = TSystemPath(step.initialDir);
    script.fileNames = {step.chosen ? std::optional<QString>(QString::fromStdString(*step.chosen)) : std::nullopt};
    step.dialog->Execute();
    EXPECT_EQ(script.fileDialogs.back().folder, TSystemPath(step.startsIn));
  }
  // The same name comes back whole as the path to open and save under.
  EXPECT_EQ(save.Path, TSystemPath(other + "/kopia.sqtvk"));
  EXPECT_EQ(save.FileName, cp1250FromUtf8(other + "/kopia.sqtvk"));  // shown with "?" for what the code page lacks

  vFunSetOpenDocumentSource(nullptr);
  }
  // A new session has chosen nothing.
  TScriptedDialogs fresh;
  open.InitialDir = TSystemPath();
  open.Execute();
  EXPECT_EQ(fresh.fileDialogs.back().folder, TSystemPath(QDir::homePath().toStdString()));
  std::filesystem::remove_all(root);
}
