// What a user does many times a day, each timed beside its floor (raw
// SQLite and bare Qt doing the same work) in the same iteration, so both
// see the same machine and the same caches:
//
//   save     OK in a form: the whole student is written and the tree shown
//            again; floor: the texts of the value fields read from the
//            widgets, and the student's table replaced in one transaction,
//            the rows through one prepared statement; and a floor with the
//            statements the program must run, each row inserted by a
//            statement of its own text (see floorSave);
//   select   a document chosen in the tree: the student loaded into the 23
//            holders and the certificate previewed; floor: the student's
//            rows read, the texts of bare widgets of the same number set
//            where they change, the layout's texts drawn onto two page
//            pictures, those put over the two backgrounds (decoded once) on
//            two canvases kept from round to round, and the page repainted;
//   print    a certificate rendered for the printer and printed into a PDF
//            file; floor: the same texts, dots and marks drawn with bare
//            QPainter calls onto QPdfWriter;
//   open     a document file opened until the tree is shown; plain floor:
//            the bytes copied by the kernel into a new file, flushed and
//            put in place, the list of the students' names, and a bare
//            tree of as many nodes shown; and a floor with the check the
//            program makes of every file it opens (see floorCopyBytes);
//            also the peak resident memory of a process that opens the
//            document, the program's and a bare Qt program's holding the
//            same student list (see BM_OpenPeakMemory);
//   Zapisz   the open document saved into its file after a change of one
//            student; floor: the working copy's bytes copied by the kernel
//            into a new file beside the document, flushed, read back whole,
//            renamed over a document of the same size, the folder flushed
//            (see floorZapisz).
//
// Every work on documents of 50, 500 and 2000 students, each student's
// table as large as that of a filled class (every form's sample values). Each benchmark reports the medians of the program
// and of the floor and their ratio as counters (FloorPair.h).
#include "FloorPair.h"
#include "app/DaneUczniaUnit.h"
#include "app/GlownaUnit.h"
#include "app/Startup.h"
#include "app/WaitUnit.h"
#include "forms/DocumentForms.h"
#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "render/DocumentKinds.h"
#include "render/FieldDrawing.h"
#include "render/PageRenderer.h"
#include "render/Pages.h"
#include "render/PrintJob.h"
#include "store/OpenedFile.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Components.h"
#include "toolkit/Dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::Clock;
using bench::msSince;
using bench::TSamples;

void check(int rc, sqlite3* db, const char* what) {
  if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return;
  throw std::runtime_error(std::string(what) + ": " + (db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)));
}

void exec(sqlite3* db, const std::string& sql) { check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql.c_str()); }

sqlite3* openDb(const std::string& path) {
  sqlite3* db = nullptr;
  check(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), db, path.c_str());
  return db;
}

// ---------------------------------------------------------------- the world

using Row = std::array<std::string, 3>;  // id, comp_name, value (Windows-1250)

struct TStudent {
  std::string table;
  std::vector<Row> rows;
};

const char* const kSurnames[] = {
    "Nowak", "Kowalski", "Wiśniewski", "Wójcik", "Kowalczyk", "Kamiński", "Lewandowski", "Zieliński", "Szymański",
    "Woźniak", "Dąbrowski", "Kozłowski", "Jankowski", "Mazur", "Kwiatkowski", "Krawczyk", "Piotrowski",
    "Grabowski", "Nowakowski", "Pawłowski", "Michalski", "Nowicki", "Adamczyk", "Dudek", "Zając", "Wieczorek",
    "Jabłoński", "Król", "Majewski", "Olszewski", "Jaworski", "Wróbel", "Malinowski", "Pawlak", "Witkowski",
    "Walczak", "Stępień", "Górski", "Rutkowski", "Michalak", "Sikora", "Ostrowski", "Baran", "Duda", "Szewczyk",
    "Łukasiewicz", "Łabędź", "Ślusarczyk", "Żak", "Ćwik", "Érdi"};
const char* const kNames[] = {"Anna", "Jan", "Ewa", "Piotr", "Łucja", "Zofia", "Michał", "Żaneta", "Ścibor",
                              "Katarzyna", "Tomasz", "Agnieszka", "Paweł", "Ola", "Bartłomiej", "Jakub", "Maja"};

// Every holder filled with the forms' sample values, collected as the save
// collects them: one student's rows as the program stores them, as many and
// as large as those of a filled class.
std::vector<Row> sampleRows() {
  bFunSetText(FDaneUcznia->findComponent("UrodzonyDnia_DATA_EDIT"), "1 maja 2001");
  bFunSetText(FDaneUcznia->findComponent("UrodzonyRok_DATA_COMBOBOX"), "2001 r.");
  bFunSetText(FDaneUcznia->findComponent("UrodzonyMiasto_DATA_COMBOBOX"), cp1250("Kraków"));
  bFunSetText(FDaneUcznia->findComponent("UrodzonyWoj_DATA_COMBOBOX"), cp1250("małopolskie"));
  bFunSetText(FDaneUcznia->findComponent("NrDziennika_DATA_EDIT"), "12");
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFillSampleData();
  std::vector<TDataRecord> records;
  FDaneUcznia->vFunFormDataToList(records);
  for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(records);
  std::vector<Row> rows;
  for (const TDataRecord& r : records) rows.push_back({r.id.str(), r.comp_name.str(), r.value.str()});
  return rows;
}

// Student i: its own name, PESEL number, sex, and a fifth of the values
// its own, so two students differ as two real ones do.
TStudent student(const std::vector<Row>& sample, int i) {
  TStudent s;
  const std::string pesel = std::to_string(90010100000LL + 7919LL * i);
  s.table = "PESEL" + pesel;
  s.rows = sample;
  int k = 0;
  for (Row& r : s.rows) {
    ++k;
    if (r[0] == "DANE UCZNIA") {
      if (r[1] == "Nazwisko_DATA_EDIT") r[2] = cp1250FromUtf8(kSurnames[(i * 7) % std::size(kSurnames)]);
      if (r[1] == "Imie_DATA_EDIT") r[2] = cp1250FromUtf8(kNames[(i * 5) % std::size(kNames)]);
      if (r[1] == "NrPesel_DATA_EDIT") r[2] = pesel;
      if (r[1] == "Plec_DATA_COMBOBOX") r[2] = i % 2 ? cp1250("mężczyzna") : "kobieta";
      if (r[1] == "NrDziennika_DATA_EDIT") r[2] = std::to_string(1 + i % 35);
      continue;
    }
    if (!r[2].empty() && k % 5 == i % 5) r[2] += " " + std::to_string(i % 97);
  }
  return s;
}

void writeDocument(const std::string& path, const std::vector<Row>& sample, int count) {
  fs::remove(path);
  sqlite3* db = openDb(path);
  exec(db, "begin transaction");
  for (int i = 0; i < count; ++i) {
    const TStudent s = student(sample, i);
    exec(db, "create table `" + s.table + "`( id TEXT, comp_name TEXT, value TEXT )");
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, ("insert into `" + s.table + "` values(?, ?, ?)").c_str(), -1, &insert, nullptr), db,
          "prepare");
    for (const Row& r : s.rows) {
      for (int c = 0; c < 3; ++c) sqlite3_bind_text(insert, c + 1, r[c].data(), static_cast<int>(r[c].size()), SQLITE_TRANSIENT);
      check(sqlite3_step(insert), db, "insert");
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
  }
  exec(db, "commit transaction");
  sqlite3_close(db);
}

// A bare widget that paints a page picture, as the preview shows a page.
class TBarePage : public QWidget {
 public:
  explicit TBarePage(const QImage* page) : page_(page) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(0, 0, *page_);
  }

 private:
  const QImage* page_;
};

struct TWorld {
  std::string root;
  std::unique_ptr<TScriptedDialogs> dialogs;
  std::map<int, std::string> documents;  // students -> file (UTF-8)
  int opened = 0;                        // students of the document open now
  std::vector<QObject*> valueFields;     // every value field of the 23 holders
  QImage background1, background2;       // the floor's backgrounds, decoded once
  QImage canvas[2];                      // the floor's pages, kept between rounds
  // The floor's bare widgets, one for each value field of the holders, by
  // the tag and name of the row it shows.
  std::unique_ptr<QWidget> bareForm;
  std::map<std::pair<std::string, std::string>, QWidget*> bareFields;
  std::unique_ptr<QWidget> barePreview;  // shows canvas[0]
  std::unique_ptr<QTreeWidget> bareTree;
  std::unique_ptr<QSvgRenderer> eagle;   // the floor's marks, read once
  QImage stamp;

  TWorld() {
    // A folder of this run's own: two runs at once (other builds of the
    // bench on the same machine) never remove each other's documents.
    root = (fs::temp_directory_path() / ("tarvek-user-paths-bench-" + std::to_string(::getpid()))).string();
    fs::remove_all(root);
    fs::create_directories(root + "/program");
    fs::create_directories(root + "/common");
    ::setenv("TARVEK_COMMON_DATA_DIR", (root + "/common").c_str(), 1);
    ::setenv("TARVEK_USER_NAME", "bench", 1);
    ::setenv("TARVEK_UPDATE_URL", "http://127.0.0.1:9", 1);
    const fs::path built(TARVEK_BUILT_PROGRAM_DIR);
    for (const auto& entry : fs::recursive_directory_iterator(built)) {
      if (!entry.is_regular_file()) continue;
      const fs::path target = fs::path(root + "/program") / fs::relative(entry.path(), built);
      fs::create_directories(target.parent_path());
      fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
    platform::setProgramFolder(root + "/program");
    dialogs = std::make_unique<TScriptedDialogs>();
    dialogs->onShowModal = [](QDialog*) { return mrCancel; };

    vFunUtworzOkna();
    FGlowna->vFunInicjalizacja();
    FGlowna->resize(1366, 768);
    FGlowna->show();
    QApplication::processEvents();

    FDaneUcznia->vFunClearFormData();
    const std::vector<Row> sample = sampleRows();
    for (int count : {50, 500, 2000}) {
      documents[count] = root + "/klasa " + std::to_string(count) + " uczniów.sqtvk";
      writeDocument(documents[count], sample, count);
    }
    std::printf("documents: %zu rows and %.0f KB a student\n", sample.size(),
                static_cast<double>(fs::file_size(documents[500])) / 500 / 1024);
    bareForm = std::make_unique<QWidget>();
    auto collect = [this](const TComponentRegistry& form, const std::string& tag) {
      for (int i = 0; i < form.ComponentCount(); ++i) {
        const std::string name = form.ComponentName(i).toStdString();
        QObject* field = form.Components(i);
        if (!field) continue;
        QWidget* bare = nullptr;
        if (name.find("_DATA_EDIT") != std::string::npos)
          bare = new QLineEdit(bareForm.get());
        else if (name.find("_DATA_COMBOBOX") != std::string::npos) {
          auto* combo = new QComboBox(bareForm.get());
          combo->setEditable(true);
          bare = combo;
        } else if (name.find("_DATA_MEMO") != std::string::npos)
          bare = new QPlainTextEdit(bareForm.get());
        if (!bare) continue;
        valueFields.push_back(field);
        bareFields.emplace(std::make_pair(tag, name), bare);
      }
    };
    collect(*FDaneUcznia, "DANE UCZNIA");
    for (TDocumentForm* form : vFunDocumentForms()) collect(*form, form->strFunTag());

    TDataStore ds;
    const QString grafika = QString::fromStdString(strFunGetMainDirPath(&ds).bytes()) + "/grafika/";
    background1 = QImage(grafika + "sw_str1_prw.bmp").convertToFormat(QImage::Format_RGB32);
    background2 = QImage(grafika + "sw_str2_prw.bmp").convertToFormat(QImage::Format_RGB32);
    eagle = std::make_unique<QSvgRenderer>(grafika + "orzel.svg");
    stamp = QImage(grafika + "m_p.bmp");
    canvas[0] = background1.copy();
    canvas[1] = background2.copy();
    barePreview = std::make_unique<TBarePage>(&canvas[0]);
    barePreview->resize(FGlowna->Image1->size());
    barePreview->show();
    bareTree = std::make_unique<QTreeWidget>();
    bareTree->resize(FGlowna->TreeView->size());
    bareTree->show();
    QApplication::processEvents();
  }
  ~TWorld() {
    dialogs.reset();
    fs::remove_all(root);
  }

  std::string workingCopy() { return strFunGetTmpFilePath(&FGlowna->DataStore).bytes(); }

  void open(int count) {
    if (opened == count) return;
    if (!FGlowna->bFunWczytajPlikSwiadectw(TSystemPath(documents.at(count)))) throw std::runtime_error("open failed");
    QApplication::processEvents();
    opened = count;
  }
};

std::unique_ptr<TWorld> gWorld;
TWorld& world() { return *gWorld; }

// The node of a student's document (child 0: the first certificate of the
// current blanks), the student counted in the tree's order.
QTreeWidgetItem* documentNode(int student, int child = 0) {
  QTreeWidgetItem* node = FGlowna->TreeView->topLevelItem(student);
  return node ? node->child(child) : nullptr;
}

std::string sized(const char* work, const benchmark::State& state) {
  return std::string(work) + "/" + std::to_string(state.range(0));
}

// ---------------------------------------------------------------- floors

// The value fields' texts as bare Qt reads them.
std::vector<QByteArray> readValueFields() {
  std::vector<QByteArray> texts;
  texts.reserve(world().valueFields.size());
  for (QObject* o : world().valueFields) {
    if (auto* edit = qobject_cast<QLineEdit*>(o))
      texts.push_back(edit->text().toUtf8());
    else if (auto* combo = qobject_cast<QComboBox*>(o))
      texts.push_back(combo->currentText().toUtf8());
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(o))
      texts.push_back(memo->toPlainText().toUtf8());
  }
  return texts;
}

// The student's table replaced in one transaction: dropped, made again and
// its rows inserted through one prepared statement, or, in the floor with
// the prescribed statements, each row by an insert statement of its own
// text, its value's quotes doubled, as the program must write them.
std::string quotesDoubled(const std::string& text) {
  std::string doubled;
  for (char c : text) {
    doubled += c;
    if (c == '\'') doubled += c;
  }
  return doubled;
}

void floorSave(const std::string& file, const std::string& table, const std::vector<TDataRecord>& rows,
               bool prescribed) {
  sqlite3* db = openDb(file);
  exec(db, "begin transaction;");
  exec(db, "drop table `" + table + "`");
  exec(db, "create table `" + table + "`( id TEXT, comp_name TEXT, value TEXT )");
  if (prescribed) {
    for (const TDataRecord& r : rows)
      exec(db, "insert into `" + table + "`( id, comp_name, value ) values( '" + quotesDoubled(r.id.str()) + "', '" +
                   quotesDoubled(r.comp_name.str()) + "', '" + quotesDoubled(r.value.str()) + "' )");
  } else {
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, ("insert into `" + table + "` values(?, ?, ?)").c_str(), -1, &insert, nullptr), db,
          "prepare");
    for (const TDataRecord& r : rows) {
      sqlite3_bind_text(insert, 1, r.id.c_str(), static_cast<int>(r.id.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 2, r.comp_name.c_str(), static_cast<int>(r.comp_name.size()), SQLITE_STATIC);
      sqlite3_bind_text(insert, 3, r.value.c_str(), static_cast<int>(r.value.size()), SQLITE_STATIC);
      check(sqlite3_step(insert), db, "insert");
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
  }
  exec(db, "commit transaction;");
  sqlite3_close(db);
}

std::vector<Row> floorReadStudent(const std::string& file, const std::string& table) {
  sqlite3* db = openDb(file);
  sqlite3_stmt* q = nullptr;
  check(sqlite3_prepare_v2(db, ("select id, comp_name, value from `" + table + "`").c_str(), -1, &q, nullptr), db,
        "select");
  std::vector<Row> rows;
  while (sqlite3_step(q) == SQLITE_ROW) {
    Row r;
    for (int c = 0; c < 3; ++c) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(q, c));
      r[c] = text ? text : "";
    }
    rows.push_back(std::move(r));
  }
  sqlite3_finalize(q);
  sqlite3_close(db);
  return rows;
}

// The rows' texts put into the bare widgets, each only where it changes.
void floorSetTexts(const std::vector<Row>& rows) {
  for (const Row& r : rows) {
    const auto it = world().bareFields.find({r[0], r[1]});
    if (it == world().bareFields.end()) continue;
    const QString text = QString::fromStdString(cp1250ToUtf8(r[2]));
    if (auto* edit = qobject_cast<QLineEdit*>(it->second)) {
      if (edit->text() != text) edit->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(it->second)) {
      if (combo->currentText() != text) combo->setEditText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(it->second)) {
      if (memo->toPlainText() != text) memo->setPlainText(text);
    }
  }
}

// What a layout row draws, as bare drawing needs it.
struct TFloorItem {
  int page;
  QRectF rect;
  QFont font;
  int flags;
  QString text;
  bool dots = false;
  int mark = -1;  // 0 eagle, 1 stamp
};

QFont fontOf(const TCalibRecord& r, int pixels) {
  QFont font(QString::fromStdString(cp1250ToUtf8(r.font_name.str())));
  font.setPixelSize(pixels);
  font.setBold(r.font_style_bold != 0);
  font.setItalic(r.font_style_italic != 0);
  font.setUnderline(r.font_style_underline != 0);
  font.setStrikeOut(r.font_style_strike != 0);
  return font;
}

// The layout of the first certificate of the current blanks with the texts
// of the student's rows (tag of its form) and the form's fixed texts.
std::vector<TFloorItem> floorItems(const std::vector<TCalibRecord>& layout, const std::vector<Row>& rows, bool marks) {
  const std::string tag = frmFunFormOfKind(dkKlasaIa)->strFunTag();
  std::map<std::string, std::string> values;
  for (const Row& r : rows)
    if (r[0] == tag) values.emplace(r[1], r[2]);
  std::vector<TFloorItem> items;
  for (const TCalibRecord& r : layout) {
    const std::string& name = r.name.str();
    const int page = name.find("_STR2_") != std::string::npos ? 2 : 1;
    if (name.find("GRAFIKA: ORZELEK") != std::string::npos || name.find("GRAFIKA: PIECZATKA") != std::string::npos) {
      if (!marks) continue;
      TFloorItem item {1, rectFunEdges(r.x1, r.y1, r.x2, r.y2), fontOf(r, 16), Qt::AlignCenter, QStringLiteral("m.p.")};
      item.mark = name.find("ORZELEK") != std::string::npos ? 0 : 1;
      items.push_back(item);
      continue;
    }
    if (name.find("_LINIA_Z_KROPEK") != std::string::npos) {
      QFont font(QStringLiteral("Times New Roman"));
      font.setPixelSize(19);
      const int count = std::max(0, (r.x2 - r.x1 + 5) / 6);
      font.setLetterSpacing(QFont::AbsoluteSpacing, 6 - QFontMetricsF(font).horizontalAdvance(QLatin1Char('.')));
      TFloorItem item {page, QRectF(r.x1, r.y2 - 14, r.x2 - r.x1 + 6, 20), font, Qt::AlignLeft | Qt::AlignTop,
                       QString(count, QLatin1Char('.'))};
      item.dots = true;
      items.push_back(item);
      continue;
    }
    std::string text;
    if (const auto it = values.find(name); it != values.end())
      text = it->second;
    else if (QObject* label = frmFunFormOfKind(dkKlasaIa)->findComponent(name); label && kindOf(label) == TComponentKind::Label)
      text = strFunGetText(label);
    if (text.empty()) continue;
    const int pixels = iFunFontPixels(r.font_size);
    const int top = r.y2 - pixels - pixels / 4;
    const int align = r.font_align == 0 ? Qt::AlignLeft : r.font_align == 2 ? Qt::AlignRight : Qt::AlignHCenter;
    items.push_back({page, QRectF(r.x1, top, r.x2 - r.x1, r.y2 - top), fontOf(r, pixels), align | Qt::TextDontClip,
                     QString::fromStdString(cp1250ToUtf8(text))});
  }
  return items;
}

void floorDraw(QPainter& p, const std::vector<TFloorItem>& items, int page) {
  for (const TFloorItem& item : items) {
    if (item.page != page) continue;
    if (item.mark == 0) {
      world().eagle->render(&p, item.rect);
      continue;
    }
    if (item.mark == 1) p.drawImage(item.rect, world().stamp);
    p.setFont(item.font);
    p.drawText(item.rect, item.flags, item.text);
  }
}

std::vector<TCalibRecord> layoutOf(TDocKind kind) {
  std::vector<TCalibRecord> rows;
  bFunCalibLoadData(&FGlowna->DataStore, strFunGetCalibFilePath(&FGlowna->DataStore, false),
                    strFunCalibTableName(kind, false), rows);
  return rows;
}

// ---------------------------------------------------------------- benchmarks

void BM_Save(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  w.open(count);
  // A student in the middle of the tree, loaded as a click loads it.
  FGlowna->TreeView->setCurrentItem(documentNode(count / 2));
  const std::string table = FGlowna->strFunTabelaZDrzewa();
  const std::string file = w.workingCopy();
  TSamples samples, prescribed;
  std::vector<double> collect, wait;
  for (auto _ : state) {
    auto start = Clock::now();
    FGlowna->bFunZapiszDaneUcznia();
    QApplication::processEvents();
    const double program = msSince(start);
    samples.program.push_back(program);
    prescribed.program.push_back(program);
    state.SetIterationTime(program / 1000);

    for (TSamples* floor : {&samples, &prescribed}) {
      start = Clock::now();
      benchmark::DoNotOptimize(readValueFields());
      floorSave(file, table, FGlowna->CertDataList, floor == &prescribed);
      floor->floor.push_back(msSince(start));
    }

    // Where the program's time goes: the rows collected from the holders,
    // the wait window shown and closed.
    start = Clock::now();
    std::vector<TDataRecord> rows;
    FDaneUcznia->vFunFormDataToList(rows);
    for (TDocumentForm* form : vFunDocumentForms()) form->vFunFormDataToList(rows);
    collect.push_back(msSince(start));
    start = Clock::now();
    FWait->Show();
    FWait->repaint();
    FWait->Close();
    QApplication::processEvents();
    wait.push_back(msSince(start));
  }
  state.counters["collect_ms"] = bench::median(collect);
  state.counters["wait_window_ms"] = bench::median(wait);
  std::printf("  of it: rows collected %.2f ms, wait window %.2f ms\n", bench::median(collect), bench::median(wait));
  samples.report(state, sized("save", state));
  prescribed.report(state, sized("save, floor prescribed", state), "prescribed_");
}
BENCHMARK(BM_Save)->Arg(50)->Arg(500)->Arg(2000)->Iterations(15)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_Select(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  w.open(count);
  const std::vector<TCalibRecord> layout = layoutOf(dkKlasaIa);
  const std::string file = w.workingCopy();
  const QRectF pageArea(kPreviewLeft, kPreviewTop, kPreviewRight - kPreviewLeft, kPreviewBottom - kPreviewTop);
  TSamples samples;
  int turn = 0;
  for (auto _ : state) {
    // Two students in turn, as a user goes from one to the next.
    QTreeWidgetItem* node = documentNode(turn++ % 2 ? count / 3 : count / 2);
    auto start = Clock::now();
    FGlowna->TreeView->setCurrentItem(node);
    QApplication::processEvents();
    const double program = msSince(start);
    samples.program.push_back(program);
    state.SetIterationTime(program / 1000);

    const std::string table = FGlowna->strFunTabelaZDrzewa();
    start = Clock::now();
    const std::vector<Row> rows = floorReadStudent(file, table);
    floorSetTexts(rows);
    const std::vector<TFloorItem> items = floorItems(layout, rows, false);
    QPicture pages[2];
    for (int page = 1; page <= 2; ++page) {
      QPainter p(&pages[page - 1]);
      floorDraw(p, items, page);
    }
    for (int page = 0; page < 2; ++page) {
      QPainter p(&w.canvas[page]);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.drawImage(0, 0, page ? w.background2 : w.background1);
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      vFunStretchPicture(p, pages[page], pageArea);
    }
    w.barePreview->repaint();
    samples.floor.push_back(msSince(start));
  }
  samples.report(state, sized("select", state));
}
BENCHMARK(BM_Select)->Arg(50)->Arg(500)->Arg(2000)->Iterations(30)->UseManualTime()->Unit(benchmark::kMillisecond);

// Both sides, A4, as the print dialog prints into a file.
const TEdges kSide1 {0, 0, 210, 297};
const TEdges kSide2 {2, 3, 209, 296};

void BM_PrintPdf(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  w.open(count);
  FGlowna->TreeView->setCurrentItem(documentNode(count / 2));
  const std::string table = FGlowna->strFunTabelaZDrzewa();
  const std::vector<TCalibRecord> layout = layoutOf(dkKlasaIa);
  const std::vector<Row> rows = floorReadStudent(w.workingCopy(), table);
  const QString programPdf = QString::fromStdString(w.root + "/program.pdf");
  const QString floorPdf = QString::fromStdString(w.root + "/floor.pdf");
  TSamples samples;
  for (auto _ : state) {
    auto start = Clock::now();
    FGlowna->vFunRysujSwiadectwo(frmFunFormOfKind(dkKlasaIa), true, dkKlasaIa, 2);
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(programPdf);
      vFunApplyJobSettings(printer, layoutFunStandardSheet(), QPrinter::DuplexLongSide);
      bFunPrintJob(printer, {{FGlowna->DataStore.Page1Metafile, kSide1}, {FGlowna->DataStore.Page2Metafile, kSide2}});
    }
    FGlowna->bPrintMode = false;
    const double program = msSince(start);
    samples.program.push_back(program);
    state.SetIterationTime(program / 1000);

    start = Clock::now();
    {
      const std::vector<TFloorItem> items = floorItems(layout, rows, true);
      QPdfWriter pdf(floorPdf);
      pdf.setPageSize(QPageSize(QPageSize::A4));
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setResolution(1200);
      QPainter p(&pdf);
      for (int page = 1; page <= 2; ++page) {
        if (page == 2) pdf.newPage();
        const TEdges mm = page == 1 ? kSide1 : kSide2;
        const double unit = 1200 / 25.4;
        p.save();
        p.translate(mm.left * unit, mm.top * unit);
        p.scale((mm.right - mm.left) * unit / kPageWidth, (mm.bottom - mm.top) * unit / kPageHeight);
        floorDraw(p, items, page);
        p.restore();
      }
    }
    samples.floor.push_back(msSince(start));
  }
  samples.report(state, sized("print to PDF", state));
}
BENCHMARK(BM_PrintPdf)->Arg(50)->Arg(500)->Arg(2000)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// The open's plain floor: what any open of a document into a working copy
// does, in the program's order: the document's bytes copied into a new file
// by the kernel (copy_file_range, no byte through user space), that file
// flushed and put in place of the last round's copy (a rename, its folder
// flushed: the working copy must outlive a crash of the machine, as the
// program's is offered back at the next start, and the last one goes), on
// one connection to it the two name rows of every student read (each read
// stops when it has both, as they lie at the table's start), and a bare
// tree of as many nodes (each student with its documents) shown.
//
// The floor with check adds what the program must do before a file becomes
// the working copy, with the same statements and the same reads (through
// SQLite's page cache, not mapped, so its memory stays bounded as the
// program's must), since a floor that checks less would accept files the
// program must refuse: the file's objects listed (tables only), each table's columns
// looked at (three TEXT columns, none generated, a key or with a default),
// and SQLite's quick_check over the whole file (a cut or damaged file). As
// the program does, it flushes the copy while it checks it, and reads the
// names and makes the nodes while quick_check reads the file; the nodes are
// shown once the copy is in place. What both floors leave to the program:
// the document held against writers while it is read, its checksum for the
// check before "Zapisz", the look for a journal or WAL of its owner's
// beside it, the records of temporaries, and the students' order.
// With `flush`, the copy is flushed before its descriptor closes.
void floorCopyBytes(const std::string& document, const std::string& to, bool flush = false) {
  const int in = ::open(document.c_str(), O_RDONLY | O_CLOEXEC);
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (in < 0 || out < 0) throw std::runtime_error("floor copy: " + std::string(std::strerror(errno)));
  for (ssize_t n = 1; n > 0;) {
    n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t {1} << 30, 0);
    if (n < 0) throw std::runtime_error("floor copy: " + std::string(std::strerror(errno)));
  }
  if (flush && ::fsync(out) != 0) throw std::runtime_error("floor flush: " + std::string(std::strerror(errno)));
  ::close(in);
  ::close(out);
}

void floorFlush(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) throw std::runtime_error("floor flush: " + std::string(std::strerror(errno)));
  ::close(fd);
}

void floorPutInPlace(const std::string& next, const std::string& copy) {
  if (::rename(next.c_str(), copy.c_str()) != 0) throw std::runtime_error("floor rename");
  floorFlush(fs::path(copy).parent_path().string());
}

std::vector<std::string> floorTables(sqlite3* db) {
  sqlite3_stmt* q = nullptr;
  std::vector<std::string> tables;
  check(sqlite3_prepare_v2(db, "select type, name from sqlite_master", -1, &q, nullptr), db, "tables");
  while (sqlite3_step(q) == SQLITE_ROW) {
    if (std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, 0))) != "table")
      throw std::runtime_error("not only tables");
    tables.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(q, 1)));
  }
  sqlite3_finalize(q);
  return tables;
}

void floorCheckTables(sqlite3* db) {
  sqlite3_stmt* q = nullptr;
  exec(db, "pragma mmap_size=0");
  for (const std::string& t : floorTables(db)) {
    static const char* const kColumns[] = {"id", "comp_name", "value"};
    check(sqlite3_prepare_v2(db, ("pragma table_xinfo(`" + t + "`)").c_str(), -1, &q, nullptr), db, "columns");
    int count = 0;
    for (; sqlite3_step(q) == SQLITE_ROW; ++count) {
      const bool plain = count < 3 && std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, 1))) == kColumns[count] &&
                         std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, 2))) == "TEXT" &&
                         sqlite3_column_int(q, 3) == 0 && sqlite3_column_type(q, 4) == SQLITE_NULL &&
                         sqlite3_column_int(q, 5) == 0 && sqlite3_column_int(q, 6) == 0;
      if (!plain) throw std::runtime_error("not a student table");
    }
    sqlite3_finalize(q);
    if (count != 3) throw std::runtime_error("not a student table");
  }
}

void floorCheckWhole(sqlite3* db) {
  sqlite3_stmt* q = nullptr;
  check(sqlite3_prepare_v2(db, "pragma quick_check", -1, &q, nullptr), db, "quick_check");
  const bool whole = sqlite3_step(q) == SQLITE_ROW &&
                     std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, 0))) == "ok";
  sqlite3_finalize(q);
  if (!whole) throw std::runtime_error("damaged");
}

// The students' nodes, read on `db` (closed here), not yet shown.
QList<QTreeWidgetItem*> floorNodes(sqlite3* db) {
  sqlite3_stmt* q = nullptr;
  std::vector<std::string> names;
  for (const std::string& t : floorTables(db)) {
    check(sqlite3_prepare_v2(db,
                             ("select comp_name, value from `" + t +
                              "` where id='DANE UCZNIA' and comp_name in ('Nazwisko_DATA_EDIT', 'Imie_DATA_EDIT')")
                                 .c_str(),
                             -1, &q, nullptr),
          db, "names");
    std::string name;
    for (int found = 0; found < 2 && sqlite3_step(q) == SQLITE_ROW; ++found)
      name += reinterpret_cast<const char*>(sqlite3_column_text(q, 1));
    names.push_back(name);
    sqlite3_finalize(q);
  }
  sqlite3_close(db);  // the copy's connection ends here

  static const QStringList documents = [] {
    QStringList texts;
    for (const TFormSpec* d : vFunTreeDocuments()) texts.append(QString::fromUtf8(d->documentName));
    texts.append(QString());
    return texts;
  }();
  QList<QTreeWidgetItem*> students;
  students.reserve(static_cast<qsizetype>(names.size()));
  for (const std::string& name : names) {
    auto* student = new QTreeWidgetItem(QStringList {QString::fromStdString(cp1250ToUtf8(name))});
    QList<QTreeWidgetItem*> children;
    for (const QString& text : documents) children.append(new QTreeWidgetItem(QStringList {text}));
    student->addChildren(children);
    students.append(student);
  }
  return students;
}

void floorShow(QTreeWidget& tree, const QList<QTreeWidgetItem*>& students) {
  tree.clear();
  tree.addTopLevelItems(students);
  QApplication::processEvents();
}

void BM_Open(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  const std::string& document = w.documents.at(count);
  const std::string copy = w.root + "/floor-copy.sqtvk", next = copy + ".next";
  TSamples plain, checked;
  for (auto _ : state) {
    auto start = Clock::now();
    if (!FGlowna->bFunWczytajPlikSwiadectw(TSystemPath(document))) throw std::runtime_error("open failed");
    QApplication::processEvents();
    const double program = msSince(start);
    w.opened = count;
    state.SetIterationTime(program / 1000);
    plain.program.push_back(program);
    checked.program.push_back(program);

    start = Clock::now();
    floorCopyBytes(document, next);
    floorFlush(next);
    floorPutInPlace(next, copy);
    floorShow(*w.bareTree, floorNodes(openDb(copy)));
    plain.floor.push_back(msSince(start));

    start = Clock::now();
    floorCopyBytes(document, next);
    auto flushed = std::async(std::launch::async, [&next] { floorFlush(next); });
    sqlite3* db = openDb(next);
    floorCheckTables(db);
    auto whole = std::async(std::launch::async, [db] { floorCheckWhole(db); });
    const QList<QTreeWidgetItem*> nodes = floorNodes(openDb(next));
    whole.get();
    sqlite3_close(db);
    flushed.get();
    floorPutInPlace(next, copy);
    floorShow(*w.bareTree, nodes);
    checked.floor.push_back(msSince(start));
  }
  std::remove(copy.c_str());
  plain.report(state, sized("open", state));
  checked.report(state, sized("open, floor with check", state), "checked_");
}
BENCHMARK(BM_Open)->Arg(50)->Arg(500)->Arg(2000)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);

// "Zapisz"'s floor: what any save that puts a new file in the document's
// place must do, in the program's order, on a document of the same size in
// the same folder: the working copy's bytes copied by the kernel into a new
// file beside the document and flushed, that file read back whole through a
// fresh open (the program reads what the disk gives back before the file
// takes the document's name: a stick may lose part of a write and say so
// only then), renamed over the document, and the folder flushed. What it
// leaves to the program: the document held and checked to be the file
// opened, the read transaction on the working copy, the new file's mode
// and owner, the checksum of what is read back, the look for its owner's
// journal beside it, and the record of the file saved.
void floorZapisz(const std::string& workingCopy, const std::string& document) {
  const std::string next = document + ".next";
  floorCopyBytes(workingCopy, next, true);
  const int in = ::open(next.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) throw std::runtime_error("floor read back: " + std::string(std::strerror(errno)));
  static std::vector<char> buffer(std::size_t {1} << 20);
  for (ssize_t n = 1; n > 0;) {
    n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) throw std::runtime_error("floor read back: " + std::string(std::strerror(errno)));
  }
  benchmark::DoNotOptimize(buffer.data());
  ::close(in);
  floorPutInPlace(next, document);
}

// "Zapisz" (the main window's command) of the open document into its file
// in a folder of the user's own, each round after a change of one student
// (its class-register number, through the student's save, not timed), so
// that every save writes something new.
void BM_Zapisz(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  w.open(count);
  const std::string& document = w.documents.at(count);
  FGlowna->StatusBar->setSimplePath(TSystemPath(document));
  FGlowna->TreeView->setCurrentItem(documentNode(count / 2));
  QApplication::processEvents();
  const std::string workingCopy = cp1250ToUtf8(w.workingCopy());
  const std::string floorDocument = w.root + "/floor " + std::to_string(count) + ".sqtvk";
  fs::copy_file(document, floorDocument, fs::copy_options::overwrite_existing);
  QObject* number = FDaneUcznia->findComponent("NrDziennika_DATA_EDIT");
  TSamples samples;
  std::vector<double> sums;
  int round = 0;
  for (auto _ : state) {
    bFunSetText(number, std::to_string(1 + round++ % 35));
    if (!FGlowna->bFunZapiszDaneUcznia()) throw std::runtime_error("the student's save failed");
    // What the change posted (the tree's and the preview's updates) is all
    // handled here, so none of it is timed as the save's.
    for (int pass = 0; pass < 3; ++pass) {
      QApplication::sendPostedEvents();
      QApplication::processEvents();
    }
    samples.time(
        state,
        [] {
          if (!FGlowna->Zapisz1Click()) throw std::runtime_error("Zapisz failed");
          QApplication::processEvents();
        },
        [&] { floorZapisz(workingCopy, floorDocument); });

    // Where the program's time goes: one checksum of the document as the
    // program takes it (of the new file it reads back; of the old one too
    // where its check cannot trust the file's change time).
    const auto start = Clock::now();
    const int fd = ::open(document.c_str(), O_RDONLY | O_CLOEXEC);
    TOpenedFile now;
    if (fd < 0 || !bFunFileNow(fd, now)) throw std::runtime_error("cannot sum the document");
    ::close(fd);
    sums.push_back(msSince(start));
  }
  state.counters["checksum_ms"] = bench::median(sums);
  std::printf("  of it: one checksum of the document %.2f ms\n", bench::median(sums));
  std::remove(floorDocument.c_str());
  samples.report(state, sized("Zapisz", state));
}
BENCHMARK(BM_Zapisz)->Arg(50)->Arg(500)->Arg(2000)->Iterations(9)->UseManualTime()->Unit(benchmark::kMillisecond);
// The peak resident memory of an open: the program started as a user
// starts it (its windows made and shown), the document opened until the
// tree shows its students; floor: a bare Qt program holding the same
// student list, the open's plain floor (the bytes copied, flushed and put in
// place, the names read and a bare tree of as many nodes shown). Each in a
// process of its own, this benchmark started again with kPeakArgument, so
// that neither the benchmark's world nor the other one's open counts in it.
constexpr char kPeakArgument[] = "--peak-of-open=";

// A line of this process's /proc/self/status in MB: "VmHWM:" the peak
// resident memory so far, "VmRSS:" the resident memory now.
double statusMb(const char* key) {
  double kb = 0;
  if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, status))
      if (std::strncmp(line, key, std::strlen(key)) == 0) kb = std::strtod(line + std::strlen(key), nullptr);
    std::fclose(status);
  }
  return kb / 1024;
}

// From here on, VmHWM counts from the resident memory of now (Linux's
// clear_refs); false where the kernel does not offer it.
bool peakFromNow() {
  std::FILE* refs = std::fopen("/proc/self/clear_refs", "we");
  if (!refs) return false;
  const bool reset = std::fputs("5", refs) >= 0;
  return std::fclose(refs) == 0 && reset;
}

// The child's work, kind "program" (its program folder under root) or
// "floor", on a document, in the data folder its environment names; its
// figures are written to stdout.
int peakOfOpen(const std::string& kind, const std::string& document, const std::string& root) {
  // What the process held and its peak until the open, which counts from
  // there on.
  double before = 0, whole = 0;
  auto openStarts = [&] {
    whole = statusMb("VmHWM:");
    before = statusMb("VmRSS:");
    return peakFromNow();
  };
  if (kind == "program") {
    platform::setProgramFolder(root + "/program");
    TScriptedDialogs dialogs;
    dialogs.onShowModal = [](QDialog*) { return mrCancel; };
    vFunUtworzOkna();
    FGlowna->vFunInicjalizacja();
    FGlowna->resize(1366, 768);
    FGlowna->show();
    QApplication::processEvents();
    if (!openStarts()) return 1;
    if (!FGlowna->bFunWczytajPlikSwiadectw(TSystemPath(document))) return 1;
    QApplication::processEvents();
  } else {
    const std::string copy = std::string(std::getenv("TARVEK_COMMON_DATA_DIR")) + "/copy.sqtvk", next = copy + ".next";
    fs::create_directories(fs::path(copy).parent_path());
    QTreeWidget tree;
    tree.resize(300, 700);
    tree.show();
    QApplication::processEvents();
    if (!openStarts()) return 1;
    floorCopyBytes(document, next);
    floorFlush(next);
    floorPutInPlace(next, copy);
    floorShow(tree, floorNodes(openDb(copy)));
  }
  // The process's peak, and how far the open took it above what the
  // process held before.
  std::printf("%.1f %.1f\n", std::max(whole, statusMb("VmHWM:")), statusMb("VmHWM:") - before);
  std::fflush(stdout);
  std::_Exit(0);  // measured; the windows need not be taken down
}

void BM_OpenPeakMemory(benchmark::State& state) {
  TWorld& w = world();
  const int count = static_cast<int>(state.range(0));
  TSamples samples;
  TSamples added;
  auto peakOf = [&](const char* kind) {
    const std::string data = w.root + "/peak-" + kind;
    fs::remove_all(data);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TARVEK_COMMON_DATA_DIR", QString::fromStdString(data));
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kPeakArgument) + kind, QString::fromStdString(w.documents.at(count)),
                 QString::fromStdString(w.root)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
      throw std::runtime_error(std::string(kind) + " child failed: " + child.readAllStandardError().right(400).toStdString());
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 2) throw std::runtime_error(std::string(kind) + " child told no peak");
    return std::pair(figures[0].toDouble(), figures[1].toDouble());
  };
  for (auto _ : state) {
    const auto start = Clock::now();
    const auto [program, programAdded] = peakOf("program");
    state.SetIterationTime(msSince(start) / 1000);
    const auto [floor, floorAdded] = peakOf("floor");
    samples.program.push_back(program);
    samples.floor.push_back(floor);
    added.program.push_back(programAdded);
    added.floor.push_back(floorAdded);
  }
  samples.report(state, sized("peak memory of open", state), "", "MB");
  added.report(state, sized("memory the open adds", state), "added_", "MB");
}
BENCHMARK(BM_OpenPeakMemory)->Arg(50)->Arg(500)->Arg(2000)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc == 4 && std::strncmp(argv[1], kPeakArgument, std::strlen(kPeakArgument)) == 0)
    return peakOfOpen(argv[1] + std::strlen(kPeakArgument), argv[2], argv[3]);
  benchmark::Initialize(&argc, argv);
  gWorld = std::make_unique<TWorld>();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  vFunZwolnijOkna();
  gWorld.reset();
  return 0;
}
