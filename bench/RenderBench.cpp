// Cost of drawing a certificate-sized layout (100 rows: 60 values over two
// sides, 40 dotted lines) for the printer and for the preview, beside the
// floor: the same texts and dots drawn by bare QPainter calls into a QPicture
// (see TPrintFloor), each timed beside the other in the same run.
#include "FloorPair.h"
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
  TSystemPath calibFile;
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
    const std::string data = strFunGetMainDirPath(&ds).bytes();
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
    calibFile = TSystemPath(root) / "kalibracja.sqset";
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

// What the floor draws of a layout row: known before the render, as the
// program knows its layout and values.
struct TFloorRow {
  int page;
  QRectF rect;
  int flags;
  QString text;
  bool dots;
};

// The print render's floor: the layout's texts and dotted lines drawn onto
// two page pictures with the fonts made once, each dotted line one text
// whose dots stand 6 units apart (as the program draws it), texts first and
// dots after on each page so each painter changes its font once.
struct TPrintFloor {
  std::vector<TFloorRow> rows;
  QFont textFont, dotFont;
  QPicture pages[2];

  explicit TPrintFloor(TBenchSetup& s) : textFont(QStringLiteral("Times New Roman")), dotFont(textFont) {
    textFont.setPixelSize(16);
    dotFont.setPixelSize(14);
    dotFont.setLetterSpacing(QFont::AbsoluteSpacing, 6 - QFontMetricsF(dotFont).horizontalAdvance(QLatin1Char('.')));
    for (const TCalibRecord& r : s.rows) {
      const QString text = QString::fromStdString(cp1250ToUtf8(strFunGetText(s.form.findComponent(r.name))));
      const int page = r.name.str().find("_STR2_") != std::string::npos ? 1 : 0;
      if (text.isEmpty()) {
        rows.push_back({page, QRectF(r.x1, r.y2 - 14, r.x2 - r.x1 + 6, 20), Qt::AlignLeft | Qt::AlignTop,
                        QString((r.x2 - r.x1 + 5) / 6, QLatin1Char('.')), true});
        continue;
      }
      const int align = r.font_align == 0 ? Qt::AlignLeft : r.font_align == 2 ? Qt::AlignRight : Qt::AlignHCenter;
      const int top = r.y2 - 21;
      rows.push_back({page, QRectF(r.x1, top, r.x2 - r.x1, r.y2 - top), align | Qt::TextDontClip, text, false});
    }
  }

  void draw() {
    for (int page = 0; page < 2; ++page) {
      QPainter p(&pages[page]);
      p.setFont(textFont);
      for (const TFloorRow& row : rows)
        if (row.page == page && !row.dots) p.drawText(row.rect, row.flags, row.text);
      p.setFont(dotFont);
      for (const TFloorRow& row : rows)
        if (row.page == page && row.dots) p.drawText(row.rect, row.flags, row.text);
    }
  }
};

void BM_RenderPrint(benchmark::State& state) {
  TBenchSetup& s = setup();
  TDataStore ds;
  vFunCreatePages(&ds);
  TPrintFloor floor(s);
  bench::timePair(
      state, "render for print",
      [&] {
        renderForPrint(ds, s);
        vFunClosePageCanvases(&ds);
      },
      [&] { floor.draw(); });
  vFunDeletePages(&ds);
}
BENCHMARK(BM_RenderPrint)->Iterations(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The preview adds the two pictures of the blank (read from the data
// folder) and the stretch of both pages onto them. Its floor: the print
// floor's pages, each stretched onto a canvas kept from round to round over
// its background, decoded once (as the program decodes each once a run).
void BM_RenderPreview(benchmark::State& state) {
  TBenchSetup& s = setup();
  TDataStore ds;
  vFunCreatePages(&ds);
  TImage image1, image2;
  TPrintFloor floor(s);
  TDataStore paths;
  const QString grafika = QString::fromStdString(strFunGetMainDirPath(&paths).bytes()) + "/grafika/";
  const QImage backgrounds[2] = {QImage(grafika + "sw_str1_prw.bmp").convertToFormat(QImage::Format_RGB32),
                                 QImage(grafika + "sw_str2_prw.bmp").convertToFormat(QImage::Format_RGB32)};
  QImage canvas[2] = {backgrounds[0].copy(), backgrounds[1].copy()};
  const QRectF area(kPreviewLeft, kPreviewTop, kPreviewRight - kPreviewLeft, kPreviewBottom - kPreviewTop);
  bench::timePair(
      state, "render for preview",
      [&] {
        renderForPrint(ds, s);
        vFunLoadPreviewBackground(&ds, dkKlasaIa, 1, &image1);
        vFunLoadPreviewBackground(&ds, dkKlasaIa, 2, &image2);
        vFunShowPages(&ds, &image1, &image2);
      },
      [&] {
        floor.draw();
        for (int page = 0; page < 2; ++page) {
          QPainter p(&canvas[page]);
          p.setCompositionMode(QPainter::CompositionMode_Source);
          p.drawImage(0, 0, backgrounds[page]);
          p.setCompositionMode(QPainter::CompositionMode_SourceOver);
          const QPicture& picture = floor.pages[page];
          p.translate(area.topLeft());
          p.scale(area.width() / kPageWidth * picture.logicalDpiX() / canvas[page].logicalDpiX(),
                  area.height() / kPageHeight * picture.logicalDpiY() / canvas[page].logicalDpiY());
          p.drawPicture(0, 0, picture);
        }
      });
  vFunDeletePages(&ds);
}
BENCHMARK(BM_RenderPreview)->Iterations(50)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
