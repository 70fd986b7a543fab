// Cost of drawing a certificate-sized layout (100 rows: 60 values over two
// sides, 40 dotted lines) for the printer and for the preview, beside the
// floor: the same texts and dots drawn by bare QPainter calls into a QPicture.
#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "render/FieldDrawing.h"
#include "render/PageRenderer.h"
#include "render/Pages.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Components.h"
#include "toolkit/Form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPicture>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TBenchForm : public TDialogForm {
 public:
  TBenchForm() : TDialogForm("FBench") {}
};

// Folders, the layout in a calibration file, the form with its values.
struct TBenchSetup {
  std::string root;
  std::string calibFile;
  std::vector<TCalibRecord> rows;
  TBenchForm form;

  TBenchSetup() {
    root = (fs::temp_directory_path() / "tarvek-render-bench").string();
    fs::remove_all(root);
    fs::create_directories(root + "/program");
    ::setenv("TARVEK_COMMON_DATA_DIR", (root + "/common").c_str(), 1);
    ::setenv("TARVEK_USER_NAME", "bench", 1);
    platform::setProgramFolder(root + "/program");
    TDataStore ds;
    const std::string data = strFunGetMainDirPath(&ds);
    fs::create_directories(data + "/grafika");
    for (const char* picture : {"sw_str1_prw.bmp", "sw_str2_prw.bmp"})
      fs::copy_file(fs::path(TARVEK_BUILT_PROGRAM_DIR) / "grafika" / picture, data + "/grafika/" + picture);

    for (int i = 0; i < 100; ++i) {
      TCalibRecord r;
      const int side = i < 50 ? 1 : 2;
      const int line = i % 50;
      r.x1 = 110;
      r.x2 = 775;
      r.y2 = 120 + (line / 2) * 44;
      r.y1 = r.y2 - 30;
      r.font_name = "Times New Roman";
      r.font_size = 12;
      r.font_align = line % 3;
      const std::string stem = "Pole" + std::to_string(i) + "_STR" + std::to_string(side);
      if (line % 5 == 4) {
        r.name = stem + "_LINIA_Z_KROPEK";
      } else {
        r.name = "ZMIENNA_" + stem + "_DATA_EDIT";
        auto* edit = form.Make<QLineEdit>(QString::fromStdString(r.name), &form);
        bFunSetText(edit, cp1250("Wartość pola ") + std::to_string(i));
      }
      rows.push_back(r);
    }
    calibFile = root + "/kalibracja.sqset";
    CppSQLite3DB db;
    db.openFile(calibFile);
    db.runStatement(
        "create table `tarvek_klasa_Ia`( name TEXT, x1 INTEGER, y1 INTEGER, x2 INTEGER, y2 INTEGER, font_name TEXT, "
        "font_size INTEGER, font_align INTEGER, font_style_bold INTEGER, font_style_italic INTEGER, "
        "font_style_underline INTEGER, font_style_strike INTEGER )");
    db.runStatement("begin transaction");
    for (const TCalibRecord& r : rows)
      db.runStatement("insert into `tarvek_klasa_Ia` values('" + r.name.str() + "', " + std::to_string(r.x1) + ", " +
                      std::to_string(r.y1) + ", " + std::to_string(r.x2) + ", " + std::to_string(r.y2) +
                      ", 'Times New Roman', 12, " + std::to_string(r.font_align) + ", 0, 0, 0, 0)");
    db.runStatement("commit transaction");
    db.closeFile();
  }
  ~TBenchSetup() { fs::remove_all(root); }
};

TBenchSetup& setup() {
  static TBenchSetup instance;
  return instance;
}

// The render of the main window for the printer: the table is read, the
// rows are drawn from the form's fields.
void renderForPrint(TDataStore& ds, TBenchSetup& s) {
  std::vector<TCalibRecord> rows;
  vFunPreparePageCanvases(&ds);
  bFunCalibLoadData(&ds, s.calibFile, "tarvek_klasa_Ia", rows);
  vFunDrawLayoutRows(&ds, &s.form, dkKlasaIa, rows);
}

void BM_Floor(benchmark::State& state) {
  TBenchSetup& s = setup();
  std::vector<QString> texts;
  for (const TCalibRecord& r : s.rows)
    texts.push_back(QString::fromStdString(cp1250ToUtf8(strFunGetText(s.form.findComponent(r.name)))));
  QPicture pages[2];
  for (auto _ : state) {
    QPainter side1(&pages[0]), side2(&pages[1]);
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
      const TCalibRecord& r = s.rows[i];
      QPainter& p = i < 50 ? side1 : side2;
      QFont font(QStringLiteral("Times New Roman"));
      font.setPixelSize(16);
      p.setFont(font);
      if (texts[i].isEmpty()) {
        for (int x = r.x1; x < r.x2; x += 6) p.drawText(QPoint(x, r.y2), QStringLiteral("."));
        continue;
      }
      const int top = r.y2 - 21;
      p.drawText(QRect(r.x1, top, r.x2 - r.x1, r.y2 - top), Qt::AlignLeft | Qt::TextDontClip, texts[i]);
    }
  }
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond);

void BM_RenderPrint(benchmark::State& state) {
  TBenchSetup& s = setup();
  TDataStore ds;
  vFunCreatePages(&ds);
  for (auto _ : state) {
    renderForPrint(ds, s);
    vFunClosePageCanvases(&ds);
  }
  vFunDeletePages(&ds);
}
BENCHMARK(BM_RenderPrint)->Unit(benchmark::kMicrosecond);

// The preview adds the two pictures of the blank (read from the data
// folder) and the stretch of both pages onto them.
void BM_RenderPreview(benchmark::State& state) {
  TBenchSetup& s = setup();
  TDataStore ds;
  vFunCreatePages(&ds);
  TImage image1, image2;
  for (auto _ : state) {
    renderForPrint(ds, s);
    vFunLoadPreviewBackground(&ds, dkKlasaIa, 1, &image1);
    vFunLoadPreviewBackground(&ds, dkKlasaIa, 2, &image2);
    vFunShowPages(&ds, &image1, &image2);
  }
  vFunDeletePages(&ds);
}
BENCHMARK(BM_RenderPreview)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
