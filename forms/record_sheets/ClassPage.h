#pragma once
// What the class pages of the record sheet (pages 2 to 5 of "MEN-I/42/2",
// the three class pages of "MEN-I/42b/2") do beyond the engine: the clear
// button, the print of one column, the load from a certificate, and their
// panel's lists at the first item on every showing.
#include "forms/DocumentForm.h"

#include <functional>
#include <optional>

class TClassPage : public TDocumentForm {
  Q_OBJECT
 public:
  TClassPage(const TFormSpec& desc, QWidget* parent);

  // The clear button ("Wyczyść ..."): empties every value field; the panel's
  // choices stay and nothing is saved.
  void WyczyscDaneButtonClick();
  // "Drukuj wybraną kolumnę": the page drawn for the printer by the layout
  // of the column chosen in the column-print list alone, one page, through
  // PrintColumn. The page stays open and unsaved.
  void DrukujWybranaKolumneButtonClick();
  // The kind of that column: the page's kind + 1 + the list's index;
  // nullopt on a page without a column print.
  std::optional<TDocKind> optFunColumnKind() const;
  // The load button: the copy of the certificate chosen in the panel's
  // certificate list into the column chosen in its column list (the only
  // column on a page without one), with the subject names when "Wczytaj
  // nazwy przedmiotów" is ticked. Each item of the list is the certificate
  // whose description names this page and gives that item ("sheet item");
  // no choice copies nothing. Nothing is saved.
  virtual void vFunLoadFromCertificate();
  // The load button's handler under its name on each page.
  void WczytajDaneZSwiadectwaButtonClick() { vFunLoadFromCertificate(); }
  void LoadDataToSeetButtonClick() { vFunLoadFromCertificate(); }
  void BitBtn1Click() { vFunLoadFromCertificate(); }

  // The main window's print of a document drawn by a kind's layout, one
  // page: the print dialog opens only after a render that succeeded.
  static std::function<void(TFormBase& form, TDocKind kind)> PrintColumn;

 protected:
  void FormShow() override;
};
