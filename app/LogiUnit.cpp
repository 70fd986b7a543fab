#include "app/LogiUnit.h"

#include "app/GlownaUnit.h"
#include "platform/Cp1250.h"
#include "platform/Process.h"
#include "store/Folders.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

TFLogi* FLogi = nullptr;

namespace {

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }
QString qtText(const std::string& text) { return QString::fromStdString(cp1250ToUtf8(text)); }

constexpr char kSupportAddress[] = "pomoc@kestal.pl";
// "Informacja" (550 wide on a window of 799) takes whatever the other two leave.
constexpr int kColumnWidths[2] = {100, 120};

}  // namespace

bool bFunSendMail(const std::string& subject, const std::string& recipient, const std::string& note,
                  const std::string& filePath, const std::string& /*fileName*/) {
  // The mail program names the attachment after the file itself.
  return platform::sendMail(subject, recipient, note, filePath);
}

TFLogi::TFLogi(QWidget* parent) : TDialogForm("FLogi", parent) {
  setWindowTitle(qt("Logi programu"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedBorder(true);
  setFixedSize(799, 450);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  LogsListView = Make<QTreeWidget>("LogsListView", this);
  LogsListView->setColumnCount(3);
  LogsListView->setHeaderLabels({qt("Data / czas"), qt("Funkcja"), qt("Informacja")});
  LogsListView->setRootIsDecorated(false);
  LogsListView->setItemsExpandable(false);
  LogsListView->setUniformRowHeights(true);
  LogsListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LogsListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  LogsListView->setSelectionMode(QAbstractItemView::SingleSelection);
  LogsListView->header()->setStretchLastSection(true);  // "Informacja" takes the rest
  for (int column : {0, 1}) LogsListView->setColumnWidth(column, kColumnWidths[column]);
  layout->addWidget(LogsListView, 1);

  Panel1 = Make<QWidget>("Panel1", this);
  Panel1->setFixedHeight(41);
  layout->addWidget(Panel1);
  BitBtn1 = Make<QPushButton>("BitBtn1", qt("OK"), Panel1);
  BitBtn1->setGeometry(799 - 8 - 90, 7, 90, 27);
  BitBtn2 = Make<QPushButton>("BitBtn2", qt("Wyślij plik z logami"), Panel1);
  BitBtn2->setGeometry(8, 7, 160, 27);
  BitBtn2->setVisible(false);

  vFunOnClick(BitBtn1, [this] { BitBtn1Click(); });
  vFunOnClick(BitBtn2, [this] { BitBtn2Click(); });
}

void TFLogi::FormShow() {
  LogsListView->clear();
  for (int column : {0, 1}) LogsListView->setColumnWidth(column, kColumnWidths[column]);
  std::vector<TLogRecord> rows;
  // An unreadable log shows an empty list; the data store has logged why.
  if (!bFunSqlGetLogsData(&FGlowna->DataStore, rows)) return;
  QList<QTreeWidgetItem*> items;
  for (const TLogRecord& row : rows) {
    auto* item = new QTreeWidgetItem(QStringList {qtText(row.datetime), qtText(row.fun), qtText(row.info)});
    item->setToolTip(2, item->text(2));  // a long text is cut at the column's edge
    items << item;
  }
  LogsListView->addTopLevelItems(items);
  // The date and the function are shown whole, in whatever font the desktop uses.
  for (int column : {0, 1}) {
    LogsListView->resizeColumnToContents(column);
    if (LogsListView->columnWidth(column) < kColumnWidths[column])
      LogsListView->setColumnWidth(column, kColumnWidths[column]);
  }
}

void TFLogi::BitBtn1Click() { setModalResult(mrOk); }

void TFLogi::BitBtn2Click() {
  const std::string file = (strFunGetMainDirPath(&FGlowna->DataStore) / "logs.sqdb").text();
  if (!bFunSendMail("Logi", kSupportAddress, "Logi programu Kestal-Dorvantum", file, "logs.sqdb"))
    MessageBox(cp1250("Błąd podczas próby wysłania maila"), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
}
