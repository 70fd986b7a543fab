#pragma once
// The update: the check for a newer version on the maker's server and the
// update window, which downloads the installer with a progress gauge and
// starts it. The network work runs on worker threads; every effect on a
// window or a message box is handed to the GUI thread.
// One instance, FAktualizacja, made at start-up with the other windows.
#include "app/UpdateHttp.h"
#include "toolkit/Form.h"

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Starts a check on a worker thread: silent (at start-up) says nothing
// unless a newer version is offered; asked for (the menu) also reports a
// failure and that there is nothing new. A newer version is offered in a
// question; Yes opens the update window through the main window's timer,
// unless there are unsaved changes.
void vFunSprawdzAktualizacje(bool silent);

class TFAktualizacja : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFAktualizacja(QWidget* parent = nullptr);
  ~TFAktualizacja() override;

  QLabel* AWersjaLabel;
  QLabel* NWersjaLabel;
  QProgressBar* Postep;
  QLineEdit* editStatus;
  QLineEdit* editDownloadLink;
  QPushButton* btnDownloadViaBrowser;
  QPushButton* btnClose;

  // Set by the download when it ends: the installer's path, and whether it
  // arrived whole.
  std::string strInstallerPath;
  bool bDownloadDone = false;

  void btnDownloadViaBrowserClick();
  void btnCloseClick();

  // Shows the window modally (the main window's timer does); once it has
  // closed, a later check may offer a version again.
  void vFunPokazOkno();

  // The check's answer, on the GUI thread: a version, or none when the server
  // could not be asked or gave no version file.
  void vFunWynikSprawdzenia(bool silent, std::optional<update::TVersion> offered);

  // Runs work on a worker thread of this window; stopped and waited for
  // when the window goes. Used by the check and the download.
  void vFunStartWorker(std::function<void(const std::atomic<bool>& stop)> work);
  // Runs on the GUI thread, later, unless this window is gone by then.
  void vFunPostToWindow(std::function<void()> work);
  // Waits until every worker has ended, then runs what they handed to the
  // GUI thread (for the program's end and for tests).
  void vFunCzekajNaWatki();

 protected:
  void FormShow() override;
  void FormClose(TCloseAction& Action) override;

 private:
  // Downloads the installer from `url` to `target` (Windows-1250), on its worker.
  void vFunPobierzAktualizacje(const std::string& url, const std::string& target, const std::atomic<bool>& stop);
  // A newer version is being offered (question, timer or window): a second
  // check's answer meanwhile offers nothing more.
  bool bOffering_ = false;
  bool bDownloading_ = false;

  struct TWorker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> done;
  };
  std::mutex workersMutex_;
  std::list<TWorker> workers_;
  std::atomic<bool> stop_ {false};
};

extern TFAktualizacja* FAktualizacja;
