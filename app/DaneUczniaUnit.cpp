#include "app/DaneUczniaUnit.h"

#include "app/GlownaUnit.h"
#include "forms/ComponentNames.h"
#include "platform/Cp1250.h"
#include "store/SQLImportUnit.h"
#include "toolkit/Components.h"
#include "toolkit/TextBatch.h"
#include "toolkit/Dialogs.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <algorithm>

TFDaneUcznia* FDaneUcznia = nullptr;

namespace {

const char kTag[] = "DANE UCZNIA";

QString qt(const char* utf8) { return QString::fromUtf8(utf8); }

// The place lists are shown sorted, as a sorted list box would show them.
void setSortedItems(QComboBox* combo, const std::vector<std::string>& names) {
  QStringList items;
  for (const std::string& n : names) items << QString::fromStdString(cp1250ToUtf8(n));
  QCollator collator {QLocale(QLocale::Polish, QLocale::Poland)};
  std::stable_sort(items.begin(), items.end(),
                   [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  const QString shown = combo->currentText();
  combo->clear();
  combo->addItems(items);
  combo->setEditText(shown);  // the new list keeps the text on show
}

bool peselCharactersValid(const std::string& pesel) {
  return std::all_of(pesel.begin(), pesel.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  });
}

void capitaliseFirstLetter(QLineEdit* edit) {
  std::string text = strFunGetText(edit);
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    bFunSetText(edit, text);
  }
}

}  // namespace

TFDaneUcznia::TFDaneUcznia(QWidget* parent) : TDialogForm("FDaneUcznia", parent) {
  setWindowTitle(qt("Dane ucznia"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedBorder(true);
  setFixedSize(411, 318);

  // Each field with its label on the left; rows top to bottom in tab order.
  struct TField {
    QWidget* widget;
    const char* label;
    int row;
  };
  auto edit = [this](const char* name, int limit) {
    QLineEdit* e = Make<QLineEdit>(name, this);
    vFunSetTypingLimit(e, limit);
    return e;
  };
  auto combo = [this](const char* name, bool editable) {
    QComboBox* c = Make<QComboBox>(name, this);
    c->setEditable(editable);
    c->setInsertPolicy(QComboBox::NoInsert);
    return c;
  };
  Imie_DATA_EDIT = edit(names::kImie, 48);
  UrodzonyDnia_DATA_EDIT = edit(names::kUrodzonyDnia, 46);
  Plec_DATA_COMBOBOX = combo(names::kPlec, false);
  Plec_DATA_COMBOBOX->addItems({qt("kobieta"), qt("mężczyzna")});
  Plec_DATA_COMBOBOX->setCurrentIndex(-1);
  UrodzonyRok_DATA_COMBOBOX = combo(names::kUrodzonyRok, true);
  for (int year = 1996; year <= 2003; ++year) UrodzonyRok_DATA_COMBOBOX->addItem(QString::number(year) + " r.");
  UrodzonyRok_DATA_COMBOBOX->setEditText("");
  UrodzonyMiasto_DATA_COMBOBOX = combo(names::kUrodzonyMiasto, true);
  UrodzonyWoj_DATA_COMBOBOX = combo(names::kUrodzonyWoj, true);
  NrDziennika_DATA_EDIT = edit(names::kNrDziennika, 48);
  Nazwisko_DATA_EDIT = edit(names::kNazwisko, 48);
  NrPesel_DATA_EDIT = edit(names::kNrPesel, 20);

  const TField fields[] = {
      {Nazwisko_DATA_EDIT, "nazwisko", 0},
      {Imie_DATA_EDIT, "imię", 1},
      {Plec_DATA_COMBOBOX, "płeć", 2},
      {UrodzonyDnia_DATA_EDIT, "urodzony dnia", 3},
      {UrodzonyRok_DATA_COMBOBOX, "urodzony w roku", 4},
      {UrodzonyMiasto_DATA_COMBOBOX, "urodzony w (miasto)", 5},
      {UrodzonyWoj_DATA_COMBOBOX, "urodzony (województwo)", 6},
      {NrDziennika_DATA_EDIT, "nr ucznia na świadectwie", 7},
      {NrPesel_DATA_EDIT, "numer PESEL", 8},
  };
  QWidget* previous = nullptr;
  int n = 1;
  for (const TField& f : fields) {
    QLabel* label = Make<QLabel>("Label" + QString::number(n++), qt(f.label), this);
    label->setGeometry(12, 14 + f.row * 30, 160, 21);
    f.widget->setGeometry(178, 12 + f.row * 30, 221, 23);
    if (previous) setTabOrder(previous, f.widget);
    previous = f.widget;
  }
  OKButton = Make<QPushButton>("OKButton", qt("OK"), this);
  OKButton->setGeometry(236, 284, 75, 25);
  AnulujButton = Make<QPushButton>("AnulujButton", qt("Anuluj"), this);
  AnulujButton->setGeometry(324, 284, 75, 25);
  setTabOrder(previous, OKButton);
  setTabOrder(OKButton, AnulujButton);
  vFunOnClick(OKButton, [this] { OKButtonClick(); });
  vFunOnClick(AnulujButton, [this] { AnulujButtonClick(); });
  // Enter in any field confirms the dialog, as in every desktop dialog.
  setDefaultButton(OKButton);
}

void TFDaneUcznia::FormShow() {
  std::vector<std::string> names;
  TDataStore* ds = &FGlowna->DataStore;
  if (bFunStudentDataLoadCityList(ds, names))
    setSortedItems(UrodzonyMiasto_DATA_COMBOBOX, names);
  else
    MessageBox(cp1250("Błąd podczas próby wczytania listy miast.\n") + ds->ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
  names.clear();
  if (bFunStudentDataLoadProvinceList(ds, names))
    setSortedItems(UrodzonyWoj_DATA_COMBOBOX, names);
  else
    MessageBox(cp1250("Błąd podczas próby wczytania listy województw.\n") + ds->ErrorStream.str(), cp1250("Błąd"),
               MB_OK | MB_ICONSTOP);
}

void TFDaneUcznia::vFunClearFormData() {
  if (TTextBatch* active = TTextBatch::batchFunActive()) return vFunClearFormData(*active);
  TTextBatch batch;
  vFunClearFormData(batch);
  batch.vFunCommit();
}

void TFDaneUcznia::vFunClearFormData(TTextBatch& batch) {
  // The class details of the last student stay for the next one: birth
  // year, town and province, and the sex chosen.
  const std::string year = batch.strFunText(UrodzonyRok_DATA_COMBOBOX);
  const std::string town = batch.strFunText(UrodzonyMiasto_DATA_COMBOBOX);
  const std::string province = batch.strFunText(UrodzonyWoj_DATA_COMBOBOX);
  const std::string sex = batch.strFunText(Plec_DATA_COMBOBOX);
  vFunEmptyFormData(batch);
  batch.vFunSetText(UrodzonyRok_DATA_COMBOBOX, year);
  batch.vFunSetText(UrodzonyMiasto_DATA_COMBOBOX, town);
  batch.vFunSetText(UrodzonyWoj_DATA_COMBOBOX, province);
  batch.vFunSetText(Plec_DATA_COMBOBOX, sex);  // none chosen stays none
}

void TFDaneUcznia::vFunEmptyFormData(TTextBatch& batch) {
  for (int i = 0; i < ComponentCount(); ++i) {
    const std::string name = ComponentName(i).toStdString();
    QObject* component = Components(i);
    if (component == Plec_DATA_COMBOBOX)
      batch.vFunSetIndex(Plec_DATA_COMBOBOX, -1);  // the list takes only its items
    else if (name.find(kEditMarker) != std::string::npos || name.find(kComboMarker) != std::string::npos)
      batch.vFunSetText(component, "");
  }
}

bool TFDaneUcznia::vFunFormDataToList(std::vector<TDataRecord>& list) {
  vFunProtocolToList(*this, kTag, false, list);
  return true;
}

void TFDaneUcznia::vFunFormDataFromList(const std::vector<TDataRecord>& list) {
  // Emptied and filled as one batch: only the fields whose text changes
  // are touched. Nothing of the student shown before stays: what the rows
  // lack is left empty, the sex unchosen.
  TTextBatch batch;
  vFunEmptyFormData(batch);
  const std::string male = cp1250("mężczyzna");
  for (const TDataRecord& r : list) {
    if (r.id.str() != kTag) continue;
    const std::string& name = r.comp_name.str();
    QObject* component = findComponent(name);
    if (!component) continue;
    if (name.find(kEditMarker) != std::string::npos) {
      batch.vFunSetText(component, r.value.str());
    } else if (name.find(kComboMarker) != std::string::npos) {
      // A stored sex is "mężczyzna" exactly or else "kobieta", an empty one
      // included; only a student without a sex row shows none chosen.
      if (component == Plec_DATA_COMBOBOX)
        batch.vFunSetIndex(Plec_DATA_COMBOBOX, r.value.str() == male ? 1 : 0);
      else
        batch.vFunSetText(component, r.value.str());
    } else if (name.find(kMemoMarker) != std::string::npos) {
      batch.vFunSetText(component, r.value.str());
    }
  }
  batch.vFunCommit();
}

bool TFDaneUcznia::bFunCheckFields() {
  struct TCheck {
    bool failed;
    const char* message;
    QWidget* field;
  };
  const TCheck checks[] = {
      {strFunGetText(Nazwisko_DATA_EDIT).empty(), "Nazwisko ucznia jest wymagane", Nazwisko_DATA_EDIT},
      {strFunGetText(Imie_DATA_EDIT).empty(), "Imię ucznia jest wymagane", Imie_DATA_EDIT},
      {Plec_DATA_COMBOBOX->currentIndex() < 0, "Płeć ucznia jest wymagana", Plec_DATA_COMBOBOX},
      {!peselCharactersValid(strFunGetText(NrPesel_DATA_EDIT)),
       "Numer PESEL nie jest prawidłowy lub zawiera nie dozwolone znaki", NrPesel_DATA_EDIT},
  };
  for (const TCheck& c : checks) {
    if (!c.failed) continue;
    MessageBox(cp1250(c.message), "Brak danych", MB_OK | MB_ICONWARNING);
    c.field->setFocus();
    return false;
  }
  return true;
}

void TFDaneUcznia::OKButtonClick() {
  TDataStore* ds = &FGlowna->DataStore;
  // The places are offered next time whatever the checks decide.
  bFunStudentDataAddCity(ds, strFunGetText(UrodzonyMiasto_DATA_COMBOBOX));
  bFunStudentDataAddProvince(ds, strFunGetText(UrodzonyWoj_DATA_COMBOBOX));
  if (!bFunCheckFields()) return;
  capitaliseFirstLetter(Imie_DATA_EDIT);
  capitaliseFirstLetter(Nazwisko_DATA_EDIT);

  const TSystemPath file = strFunGetTmpFilePath(ds);
  const std::string table = "PESEL" + strFunGetText(NrPesel_DATA_EDIT);
  // Another stored student under this number is replaced only with consent;
  // the student's own table is replaced as a matter of course.
  const bool ownTable = bEditMode && table == strStudentTable;
  if (!ownTable) {
    const int exists = iFunCheckIsStudentExists(ds, file, table, true);
    if (exists < 0) {
      MessageBox(cp1250("Błąd zapisu danych.\n\n") + ds->ErrorStream.str(), cp1250("Błąd"), MB_OK | MB_ICONSTOP);
      return;
    }
    if (exists == 1 &&
        MessageBox(cp1250("Uczeń o tym numerze PESEL już istnieje, czy chcesz nadpisać dane tego ucznia ?"), "Zapis",
                   MB_YESNO | MB_ICONWARNING) != IDYES)
      return;
  }
  // In edit mode the former table goes in the same step that writes the new one.
  if (FGlowna->bFunZapiszDaneUcznia(bEditMode ? strStudentTable : std::string())) setModalResult(mrOk);
}

void TFDaneUcznia::AnulujButtonClick() { setModalResult(mrCancel); }
