// Writes one shipped SQLite file from its readable SQL source.
//   tarvek_mkdb <output database> <source.sql>
// The source is UTF-8; its text is stored as Windows-1250, as the program
// keeps all its text. The output is made anew on every run.
#include "platform/Cp1250.h"

#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output> <source.sql>\n", argv[0]);
    return 2;
  }
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  std::stringstream buf;
  buf << in.rdbuf();
  const std::string sql = cp1250FromUtf8(buf.str());

  const std::string out = argv[1];
  const std::string tmp = out + ".new";
  std::remove(tmp.c_str());
  sqlite3* db = nullptr;
  if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
    std::fprintf(stderr, "cannot create %s\n", tmp.c_str());
    return 1;
  }
  char* err = nullptr;
  const std::string script = "begin transaction;\n" + sql + "\ncommit transaction;\n";
  if (sqlite3_exec(db, script.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", argv[2], err ? err : "error");
    sqlite3_free(err);
    sqlite3_close(db);
    std::remove(tmp.c_str());
    return 1;
  }
  sqlite3_close(db);
  if (std::rename(tmp.c_str(), out.c_str()) != 0) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  return 0;
}
