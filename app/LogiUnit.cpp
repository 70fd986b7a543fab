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

}  // namespace

bool bFunSendMail(const std::string& subject, const std::string& recipient, const std::string& note,
                  const std::string& filePath, const std::string& /*fileName*/) {
  // The mail program names the attachment after the file itself.
  return platform::sendMail(subject, recipient, note, filePath);
}

TFLogi::TFLogi(QWidget* parent) : TDialogForm("FLogi", parent) {
  setWindowTitle(qt("Logi programu"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(799, 450);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  LogsListView = Make<QTreeWidget>("LogsListView", this);
  LogsListView->setColumnCount(3);
  LogsListView->setHeaderLabels({qt("Data / czas"), qt("Funkcja"), qt("Informacja")});
  LogsListView->setRootIsDecorated(false);
  LogsListView->setItemsExpandable(false);
  LogsListView->setUniformRowHeights(true);
  LogsListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  LogsListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  LogsListView->setSelectionMode(QAbstractItemView::SingleSelection);
  LogsListView->header()->setStretchLastSection(false);
  LogsListView->setColumnWidth(0, 100);
  LogsListView->setColumnWidth(1, 120);
  LogsListView->setColumnWidth(2, 550);
  column->addWidget(LogsListView, 1);

  Panel1 = Make<QWidget>("Panel1", this);
  Panel1->setFixedHeight(41);
  column->addWidget(Panel1);
  BitBtn1 = Make<QPushButton>("BitBtn1", qt("OK"), Panel1);
  BitBtn1->setGeometry(799 - 8 - 90, 7, 90, 27);
  BitBtn2 = Make<QPushButton>("BitBtn2", qt("Wyślij plik z logami"), Panel1);
  BitBtn2->setGeometry(8, 7, 160, 27);
  BitBtn2->setVisible(false);

  vFunOnClick(BitBtn1, [this] { BitBtn1Click(); });
  vFunOnClick(BitBtn2, [this] { BitBtn2Click(); });
}

void TFLogi::FormShow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
  LogsListView->clear();
  std::vector<TLogRecord> rows;
  // An unreadable log shows an empty list; the data store has logged why.
  if (!bFunSqlGetLogsData(&FGlowna->DataStore, rows)) return;
  QList<QTreeWidgetItem*> items;
  for (const TLogRecord& row : rows)
    items << new QTreeWidgetItem(QStringList {qtText(row.datetime), qtText(row.fun), qtText(row.info)});
  LogsListView->addTopLevelItems(items);
}

void TFLogi::BitBtn1Click() { setModalResult(mrOk); }

void TFLogi::BitBtn2Click() {
  const std::string file = strFunGetMainDirPath(&FGlowna->DataStore) + "/" + "logs.sqdb";
  if (!bFunSendMail("Logi", kSupportAddress, "Logi programu Kestal-Dorvantum", file, "logs.sqdb"))
    MessageBox(cp1250("Błąd podczas próby wysłania maila"), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
}
