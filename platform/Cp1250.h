#pragma once
// Windows-1250 is the program's 8-bit text everywhere inside: data rows,
// tags, messages, stored text. These helpers convert at the edges only
// (toolkit widgets, operating-system paths and names).
#include <string>
#include <string_view>

// UTF-8 -> Windows-1250. Characters the code page lacks become '?';
// malformed UTF-8 bytes become '?' too.
std::string cp1250FromUtf8(std::string_view utf8);

// Windows-1250 -> UTF-8. Lossless: the five bytes the code page leaves
// unassigned map to the C1 controls of the same value, so they come back.
std::string cp1250ToUtf8(std::string_view text);

// Unicode code point of one Windows-1250 byte.
char32_t cp1250CodePoint(unsigned char byte);

// A Polish literal written in this (UTF-8) source, as Windows-1250 bytes:
//   cp1250("Błąd zapisu danych.")
inline std::string cp1250(std::string_view utf8Literal) { return cp1250FromUtf8(utf8Literal); }
