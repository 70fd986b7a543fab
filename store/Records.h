#pragma once
// Fixed-width text fields of the records that travel between the windows and
// the data store. A field holds at most Width - 1 bytes of Windows-1250 text
// (the width counts the terminating zero of the stored format); longer text
// is cut, and text ends at an embedded zero, so nothing is ever written past
// a field.
#include <cstddef>
#include <string>
#include <string_view>

template <std::size_t Width>
class TFixedText {
 public:
  static constexpr std::size_t capacity = Width - 1;

  TFixedText() = default;
  TFixedText(std::string_view text) { assign(text); }  // NOLINT: implicit on purpose
  TFixedText(const char* text) { assign(text ? std::string_view(text) : std::string_view()); }  // NOLINT
  TFixedText(const std::string& text) { assign(text); }  // NOLINT

  TFixedText& operator=(std::string_view text) { assign(text); return *this; }
  TFixedText& operator=(const char* text) { assign(text ? std::string_view(text) : std::string_view()); return *this; }
  TFixedText& operator=(const std::string& text) { assign(text); return *this; }

  void assign(std::string_view text) {
    const auto zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    if (text.size() > capacity) text = text.substr(0, capacity);
    value_.assign(text);
  }

  const std::string& str() const { return value_; }
  const char* c_str() const { return value_.c_str(); }
  std::size_t size() const { return value_.size(); }
  bool empty() const { return value_.empty(); }
  operator std::string_view() const { return value_; }  // NOLINT
  operator const std::string&() const { return value_; }  // NOLINT

  friend bool operator==(const TFixedText& a, const TFixedText& b) { return a.value_ == b.value_; }
  friend bool operator==(const TFixedText& a, std::string_view b) { return a.value_ == b; }
  friend bool operator==(const TFixedText& a, const char* b) { return a.value_ == std::string_view(b ? b : ""); }
  friend bool operator==(const TFixedText& a, const std::string& b) { return a.value_ == b; }
  friend bool operator<(const TFixedText& a, const TFixedText& b) { return a.value_ < b.value_; }

 private:
  std::string value_;
};

// One log entry as the log viewer reads it.
struct TLogRecord {
  TFixedText<20> datetime;
  TFixedText<50> fun;
  TFixedText<1024> info;
};

// One data row of a student table or of the school template.
struct TDataRecord {
  TFixedText<255> id;         // document tag
  TFixedText<255> comp_name;  // component name
  TFixedText<2048> value;     // the component's text, quotes single
};

// One entry of the student list.
struct TStudentListRecord {
  TFixedText<100> DisplayName;  // surname, one blank, first name
  TFixedText<50> TableName;
};

// One calibrated object of a layout. The edges lie left, right, top, bottom.
struct TCalibRecord {
  TFixedText<256> name;
  int x1 = 0;
  int x2 = 0;
  int y1 = 0;
  int y2 = 0;
  TFixedText<100> font_name;
  int font_size = 0;
  int font_align = 0;  // 0 left, 1 centre, 2 right, 3 justified; other values centre
  int font_style_bold = 0;
  int font_style_italic = 0;
  int font_style_underline = 0;
  int font_style_strike = 0;
};

// A named set of print rectangles, millimetres from the sheet's top-left
// corner: left, top, right, bottom of page 1, then the same of page 2.
struct TMarginRecord {
  TFixedText<256> name;
  int Page1X1 = 0;
  int Page1Y1 = 0;
  int Page1X2 = 0;
  int Page1Y2 = 0;
  int Page2X1 = 0;
  int Page2Y1 = 0;
  int Page2X2 = 0;
  int Page2Y2 = 0;
};
