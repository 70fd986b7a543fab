#pragma once
// A calibration row for tests, its edges given as the record keeps them:
// left, right, top, bottom.
#include "store/Records.h"

#include <string>

inline TCalibRecord calibRecord(const std::string& name, int left, int right, int top, int bottom,
                                const std::string& font = "Times New Roman", int size = 12, int align = 0) {
  TCalibRecord r;
  r.name = name;
  r.x1 = left;
  r.x2 = right;
  r.y1 = top;
  r.y2 = bottom;
  r.font_name = font;
  r.font_size = size;
  r.font_align = align;
  return r;
}
