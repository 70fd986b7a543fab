#include "toolkit/Paper.h"

#include <QWidget>

namespace {

struct TPaperColour {
  QPalette::ColorRole role;
  QRgb active;    // also the inactive group's
  QRgb disabled;
};

// The colours of a light desktop (Qt's Fusion, with white fields). Disabled
// text is a grey that still reads on its background (5.6 : 1).
constexpr TPaperColour kPaper[] = {
    {QPalette::WindowText, 0xff000000, 0xff5f5f5f},
    {QPalette::Button, 0xffefefef, 0xffefefef},
    {QPalette::Light, 0xffffffff, 0xffffffff},
    {QPalette::Midlight, 0xffcacaca, 0xffcacaca},
    {QPalette::Dark, 0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text, 0xff000000, 0xff5f5f5f},
    {QPalette::BrightText, 0xffffffff, 0xffffffff},
    {QPalette::ButtonText, 0xff000000, 0xff5f5f5f},
    {QPalette::Base, 0xffffffff, 0xffefefef},
    {QPalette::Window, 0xffefefef, 0xffefefef},
    {QPalette::Shadow, 0xff767676, 0xffb1b1b1},
    {QPalette::Highlight, 0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link, 0xff0000ff, 0xff5f5f5f},
    {QPalette::LinkVisited, 0xffff00ff, 0xff5f5f5f},
    {QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7},
    {QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText, 0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0xff767676, 0xff767676},
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
    {QPalette::Accent, 0xff308cc6, 0xff919191},
#endif
};

QPalette makePaper() {
  QPalette paper;
  for (const TPaperColour& c : kPaper) {
    paper.setColor(QPalette::Active, c.role, QColor::fromRgba(c.active));
    paper.setColor(QPalette::Inactive, c.role, QColor::fromRgba(c.active));
    paper.setColor(QPalette::Disabled, c.role, QColor::fromRgba(c.disabled));
  }
  return paper;
}

}  // namespace

const QPalette& paletteFunPaper() {
  static const QPalette paper = makePaper();
  return paper;
}

void vFunPaperSurface(QWidget* surface) {
  // A palette set on a widget passes to the widgets on it, and every role
  // being set, a new palette of the application changes none of them.
  surface->setPalette(paletteFunPaper());
}
