#include "PrintSupport.h"

#include <QFont>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// Before main: no test may reach a print system other than its own.
const bool kCupsServerSet = [] {
  ::setenv("CUPS_SERVER", strCupsSocketPath().c_str(), 1);
  return true;
}();

constexpr double kMmPerPoint = 25.4 / 72;

}  // namespace

const std::string& strCupsSocketPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("tarvek-cups-" + std::to_string(::getpid())) / "cups.sock").string();
  return path;
}

void vFunDrawField(QPainter& canvas, const QString& text, const QRect& rect) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(16);
  canvas.setFont(font);
  canvas.drawText(rect, Qt::AlignLeft | Qt::AlignTop, text);
}

void vFunDrawMark(QPainter& canvas, QPoint at, int size) {
  canvas.fillRect(QRect(at, QSize(size, size)), Qt::black);
}

std::optional<std::string> optFunRun(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return std::nullopt;
  return process.readAllStandardOutput().toStdString();
}

int iFunPdfPages(const std::string& pdf) {
  const auto info = optFunRun("pdfinfo", {QString::fromStdString(pdf)});
  if (!info) return -1;
  const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(QString::fromStdString(*info));
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QSize sizeFunPdfPageMm(const std::string& pdf, int page) {
  const QString p = QString::number(page);
  const auto info = optFunRun("pdfinfo", {"-f", p, "-l", p, QString::fromStdString(pdf)});
  if (!info) return {};
  const auto match = QRegularExpression(R"(Page\s+\d+\s+size:\s+([\d.]+) x ([\d.]+) pts)").match(QString::fromStdString(*info));
  if (!match.hasMatch()) return {};
  const auto mm = [](const QString& points) { return qRound(points.toDouble() * 25.4 / 72.0); };
  return {mm(match.captured(1)), mm(match.captured(2))};
}

std::optional<QRectF> optFunWordBox(const std::string& pdf, int page, const QString& word) {
  const QString p = QString::number(page);
  const auto xml = optFunRun("pdftotext", {"-bbox", "-f", p, "-l", p, QString::fromStdString(pdf), "-"});
  if (!xml) return std::nullopt;
  const QRegularExpression pattern(R"re(<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">([^<]*)</word>)re");
  for (auto it = pattern.globalMatch(QString::fromStdString(*xml)); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(5) != word) continue;
    return QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()) * kMmPerPoint,
                  QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()) * kMmPerPoint);
  }
  return std::nullopt;
}

QRectF rectFunInkBox(const std::string& pdf, int page) {
  const std::string base = pdf + ".page";
  const QString p = QString::number(page);
  if (!optFunRun("pdftoppm", {"-r", "254", "-gray", "-singlefile", "-f", p, "-l", p, QString::fromStdString(pdf),
                              QString::fromStdString(base)}))
    return {};
  const QImage image(QString::fromStdString(base + ".pgm"));
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y) {
    const uchar* row = image.constScanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[x] >= 128) continue;
      left = std::min(left, x);
      right = std::max(right, x + 1);
      top = std::min(top, y);
      bottom = std::max(bottom, y + 1);
    }
  }
  if (right < 0) return {};
  return QRectF(QPointF(left, top) / 10.0, QPointF(right, bottom) / 10.0);
}
