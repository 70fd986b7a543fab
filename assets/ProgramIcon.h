#pragma once
// The program's icon, the SVG the install puts into the desktop's icon
// theme, as the build draws it and links it in.
#include <cstddef>

extern const unsigned char kProgramIconSvg[];
extern const std::size_t kProgramIconSvgSize;
