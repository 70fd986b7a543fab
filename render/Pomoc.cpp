#include "render/Pomoc.h"

#include "platform/Cp1250.h"
#include "platform/Platform.h"
#include "store/Folders.h"
#include "toolkit/DesktopOpen.h"
#include "toolkit/Dialogs.h"

std::string strFunHelpFilePath(TDataStore* DataStore) {
  return (strFunGetProgramDirPath(DataStore) / "pomoc/index.html").text();
}

void vFunPokazPomoc(TDataStore* DataStore) {
  const std::string help = strFunHelpFilePath(DataStore);
  // Said at once when the help is missing, and when the desktop has no
  // program that shows it as soon as the opener gives up.
  const auto cannotOpen = [help] {
    MessageBox(cp1250("Nie można otworzyć instrukcji obsługi:\n") + help +
                   cp1250("\n\nSprawdź, czy plik istnieje i czy w systemie jest przeglądarka stron WWW."),
               "Pomoc", MB_OK | MB_ICONWARNING);
  };
  if (!platform::fileExists(help)) return cannotOpen();
  objFunOpenWithDesktop(help, cannotOpen);
}
