#pragma once
// Texts spliced into SQL statements. Every text that stands between single
// quotes has its single quotes doubled; every name between backquotes has
// its backquotes doubled. The stored text is the same as the one given.
#include <string>
#include <string_view>

std::string sqlQuoted(std::string_view text);  // ' -> ''
std::string sqlName(std::string_view name);    // ` -> ``
// A table name between backquotes, ready to splice: `name`.
std::string sqlTable(std::string_view name);
