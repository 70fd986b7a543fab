#include "render/PageRenderer.h"

#include "platform/Cp1250.h"
#include "render/FieldDrawing.h"
#include "render/Pages.h"
#include "store/Folders.h"
#include "toolkit/Components.h"
#include "toolkit/Form.h"

#include <QDateTime>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>

#include <map>
#include <optional>
#include <string_view>

namespace {

bool contains(std::string_view name, std::string_view marker) { return name.find(marker) != std::string_view::npos; }

// A layout row draws the component of exactly its name.
const QObject* componentNamed(const TFormBase* form, const std::string& name) {
  const QObject* component = form ? form->findComponent(name) : nullptr;
  return component && component->objectName().toStdString() == name ? component : nullptr;
}

// The text of the component a row names: an edit's or combo box's text, a
// label's caption; nothing when the form has no such field.
std::optional<std::string> fieldText(const TFormBase* form, const std::string& name) {
  const QObject* component = componentNamed(form, name);
  switch (kindOf(component)) {
    case TComponentKind::Edit:
    case TComponentKind::ComboBox:
    case TComponentKind::Label: return strFunGetText(component);
    default: return std::nullopt;
  }
}

QPainter* canvasOf(TDataStore* DataStore, int page) {
  return page == 1 ? DataStore->Page1Canvas : DataStore->Page2Canvas;
}

// A text field of the row's own name on a page, when the form has it.
void drawField(TDataStore* DataStore, const TFormBase* form, const TCalibRecord& row, int page,
               bool skipWhenEmpty = false) {
  const auto text = fieldText(form, row.name);
  if (!text || (skipWhenEmpty && text->empty())) return;
  vFunDrawDataField(DataStore, *text, row, canvasOf(DataStore, page), page, row.name);
}

bool isEndingField(std::string_view name) {
  for (const char* ending : kCertificateEndingFields)
    if (contains(name, ending)) return true;
  return false;
}

void drawCertificateRow(TDataStore* DataStore, const TFormBase* form, const TCalibRecord& row) {
  const std::string& name = row.name;
  if (contains(name, "GRAFIKA: ORZELEK")) vFunGraphicDrawMark(DataStore, 0, row, DataStore->Page1Canvas, name);
  if (contains(name, "GRAFIKA: PIECZATKA")) vFunGraphicDrawMark(DataStore, 1, row, DataStore->Page1Canvas, name);
  if (contains(name, "_STR1_DATA_LABEL"))
    drawField(DataStore, form, row, 1);
  else if (contains(name, "_STR2_DATA_LABEL"))
    drawField(DataStore, form, row, 2);
  else if (contains(name, "_STR1_DATA_EDIT"))
    drawField(DataStore, form, row, 1, isEndingField(name));
  else if (contains(name, "_STR2_DATA_EDIT"))
    drawField(DataStore, form, row, 2);
  else if (contains(name, "_STR1_DATA_COMBOBOX"))
    drawField(DataStore, form, row, 1);
  else if (contains(name, "_STR2_DATA_COMBOBOX"))
    drawField(DataStore, form, row, 2);
  else if (contains(name, "_STR1_LINIA_Z_KROPEK"))
    vFunDrawDottedLine(DataStore, row, DataStore->Page1Canvas, 1, name);
  else if (contains(name, "_STR2_LINIA_Z_KROPEK"))
    vFunDrawDottedLine(DataStore, row, DataStore->Page2Canvas, 2, name);
}

bool isTextRow(std::string_view name) {
  return contains(name, "_DATA_COMBOBOX") || contains(name, "_DATA_EDIT") || contains(name, "_DATA_LABEL");
}

void drawMeetingSheetRow(TDataStore* DataStore, const TFormBase* form, const TCalibRecord& row) {
  if (contains(row.name, "_LINIA_Z_KROPEK"))
    vFunDrawDottedLine(DataStore, row, DataStore->Page1Canvas, 1, row.name);
  else if (isTextRow(row.name))
    drawField(DataStore, form, row, 1);
}

void drawMemoLine(TDataStore* DataStore, const TFormBase* form, const TCalibRecord& row, TMemoLineCounter& memos) {
  const std::string& name = row.name;
  const std::string memoName = name.substr(0, name.size() >= 2 ? name.size() - 2 : 0);
  const QObject* memo = componentNamed(form, memoName);
  if (kindOf(memo) != TComponentKind::Memo) return;
  const auto index = static_cast<std::size_t>(memos.iFunNextLine(memoName));
  const std::vector<std::string> lines = vFunGetLines(memo);
  const std::string text = index < lines.size() ? lines[index] : std::string();
  vFunDrawDataField(DataStore, text, row, DataStore->Page1Canvas, 1, memoName);
}

void drawRecordSheetRow(TDataStore* DataStore, const TFormBase* form, const TCalibRecord& row,
                        TMemoLineCounter& memos) {
  if (contains(row.name, "GRAFIKA: RAMKA"))
    vFunDrawFrame(DataStore, DataStore->Page1Canvas, row);
  else if (contains(row.name, "_LINIA_Z_KROPEK"))
    vFunDrawDottedLine(DataStore, row, DataStore->Page1Canvas, 1, row.name);
  else if (isTextRow(row.name))
    drawField(DataStore, form, row, 1);
  else if (contains(row.name, "_DATA_MEMO"))
    drawMemoLine(DataStore, form, row, memos);
}

}  // namespace

void vFunPreparePageCanvases(TDataStore* DataStore) {
  vFunClosePageCanvases(DataStore);
  if (!DataStore->Page1Metafile || !DataStore->Page2Metafile) vFunCreatePages(DataStore);
  for (auto [page, canvas] : {std::pair{DataStore->Page1Metafile, &DataStore->Page1Canvas},
                              std::pair{DataStore->Page2Metafile, &DataStore->Page2Canvas}}) {
    page->setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
    *canvas = new QPainter(page);
    (*canvas)->setBrush(Qt::NoBrush);
  }
}

void vFunClosePageCanvases(TDataStore* DataStore) {
  for (auto [page, canvas] : {std::pair{DataStore->Page1Metafile, &DataStore->Page1Canvas},
                              std::pair{DataStore->Page2Metafile, &DataStore->Page2Canvas}}) {
    if (!*canvas) continue;
    delete *canvas;
    *canvas = nullptr;
    if (page) page->setBoundingRect(QRect(0, 0, kPageWidth, kPageHeight));
  }
}

int TMemoLineCounter::iFunNextLine(const std::string& memoName) {
  if (memoName != last_) {
    last_ = memoName;
    index_ = 0;
  } else {
    ++index_;
  }
  return index_;
}

void vFunDrawLayoutRows(TDataStore* DataStore, const TFormBase* form, TDocKind kind,
                        const std::vector<TCalibRecord>& rows) {
  TMemoLineCounter memos;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const TCalibRecord& row = rows[i];
    if (bFunIsCertificate(kind))
      drawCertificateRow(DataStore, form, row);
    else if (kind == dkWywiadowka)
      drawMeetingSheetRow(DataStore, form, row);
    else
      drawRecordSheetRow(DataStore, form, row, memos);
  }
}

std::string strFunPreviewBackground(TDocKind kind, int page) {
  if (bFunIsCertificate(kind)) {
    if (page == 2) return "sw_str2_prw.bmp";
    return bFunWithDistinction(kind) ? "sw_str1_prw_wyr.bmp" : "sw_str1_prw.bmp";
  }
  if (page == 2) return {};
  return kind == dkWywiadowka ? "wywiadowka_prw.bmp" : "arkusz_prw.bmp";
}

QImage imgFunCleanPreviewPicture() {
  QImage picture(kPreviewRight + kPreviewLeft, kPreviewBottom + kPreviewTop, QImage::Format_RGB32);
  picture.fill(QColor(128, 128, 128));
  QPainter p(&picture);
  p.fillRect(rectFunEdges(kPreviewLeft, kPreviewTop, kPreviewRight, kPreviewBottom), Qt::white);
  return picture;
}

void vFunLoadPreviewBackground(TDataStore* DataStore, TDocKind kind, int page, TImage* image) {
  const std::string file = strFunPreviewBackground(kind, page);
  if (file.empty()) return;
  // Each picture is decoded once per program run, and again only when its
  // file changes; the image paints the page onto a copy of its own.
  struct TBackground {
    qint64 size = -1;
    QDateTime modified;
    QImage picture;
  };
  static std::map<QString, TBackground> cache;
  const QString path =
      QString::fromStdString((strFunGetMainDirPath(DataStore) / ("grafika/" + cp1250ToUtf8(file))).bytes());
  const QFileInfo info(path);
  if (!info.exists()) {
    static const QImage clean = imgFunCleanPreviewPicture();
    image->copyPicture(clean);
    return;
  }
  TBackground& background = cache[path];
  if (background.size != info.size() || background.modified != info.lastModified()) {
    background.size = info.size();
    background.modified = info.lastModified();
    const QImage decoded(path);
    background.picture = decoded.isNull() ? imgFunCleanPreviewPicture() : decoded.convertToFormat(QImage::Format_RGB32);
  }
  image->copyPicture(background.picture);
}

void vFunStretchPicture(QPainter& painter, const QPicture& picture, const QRectF& target) {
  const qreal correctX = qreal(picture.logicalDpiX()) / painter.device()->logicalDpiX();
  const qreal correctY = qreal(picture.logicalDpiY()) / painter.device()->logicalDpiY();
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / kPageWidth * correctX, target.height() / kPageHeight * correctY);
  painter.drawPicture(0, 0, picture);
  painter.restore();
}

void vFunShowPages(TDataStore* DataStore, TImage* image1, TImage* image2) {
  vFunClosePageCanvases(DataStore);
  for (auto [page, image] :
       {std::pair{DataStore->Page1Metafile, image1}, std::pair{DataStore->Page2Metafile, image2}}) {
    if (!page || !image) continue;
    if (image->Picture().isNull()) image->copyPicture(imgFunCleanPreviewPicture());
    QPainter painter(&image->Picture());
    vFunStretchPicture(painter, *page,
                       QRectF(kPreviewLeft, kPreviewTop, kPreviewRight - kPreviewLeft, kPreviewBottom - kPreviewTop));
    painter.end();
    image->update();
  }
}
