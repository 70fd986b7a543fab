#pragma once
// The state eagle of the certificates: a crowned eagle with raised wings,
// its head turned to its right, drawn as a plain dark silhouette.
#include <QByteArray>
#include <QSizeF>

namespace art {

// Size of the eagle's drawing in its own units (the SVG view box).
inline constexpr QSizeF kEagleBox{200.0, 220.0};

// The eagle as an SVG document (one colour, view box 0 0 200 220). The
// program ships it as "orzel.svg" and the blanks draw it from this text too.
QByteArray eagleSvg();

}  // namespace art
