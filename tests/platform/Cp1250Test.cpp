#include "platform/Cp1250.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

// The system's own converter, as an independent reference.
std::string iconvToUtf8(const std::string& in) {
  iconv_t cd = iconv_open("UTF-8", "CP1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = out.data();
  size_t dstLeft = out.size();
  const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return "<unmapped>";
  out.resize(out.size() - dstLeft);
  return out;
}

}  // namespace

TEST(Cp1250, EveryAssignedByteMatchesTheSystemConverter) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    const std::string ref = iconvToUtf8(one);
    if (ref == "<unmapped>") continue;  // the five unassigned bytes
    EXPECT_EQ(cp1250ToUtf8(one), ref) << "byte " << b;
  }
}

TEST(Cp1250, EveryByteRoundTrips) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(cp1250FromUtf8(cp1250ToUtf8(all)), all);
}

TEST(Cp1250, PolishLiteralsBecomeTheirCodePageBytes) {
  EXPECT_EQ(cp1250("Błąd"), "B\xB3\xB9" "d");
  EXPECT_EQ(cp1250("ŻÓŁW źródła"), "\xAF\xD3\xA3W \x9Fr\xF3" "d\xB3" "a");
  EXPECT_EQ(cp1250("Ś ś Ź ź"), "\x8C \x9C \x8F \x9F");
}

TEST(Cp1250, WhatTheCodePageLacksBecomesAQuestionMark) {
  EXPECT_EQ(cp1250FromUtf8("Ж€"), "?\x80");
  EXPECT_EQ(cp1250FromUtf8("a\xC3"), "a?");        // cut sequence
  EXPECT_EQ(cp1250FromUtf8("\xFF" "b"), "?b");     // not UTF-8 at all
  EXPECT_EQ(cp1250FromUtf8("😀"), "?");
}
