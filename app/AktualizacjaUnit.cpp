#include "app/AktualizacjaUnit.h"

#include "app/GlownaUnit.h"
#include "platform/Cp1250.h"
#include "platform/Process.h"
#include "store/Folders.h"
#include "toolkit/Components.h"
#include "toolkit/DesktopOpen.h"
#include "toolkit/Dialogs.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <cerrno>
#include <climits>

TFAktualizacja* FAktualizacja = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }
QString qtText(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }

update::TVersion programVersion() { return {kVersionMajor, kVersionMinor, kVersionBuild}; }

// The status shown after a download that did not end in a whole file.
const char* failureStatus(update::TDownloadOutcome outcome) {
  switch (outcome) {
    case update::TDownloadOutcome::NoContentLength: return "Błąd podczas próby czytania pliku...";
    case update::TDownloadOutcome::CannotCreateFile: return "Błąd zapisu do pliku";
    default: return "Błąd połączenia...";
  }
}

}  // namespace

void vFunSprawdzAktualizacje(bool silent) {
  TFAktualizacja* window = FAktualizacja;
  if (!window) return;
  const std::string url = update::strFunServerAddress() + update::kVersionFilePath;
  window->vFunStartWorker([window, silent, url](const std::atomic<bool>& stop) {
    std::optional<update::TVersion> offered = update::optFunFetchVersion(url, stop);
    if (stop) return;
    window->vFunPostToWindow([window, silent, offered] { window->vFunWynikSprawdzenia(silent, offered); });
  });
}

TFAktualizacja::TFAktualizacja(QWidget* parent) : TDialogForm("FAktualizacja", parent) {
  setWindowTitle(qt("Aktualizacja"));
  // A fixed border without any border icon: the window closes by its button only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedBorder(true);
  setFixedSize(404, 205);

  auto label = [this](const char* name, const char* text, int x, int y, int w) {
    QLabel* l = Make<QLabel>(name, qt(text), this);
    l->setGeometry(x, y, w, 17);
    return l;
  };
  label("Label1", "Aktualna wersja:", 12, 12, 120);
  AWersjaLabel = label("AWersjaLabel", "", 136, 12, 120);
  label("Label2", "Nowa wersja:", 12, 32, 120);
  NWersjaLabel = label("NWersjaLabel", "", 136, 32, 120);
  label("Label3", "Postęp pobierania:", 12, 58, 120);
  Postep = Make<QProgressBar>("Postep", this);
  Postep->setGeometry(136, 56, 256, 21);
  Postep->setRange(0, 100);
  Postep->setValue(0);
  Postep->setFormat(QStringLiteral("%p%"));
  label("Label4", "Status:", 12, 86, 120);
  editStatus = Make<QLineEdit>("editStatus", this);
  editStatus->setGeometry(136, 84, 256, 21);
  editStatus->setEnabled(false);
  label("Label5", "Jeśli masz problem z pobraniem programu użyj adresu poniżej:", 12, 116, 380);
  editDownloadLink = Make<QLineEdit>("editDownloadLink", this);
  editDownloadLink->setGeometry(12, 136, 380, 21);
  editDownloadLink->setReadOnly(true);
  btnDownloadViaBrowser = Make<QPushButton>("btnDownloadViaBrowser", qt("Pobierz przez przeglądarkę"), this);
  btnDownloadViaBrowser->setGeometry(12, 168, 190, 27);
  btnClose = Make<QPushButton>("btnClose", qt("Zamknij"), this);
  btnClose->setGeometry(292, 168, 100, 27);

  vFunOnClick(btnDownloadViaBrowser, [this] { btnDownloadViaBrowserClick(); });
  vFunOnClick(btnClose, [this] { btnCloseClick(); });
}

TFAktualizacja::~TFAktualizacja() {
  stop_ = true;
  std::lock_guard lock(workersMutex_);
  for (TWorker& worker : workers_) worker.thread.join();
  workers_.clear();
}

void TFAktualizacja::vFunStartWorker(std::function<void(const std::atomic<bool>& stop)> work) {
  std::lock_guard lock(workersMutex_);
  // Workers that have ended are let go.
  for (auto it = workers_.begin(); it != workers_.end();) {
    if (it->done->load()) {
      it->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
  auto done = std::make_shared<std::atomic<bool>>(false);
  workers_.push_back({std::thread([this, work = std::move(work), done] {
                        work(stop_);
                        *done = true;
                      }),
                      done});
}

void TFAktualizacja::vFunPostToWindow(std::function<void()> work) {
  QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void TFAktualizacja::vFunCzekajNaWatki() {
  {
    std::lock_guard lock(workersMutex_);
    for (TWorker& worker : workers_) worker.thread.join();
    workers_.clear();
  }
  QCoreApplication::sendPostedEvents(this);
}

void TFAktualizacja::vFunWynikSprawdzenia(bool silent, std::optional<update::TVersion> offered) {
  if (!offered) {
    if (!silent)
      MessageBox(cp1250("Błąd podczas próby połączenia z internetem"), "Aktualizacja", MB_OK | MB_ICONWARNING);
    return;
  }
  const std::string running = update::strFunVersionText(programVersion());
  const std::string server = update::strFunVersionText(*offered);
  const std::string versions = cp1250("Aktualna wersja programu to: ") + running + "\n" +
                               cp1250("Wersja dostępna na serwerze to: ") + server + "\n\n";
  if (!update::bFunNewerVersion(*offered, programVersion())) {
    if (!silent) MessageBox(versions + cp1250("Brak nowej wersji do pobrania."), "", MB_OK);
    return;
  }
  // Another check is offering a version already.
  if (bOffering_) return;
  bOffering_ = true;
  if (MessageBox(versions + cp1250("Czy chcesz pobrać nową wersje programu ?"), "Nowa wersja",
                 MB_YESNO | MB_ICONQUESTION) != IDYES) {
    bOffering_ = false;
    return;
  }
  AWersjaLabel->setText(qtText(running));
  NWersjaLabel->setText(qtText(server));
  if (FGlowna->bDataModified) {
    MessageBox(cp1250("Przed aktualizacją programu zapisz dane") + "\x07" +
                   cp1250(" a następnie uruchom aktualizację.\nPomoc->Sprawdź czy jest nowa wersja"),
               "Zapisz dane", MB_OK);
    bOffering_ = false;
    return;
  }
  FGlowna->AktualizacjaTimer->setEnabled(true);
}

void TFAktualizacja::vFunPokazOkno() {
  bOffering_ = true;
  ShowModal();
  bOffering_ = false;
}

void TFAktualizacja::FormShow() {
  const std::string url = update::strFunServerAddress() + update::kInstallerFilePath;
  editDownloadLink->setText(qtText(url));
  editDownloadLink->setCursorPosition(0);  // the address is read from its start
  btnClose->setEnabled(false);
  btnClose->setText(qt("Zamknij"));
  editStatus->clear();
  Postep->setValue(Postep->minimum());
  bDownloading_ = true;
  // The folder "aktualizacja" is installed with the shipped files; without it
  // the file cannot be written and the download says so.
  const TSystemPath dataFolder = strFunGetMainDirPath(&FGlowna->DataStore);
  const std::string target = dataFolder.empty() ? std::string() : (dataFolder / "aktualizacja/nowy.exe").text();
  vFunStartWorker([this, url, target](const std::atomic<bool>& stop) { vFunPobierzAktualizacje(url, target, stop); });
}

void TFAktualizacja::FormClose(TCloseAction& Action) {
  // Nothing closes the window while the download runs.
  if (bDownloading_) Action = TCloseAction::caNone;
}

// Runs on its worker: every effect on the window is handed to the GUI thread,
// in the order the download makes them.
void TFAktualizacja::vFunPobierzAktualizacje(const std::string& url, const std::string& target,
                                             const std::atomic<bool>& stop) {
  vFunPostToWindow([this] { repaint(); });

  long long perStep = 1;
  int shown = -1;  // the percentage shown last: the gauge is moved when it changes
  long long length = 0;
  update::TDownloadProgress progress;
  progress.onLength = [&](long long announced) {
    length = announced;
    perStep = announced > INT_MAX ? announced / INT_MAX + 1 : 1;
    const int steps = static_cast<int>(announced / perStep);
    vFunPostToWindow([this, steps] {
      // A length of 0 keeps the gauge's earlier maximum.
      if (steps > 0) Postep->setRange(0, steps);
      Postep->setValue(0);
    });
  };
  progress.onWriting = [this] {
    vFunPostToWindow([this] { editStatus->setText(qt("Pobieranie nowej wersji programu")); });
  };
  progress.onReceived = [&](long long received) {
    const int percent = length > 0 ? static_cast<int>(std::min(received, length) * 100 / length) : 100;
    if (percent == shown) return;
    shown = percent;
    const int value = static_cast<int>(std::min(received, length) / perStep);
    vFunPostToWindow([this, value] { Postep->setValue(std::min(value, Postep->maximum())); });
  };

  const update::TDownloadOutcome outcome =
      target.empty() ? update::TDownloadOutcome::CannotCreateFile : update::vFunDownload(url, target, progress, stop);
  vFunPostToWindow([this, outcome, target] {
    bDownloading_ = false;
    strInstallerPath = target;
    bDownloadDone = outcome == update::TDownloadOutcome::Complete;
    if (bDownloadDone) {
      Postep->setValue(Postep->maximum());
      btnClose->setText(qt("Zainstaluj"));
    } else {
      editStatus->setText(qt(failureStatus(outcome)));
    }
    btnClose->setEnabled(true);
  });
}

void TFAktualizacja::btnDownloadViaBrowserClick() {
  const std::string address = strFunGetText(editDownloadLink);
  objFunOpenWithDesktop(address, [address] {
    MessageBox(cp1250("Nie można otworzyć adresu programu instalacyjnego:\n") + address +
                   cp1250("\n\nW systemie nie ma przeglądarki stron WWW albo nie udało się jej uruchomić. Otwórz "
                          "ten adres w przeglądarce samodzielnie."),
               "Aktualizacja", MB_OK | MB_ICONWARNING);
  });
}

void TFAktualizacja::btnCloseClick() {
  if (bDownloadDone) {
    // Exactly the downloaded file is started, as a program of this system,
    // never through a shell; the program ends only when it has started.
    if (platform::startProgramFile(TSystemPath::fromText(strInstallerPath))) {
      FGlowna->bCloseNoAsk = true;
    } else {
      const int code = errno;
      MessageBox(cp1250("Nie można uruchomić pobranego pliku instalacyjnego:\n") + strInstallerPath +
                     cp1250("\nKod błędu: ") + std::to_string(code),
                 "Aktualizacja", MB_OK | MB_ICONWARNING);
    }
  }
  setModalResult(mrOk);
}
