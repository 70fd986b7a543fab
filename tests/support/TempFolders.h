#pragma once
// Every test that touches files gets its own program folder and data folder.
#include "platform/SystemPath.h"

#include <string>

// Where the update check of a test looks unless the test serves one: a
// closed port of this machine, so the check fails at once.
inline constexpr char kNoUpdateServer[] = "http://127.0.0.1:9";

class TempFolders {
 public:
  // Makes a fresh root with "program" and the common data folder (`commonFolder`,
  // a path below the root, UTF-8) in it, points the program folder and the
  // common data folder there, fixes the user name and points the update
  // check at kNoUpdateServer.
  explicit TempFolders(const std::string& userName = "nauczyciel", const std::string& commonFolder = "common");
  ~TempFolders();
  TempFolders(const TempFolders&) = delete;
  TempFolders& operator=(const TempFolders&) = delete;

  const std::string& root() const { return root_; }
  std::string program() const { return root_ + "/program"; }
  std::string common() const { return root_ + "/" + common_; }
  // The data folder the program will use (Windows-1250 text).
  std::string data() const;

  // Copies a file that the build wrote into the program folder (a name such
  // as "grafika/m_p.bmp" gets its folder made).
  void shipFromBuild(const std::string& name) const;
  // Ships everything the build wrote: the data files are copied (the program
  // writes to some of them), the pictures are linked (they are only read).
  void shipProgramFolder() const;

 private:
  std::string root_;
  std::string userName_;
  std::string common_;
};

// Small file helpers for tests (UTF-8 paths).
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);

#include <vector>
// Direct SQLite access for fixtures and checks; the path is Windows-1250 as
// the program keeps it. A NULL column reads as "<NULL>".
void sqlExec(const std::string& path, const std::string& sql);
std::vector<std::vector<std::string>> sqlRows(const std::string& path, const std::string& sql);
// The same on a path as the program names it.
void sqlExec(const TSystemPath& path, const std::string& sql);
std::vector<std::vector<std::string>> sqlRows(const TSystemPath& path, const std::string& sql);
// The same on the system's own (UTF-8) path; read-write opens it as any
// later reader would, rolling a hot journal beside it back first.
std::vector<std::vector<std::string>> sqlRowsAt(const std::string& systemPath, const std::string& sql,
                                                bool readWrite);
