#pragma once
// The log viewer "Logi programu": the error log of the data store, read
// afresh at every show, with a hidden button that mails the log database.
// One instance, FLogi, made at start-up with the other windows.
#include "toolkit/Form.h"

#include <string>

class QPushButton;
class QTreeWidget;
class QWidget;

// Hands one message with one attached file (full path; `fileName` is the
// name shown) to the desktop's mail program, which shows it to the user
// before it goes. False when no mail program can be started.
bool bFunSendMail(const std::string& subject, const std::string& recipient, const std::string& note,
                  const std::string& filePath, const std::string& fileName);

class TFLogi : public TDialogForm {
  Q_OBJECT
 public:
  explicit TFLogi(QWidget* parent = nullptr);

  // Columns "Data / czas", "Funkcja", "Informacja"; read-only, whole rows.
  QTreeWidget* LogsListView;
  QWidget* Panel1;
  QPushButton* BitBtn1;  // "OK"
  QPushButton* BitBtn2;  // "Wyślij plik z logami", hidden

  void BitBtn1Click();
  void BitBtn2Click();

 protected:
  void FormShow() override;
};

extern TFLogi* FLogi;
