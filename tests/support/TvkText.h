#pragma once
// Old tagged text files ("*.tvk") for the import tests: the lines are
// written here in UTF-8 and stored as Windows-1250 with CRLF line ends.
#include "platform/Cp1250.h"

#include <initializer_list>
#include <string>
#include <vector>

using TvkLines = std::vector<std::string>;

inline std::string tvkText(const TvkLines& utf8Lines) {
  std::string text;
  for (const std::string& line : utf8Lines) text += cp1250FromUtf8(line) + "\r\n";
  return text;
}

// A whole student of ten lines: personal data (surname, first name, PESEL
// on line 5) and one row of the class I certificate.
inline TvkLines tvkStudent(const std::string& surname, const std::string& first, const std::string& pesel) {
  return {"<DANE SWIADECTW DLA: " + surname + " " + first + ">",
          "<DANE UCZNIA TARVEK>",
          "<Nazwisko_DATA_EDIT>" + surname,
          "<Imie_DATA_EDIT>" + first,
          "<NrPesel_DATA_EDIT>" + pesel,
          "</DANE UCZNIA TARVEK>",
          "<KLASA Ia TARVEK>",
          "<ZMIENNA_Zachowanie_DATA_COMBOBOX>dobre",
          "</KLASA Ia TARVEK>",
          "</KONIEC DANYCH SWIADECTW>"};
}

inline TvkLines tvkJoin(std::initializer_list<TvkLines> parts) {
  TvkLines all;
  for (const TvkLines& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}
