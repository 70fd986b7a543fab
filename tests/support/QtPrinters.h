#pragma once
// How GoogleTest prints Qt's values in a failure: a QString as its text in
// quotes, not as the bytes of the object. Included into every Qt test
// through the target tarvek_test_qtmain.
#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
