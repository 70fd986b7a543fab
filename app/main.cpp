// Start-up of the program. For now it installs the shipped files into the
// data folder and reports where they are; the main window comes next.
#include "store/SQLImportUnit.h"
#include "platform/Cp1250.h"

#include <cstdio>

int main() {
  TDataStore DataStore;
  if (!bFunCheckFilesDir(&DataStore)) {
    std::fprintf(stderr, "%s\n\n%s\n",
                 cp1250ToUtf8(cp1250("Błąd podczas próby sprawdzenia wymaganych plików / katalogów.")).c_str(),
                 cp1250ToUtf8(DataStore.ErrorStream.str()).c_str());
    return 1;
  }
  std::printf("Kestal - Tarvek 1.6.8\n%s\n", cp1250ToUtf8(strFunGetMainDirPath(&DataStore)).c_str());
  return 0;
}
