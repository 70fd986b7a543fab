#include "FileFailures.h"

#include "store/CppSQLite3.h"
#include "platform/Cp1250.h"
#include "platform/SystemPath.h"

#include <cerrno>

TFileFailure TFileFailure::ofPickedFile(int error) {
  TFileFailure why;
  // A named pipe or a device has no error of the system's to show.
  if (error == EINVAL)
    why.notRegular = true;
  else
    why.systemError = error;
  return why;
}

bool bFunSqliteFailure(TFileFailure& why, const CppSQLite3Exception& e, const CppSQLite3DB* db) {
  why.sqliteCode = e.code();
  why.systemError = db ? db->systemError() : 0;
  const int primary = e.code() & 0xFF;
  why.inUse = primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
  why.notDocument = primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT || primary == SQLITE_FORMAT ||
                    primary == SQLITE_ERROR;
  return false;
}

std::string strFunFailureLines(const TFileFailure& why) {
  const std::string code = why.strFunCode();
  std::string lines = why.strFunAdvice();
  if (!code.empty()) lines += cp1250("Kod błędu: ") + code;
  if (!lines.empty() && lines.back() == '\n') lines.pop_back();
  return lines;
}

std::string TFileFailure::strFunCode() const {
  if (systemError != 0) return std::to_string(systemError);
  // A file that holds no document has no code to show: SQLite's number would
  // read as one of the system's.
  const int primary = sqliteCode & 0xFF;
  if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) return {};
  return sqliteCode != 0 ? std::to_string(sqliteCode) : std::string();
}

std::string strFunSystemErrorAdvice(int systemError) {
  switch (systemError) {
    case ENOSPC:
    case EDQUOT: return cp1250("Na dysku zabrakło miejsca. Zwolnij miejsce na dysku i spróbuj ponownie.\n");
    case EROFS:
      return cp1250("Ten dysk lub katalog jest tylko do odczytu (na przykład pendrive z włączoną blokadą zapisu). "
                    "Zapisz dane na innym dysku albo w innym katalogu.\n");
    case EACCES:
    case EPERM:
      return cp1250("Brak uprawnień do tego pliku lub katalogu. Wybierz inny katalog albo poproś administratora o "
                    "uprawnienia.\n");
    case EFBIG:
      return cp1250("Plik przekroczył największy rozmiar, na jaki system pozwala. Poproś administratora o "
                    "zwiększenie tego limitu albo zapisz dane na innym dysku.\n");
    case EISDIR: return cp1250("Wybrana nazwa jest nazwą katalogu, a nie pliku. Wybierz plik.\n");
    case ENOENT:
      return cp1250("Wybrany plik lub jego katalog już nie istnieje (został usunięty albo przeniesiony).\n");
    case ENOSYS:
    case EOPNOTSUPP:
      return cp1250("System plików tego dysku nie pozwala na tę operację. Zapisz dane na innym dysku.\n");
    case ENOLCK:
      return cp1250("System nie zablokował pliku przed innymi użytkownikami (zabrakło mu blokad albo dysk ich nie "
                    "przyjął). Spróbuj ponownie za chwilę.\n");
    case ELOOP:
      return cp1250("Nazwa prowadzi przez zbyt wiele dowiązań symbolicznych (albo przez dowiązanie, które wskazuje "
                    "samo na siebie). Wybierz sam plik.\n");
    default: return {};
  }
}

std::string TFileFailure::strFunAdvice() const {
  if (interruptedSave)
    return cp1250("Zapis tego dokumentu (przez innego użytkownika albo w innej sesji programu) został przerwany i "
                  "plik nie jest teraz kompletny. Program tamtego użytkownika przywraca go przy następnym "
                  "uruchomieniu; jeśli nie może, zachowuje jego stan sprzed zapisu i mówi o tym temu "
                  "użytkownikowi.\n");
  if (notPutBack)
    return cp1250("Pliku nie udało się też przywrócić do stanu sprzed zapisu, bo dysk nie oddaje tego, co program "
                  "na nim zapisał. Stan pliku sprzed zapisu jest zachowany w pliku:\n") +
           TSystemPath(keptCopy).text() +
           cp1250("\nMożna go otworzyć poleceniem \"Otwórz plik\" i zapisać poleceniem \"Zapisz jako\" na miejsce "
                  "tamtego pliku (albo na innym dysku).\n");
  if (notRegular)
    return cp1250("Wybrana nazwa nie jest zwykłym plikiem, tylko potokiem, urządzeniem albo gniazdem. Wybierz "
                  "plik.\n");
  if (const std::string advice = strFunSystemErrorAdvice(systemError); !advice.empty()) return advice;
  switch (sqliteCode & 0xFF) {
    case SQLITE_FULL: return strFunSystemErrorAdvice(ENOSPC);
    case SQLITE_READONLY:
    case SQLITE_PERM: return strFunSystemErrorAdvice(EACCES);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: return cp1250("Wybrany plik nie jest plikiem świadectw tego programu.\n");
    default: return {};
  }
}
