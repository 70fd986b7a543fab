// Printing through a real CUPS spooler: the test starts its own cupsd on
// the socket this process talks to, adds cups-pdf queues (one that reports
// two-sided printing, one that does not), prints through the dialog and
// reads the PDF files cups-pdf writes. Where cupsd cannot run (not root, not
// installed), the tests say so and are skipped.
#include "PrintSupport.h"
#include "platform/Cp1250.h"
#include "render/Drukowanie.h"
#include "render/Pages.h"
#include "support/TempFolders.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char kCupsd[] = "/usr/sbin/cupsd";
const char kLpadmin[] = "/usr/sbin/lpadmin";
const char kCupsPdfBackend[] = "/usr/lib/cups/backend/cups-pdf";
const char kCupsPdfPpd[] = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
// cups-pdf reads the settings of a queue with the device URI "cups-pdf:/NAME"
// from this folder only.
const char kCupsPdfConfigDir[] = "/etc/cups";

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

// The value of a job attribute in a job's control file (IPP encoding: tag,
// name length, name, value length, value).
std::string jobAttribute(const fs::path& controlFile, const std::string& name) {
  const std::string data = readText(controlFile.string());
  std::string key;
  key += static_cast<char>(name.size() >> 8);
  key += static_cast<char>(name.size() & 0xFF);
  key += name;
  const std::size_t at = data.find(key);
  if (at == std::string::npos || at + key.size() + 2 > data.size()) return {};
  const std::size_t start = at + key.size();
  const std::size_t length = (static_cast<unsigned char>(data[start]) << 8) | static_cast<unsigned char>(data[start + 1]);
  return data.substr(start + 2, length);
}

class CupsPrintTest : public ::testing::Test {
 protected:
  fs::path root;  // the daemon's folders
  QProcess daemon;
  std::vector<std::string> queues;
  TempFolders dirs;
  TScriptedDialogs script;
  TDataStore ds;
  std::unique_ptr<TFDrukuj> dialog;

  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "cupsd and cups-pdf need root; this test runs as a user";
    for (const char* needed : {kCupsd, kLpadmin, kCupsPdfBackend, kCupsPdfPpd})
      if (!fs::exists(needed)) GTEST_SKIP() << needed << " is not installed (packages cups, printer-driver-cups-pdf)";
    if (::access(kCupsPdfConfigDir, W_OK) != 0) GTEST_SKIP() << kCupsPdfConfigDir << " is not writable";
    startDaemon();
    dirs.shipProgramFolder();
    ASSERT_TRUE(bFunCheckFilesDir(&ds));
    vFunCreatePages(&ds);
  }

  void TearDown() override {
    dialog.reset();
    vFunDeletePages(&ds);
    if (daemon.state() != QProcess::NotRunning) {
      daemon.terminate();
      if (!daemon.waitForFinished(5000)) {
        daemon.kill();
        daemon.waitForFinished(2000);
      }
    }
    std::error_code ec;
    for (const auto& queue : queues) fs::remove(fs::path(kCupsPdfConfigDir) / ("cups-pdf-" + queue + ".conf"), ec);
    if (!root.empty()) fs::remove_all(root, ec);
  }

  void startDaemon() {
    root = fs::path(strCupsSocketPath()).parent_path();
    for (const char* sub : {"conf", "spool", "cache", "state", "tmp", "out", "log"}) fs::create_directories(root / sub);
    // The filters run as user lp: the folders they use must be open to it.
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    for (const char* open : {"tmp", "out"}) fs::permissions(root / open, fs::perms::all | fs::perms::sticky_bit);
    writeFile(root / "conf/cups-files.conf",
              "ServerRoot " + (root / "conf").string() + "\nRequestRoot " + (root / "spool").string() +
                  "\nCacheDir " + (root / "cache").string() + "\nStateDir " + (root / "state").string() +
                  "\nTempDir " + (root / "tmp").string() + "\nErrorLog " + (root / "log/error_log").string() +
                  "\nAccessLog " + (root / "log/access_log").string() + "\nPageLog " +
                  (root / "log/page_log").string() + "\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\n"
                  "SystemGroup root\n");
    writeFile(root / "conf/cupsd.conf", "Listen " + strCupsSocketPath() +
                                            "\nBrowsing No\nWebInterface No\nDefaultAuthType None\n"
                                            "PreserveJobFiles Yes\nPreserveJobHistory Yes\nDirtyCleanInterval 0\n"
                                            "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n");
    daemon.start(kCupsd, {"-f", "-c", QString::fromStdString((root / "conf/cupsd.conf").string()), "-s",
                          QString::fromStdString((root / "conf/cups-files.conf").string())});
    ASSERT_TRUE(daemon.waitForStarted(5000)) << "cupsd did not start";
    const QDeadlineTimer deadline(10000);
    while (!fs::exists(strCupsSocketPath()) && !deadline.hasExpired() && daemon.state() == QProcess::Running)
      QThread::msleep(50);
    ASSERT_TRUE(fs::exists(strCupsSocketPath())) << "cupsd did not open its socket: "
                                                 << readText((root / "log/error_log").string());
  }

  // Adds a cups-pdf queue writing into out/<name>; twoSided gives its
  // driver a duplex option.
  std::string addQueue(const std::string& suffix, bool twoSided) {
    const std::string name = "tarvek_" + std::to_string(::getpid()) + "_" + suffix;
    queues.push_back(name);
    const fs::path out = root / "out" / suffix;
    fs::create_directories(out);
    fs::permissions(out, fs::perms::all | fs::perms::sticky_bit);
    writeFile(fs::path(kCupsPdfConfigDir) / ("cups-pdf-" + name + ".conf"),
              "Out " + out.string() + "\nAnonDirName " + out.string() + "\nSpool " + (root / "spool-pdf").string() +
                  "\nLog " + (root / "log").string() + "\n");
    std::string ppd = readText(kCupsPdfPpd);
    if (twoSided) {
      const std::string option =
          "*OpenUI *Duplex/2-Sided Printing: PickOne\n*OrderDependency: 10 AnySetup *Duplex\n*DefaultDuplex: None\n"
          "*Duplex None/Off: \"<</Duplex false>>setpagedevice\"\n"
          "*Duplex DuplexNoTumble/Long Edge: \"<</Duplex true/Tumble false>>setpagedevice\"\n"
          "*Duplex DuplexTumble/Short Edge: \"<</Duplex true/Tumble true>>setpagedevice\"\n*CloseUI: *Duplex\n";
      ppd.insert(ppd.find("*OpenUI *PageSize"), option);
    }
    const fs::path ppdFile = root / (suffix + ".ppd");
    writeFile(ppdFile, ppd);
    EXPECT_TRUE(optFunRun(kLpadmin, {"-p", QString::fromStdString(name), "-E", "-v",
                                     QString::fromStdString("cups-pdf:/" + name), "-P",
                                     QString::fromStdString(ppdFile.string())}))
        << "lpadmin failed";
    return name;
  }

  void makeDialog() {
    dialog = std::make_unique<TFDrukuj>();
    dialog->DataStore = &ds;
  }
  void showDialogOn(const std::string& queue) {
    if (!dialog) makeDialog();
    dialog->FormShow();
    const int index = dialog->DrukarkiComboBox->findText(QString::fromStdString(queue));
    ASSERT_GE(index, 0) << "the queue is not listed";
    dialog->DrukarkiComboBox->setCurrentIndex(index);
    dialog->DrukarkiComboBoxChange();
  }

  // Marks of 20 x 20 page units: at (100, 200) on side 1, (500, 900) on side 2.
  void drawMarks() {
    {
      QPainter canvas(ds.Page1Metafile);
      vFunDrawMark(canvas, {100, 200}, 20);
    }
    QPainter canvas(ds.Page2Metafile);
    vFunDrawMark(canvas, {500, 900}, 20);
  }

  // Number of the queue's jobs the spooler has not finished.
  int unfinishedJobs(const std::string& queue) {
    const auto listing = optFunRun("lpstat", {"-W", "not-completed", "-o", QString::fromStdString(queue)});
    return listing ? static_cast<int>(std::count(listing->begin(), listing->end(), '\n')) : -1;
  }
  int submittedJobs(const std::string& queue) {
    const auto listing = optFunRun("lpstat", {"-W", "all", "-o", QString::fromStdString(queue)});
    return listing ? static_cast<int>(std::count(listing->begin(), listing->end(), '\n')) : -1;
  }

  // The PDF files cups-pdf wrote for a queue, in job order, once every job
  // is finished (at most 30 s).
  std::vector<std::string> finishedFiles(const std::string& queue, const std::string& suffix, std::size_t count) {
    const QDeadlineTimer deadline(30000);
    std::vector<std::string> files;
    while (!deadline.hasExpired()) {
      files.clear();
      for (const auto& entry : fs::directory_iterator(root / "out" / suffix))
        if (entry.path().extension() == ".pdf" && entry.file_size() > 0) files.push_back(entry.path().string());
      if (files.size() >= count && unfinishedJobs(queue) == 0) break;
      QThread::msleep(100);
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  // The control files of the finished jobs (at most 10 s until `count` are written).
  std::vector<fs::path> controlFiles(std::size_t count) {
    const QDeadlineTimer deadline(10000);
    std::vector<fs::path> files;
    do {
      files.clear();
      for (const auto& entry : fs::directory_iterator(root / "spool"))
        if (entry.path().filename().string().starts_with("c") && entry.file_size() > 0) files.push_back(entry.path());
      if (files.size() >= count) break;
      QThread::msleep(100);
    } while (!deadline.hasExpired());
    std::sort(files.begin(), files.end());
    return files;
  }

  // The mark lands where the millimetre rectangle puts it: the whole sheet.
  static void expectMark(const QRectF& ink, QPoint at) {
    const double sx = 210.0 / kPageWidth, sy = 297.0 / kPageHeight;
    EXPECT_NEAR(ink.left(), at.x() * sx, 0.5);
    EXPECT_NEAR(ink.top(), at.y() * sy, 0.5);
    EXPECT_NEAR(ink.right(), (at.x() + 20) * sx, 0.5);
    EXPECT_NEAR(ink.bottom(), (at.y() + 20) * sy, 0.5);
  }
};

TEST_F(CupsPrintTest, TwoSidedQueuePrintsOneJobAndKeepsItsOwnSettings) {
  const std::string queue = addQueue("duplex", true);
  // The queue's defaults: its driver's file and the options kept for it.
  const auto ppd = [&] { return readText((root / "conf/ppd" / (queue + ".ppd")).string()); };
  const std::string ppdBefore = ppd();
  ASSERT_NE(ppdBefore.find("*DefaultDuplex: None"), std::string::npos);
  showDialogOn(queue);
  EXPECT_TRUE(dialog->DuplexComboBox->isEnabled());
  EXPECT_TRUE(dialog->cbRotateSecondPage->isEnabled());

  drawMarks();
  dialog->DuplexComboBox->setCurrentIndex(1);
  dialog->iPageCount = 2;
  dialog->DrukujButton->click();
  const auto files = finishedFiles(queue, "duplex", 1);
  ASSERT_EQ(files.size(), 1u) << "one job";
  ASSERT_EQ(iFunPdfPages(files[0]), 2);
  expectMark(rectFunInkBox(files[0], 1), {100, 200});
  expectMark(rectFunInkBox(files[0], 2), {500, 900});
  EXPECT_TRUE(script.boxes.empty());

  // A4 and two sides went with the job; the queue's defaults are untouched.
  const auto jobs = controlFiles(1);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobAttribute(jobs[0], "sides"), "two-sided-long-edge");
  EXPECT_EQ(jobAttribute(jobs[0], "media"), "A4");
  EXPECT_EQ(ppd(), ppdBefore);
  EXPECT_EQ(readText((root / "conf/printers.conf").string()).find("\nOption "), std::string::npos);
}

// "Ustawienia" shows the print system's settings of the queue chosen in the
// list; the sheet and two-sided printing confirmed there go with its jobs,
// and another queue chosen afterwards prints on A4 portrait again.
TEST_F(CupsPrintTest, TheSettingsOfTheChosenQueueGoWithItsJobs) {
  const std::string queue = addQueue("duplex", true);
  const std::string other = addQueue("simplex", false);
  showDialogOn(queue);
  QString shownFor;
  script.onShowModal = [&](QDialog* shown) {
    auto* settings = qobject_cast<QPrintDialog*>(shown);
    if (!settings) return int(mrCancel);
    shownFor = settings->printer()->printerName();
    // What the user picks there; the real dialog writes it into its
    // printer when it is confirmed.
    settings->printer()->setPageSize(QPageSize(QPageSize::A5));
    settings->printer()->setPageOrientation(QPageLayout::Landscape);
    settings->printer()->setDuplex(QPrinter::DuplexShortSide);
    return int(mrOk);
  };
  dialog->BitBtn1->click();
  EXPECT_EQ(shownFor, QString::fromStdString(queue));
  EXPECT_EQ(dialog->DrukarkiComboBox->currentText(), QString::fromStdString(queue));
  EXPECT_EQ(dialog->DuplexComboBox->currentIndex(), 2) << "Duplex poziomo";

  drawMarks();
  dialog->iPageCount = 2;
  dialog->DrukujButton->click();
  const auto files = finishedFiles(queue, "duplex", 1);
  ASSERT_EQ(files.size(), 1u) << "one two-sided job";
  ASSERT_EQ(iFunPdfPages(files[0]), 2);
  // A5 paper (the print system turns landscape pages onto it).
  const QSize sheet = sizeFunPdfPageMm(files[0], 1);
  EXPECT_NEAR(sheet.width(), 148, 1);
  EXPECT_NEAR(sheet.height(), 210, 1);
  auto jobs = controlFiles(1);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobAttribute(jobs[0], "sides"), "two-sided-short-edge");
  EXPECT_EQ(jobAttribute(jobs[0], "media"), "A5");

  // Another queue: its own defaults of this program, A4 portrait.
  showDialogOn(other);
  dialog->iPageCount = 1;
  dialog->DrukujButton->click();
  const auto plain = finishedFiles(other, "simplex", 1);
  ASSERT_EQ(plain.size(), 1u);
  EXPECT_EQ(sizeFunPdfPageMm(plain[0], 1), QSize(210, 297));
  jobs = controlFiles(2);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobAttribute(jobs[1], "media"), "A4");
}

// A queue without a driver (raw): the system learns nothing of what the
// printer can do, so the duplex controls are enabled, as after a failed
// capability query.
TEST_F(CupsPrintTest, AQueueWhoseDuplexCannotBeLearntGetsTheDuplexControls) {
  const std::string queue = "tarvek_" + std::to_string(::getpid()) + "_raw";
  queues.push_back(queue);
  ASSERT_TRUE(optFunRun(kLpadmin, {"-p", QString::fromStdString(queue), "-E", "-v",
                                   QString::fromStdString("cups-pdf:/" + queue), "-m", "raw"}))
      << "lpadmin failed";
  makeDialog();
  dialog->DuplexComboBox->setEnabled(false);
  dialog->cbRotateSecondPage->setEnabled(false);
  showDialogOn(queue);
  EXPECT_TRUE(dialog->DuplexComboBox->isEnabled());
  EXPECT_TRUE(dialog->cbRotateSecondPage->isEnabled());
}

TEST_F(CupsPrintTest, OneSidedQueueGetsTwoJobsWithTheTurnOverPrompt) {
  const std::string queue = addQueue("simplex", false);
  makeDialog();
  // Chosen at an earlier showing: this printer cannot, so the list drops it.
  dialog->DuplexComboBox->setCurrentIndex(1);
  dialog->cbRotateSecondPage->setChecked(true);
  showDialogOn(queue);
  EXPECT_FALSE(dialog->DuplexComboBox->isEnabled());
  EXPECT_FALSE(dialog->cbRotateSecondPage->isEnabled());
  EXPECT_EQ(dialog->DuplexComboBox->currentIndex(), 0);

  drawMarks();
  dialog->iPageCount = 2;
  int jobsAtPrompt = -1;
  script.onBox = [&](const TShownBox&) { jobsAtPrompt = submittedJobs(queue); };
  dialog->DrukujButton->click();
  EXPECT_EQ(script.boxes,
            (std::vector<TShownBox> {{cp1250("Gdy zakończy się drukowanie pierwszej strony, proszę odwrócić \n "
                                             "świadectwo i nacisnąć OK"),
                                      "Alert", 48}}));
  EXPECT_EQ(jobsAtPrompt, 1) << "the prompt comes between the two jobs";
  const auto files = finishedFiles(queue, "simplex", 2);
  ASSERT_EQ(files.size(), 2u);
  ASSERT_EQ(iFunPdfPages(files[0]), 1);
  ASSERT_EQ(iFunPdfPages(files[1]), 1);
  expectMark(rectFunInkBox(files[0], 1), {100, 200});
  expectMark(rectFunInkBox(files[1], 1), {500, 900});
  const auto jobs = controlFiles(2);
  ASSERT_EQ(jobs.size(), 2u);
  for (const auto& job : jobs) EXPECT_EQ(jobAttribute(job, "sides"), "one-sided") << job;
}

TEST_F(CupsPrintTest, AFileNamedForAnEarlierPrintNeverTakesAQueuesJob) {
  const std::string queue = addQueue("simplex", false);
  makeDialog();
  const std::string leftOver = (root / "earlier.pdf").string();
  dialog->Printer().setOutputFileName(QString::fromStdString(leftOver));
  showDialogOn(queue);
  drawMarks();
  dialog->iPageCount = 1;
  dialog->DrukujButton->click();
  EXPECT_EQ(finishedFiles(queue, "simplex", 1).size(), 1u);
  EXPECT_FALSE(fs::exists(leftOver));
  EXPECT_TRUE(script.fileDialogs.empty());
}

// Each job goes into the queue under the name of what it prints, the
// document and the student, and a document printed as two jobs names the
// side of each, so the queue tells them apart. (The spooler lists a job's
// name to a queue's window from the job's record, read here; lpstat lists
// no names.)
TEST_F(CupsPrintTest, EachJobIsNamedAfterTheDocumentTheStudentAndItsSide) {
  const std::string simplex = addQueue("simplex", false);
  const std::string duplex = addQueue("duplex", true);
  const std::string named = "MEN-I/21a/2 świad. klasa I – Żółkiewska Anna";
  drawMarks();
  showDialogOn(simplex);
  dialog->iPageCount = 2;
  dialog->strJobTitle = cp1250FromUtf8(named);
  dialog->DrukujButton->click();  // two jobs, the prompt between them
  ASSERT_EQ(finishedFiles(simplex, "simplex", 2).size(), 2u);
  showDialogOn(duplex);
  dialog->DuplexComboBox->setCurrentIndex(1);
  dialog->DrukujButton->click();  // one two-sided job
  ASSERT_EQ(finishedFiles(duplex, "duplex", 1).size(), 1u);

  std::vector<std::string> names;
  for (const auto& job : controlFiles(3)) names.push_back(jobAttribute(job, "job-name"));
  EXPECT_EQ(names, (std::vector<std::string> {named + " (strona 1)", named + " (strona 2)", named}));
}

}  // namespace
