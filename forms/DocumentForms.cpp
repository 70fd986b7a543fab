#include "forms/DocumentForms.h"

#include "forms/certificates_current/Klasa1aUnit.h"
#include "forms/certificates_current/Klasa1awyrUnit.h"
#include "forms/certificates_current/Klasa2aUnit.h"
#include "forms/certificates_current/Klasa2awyrUnit.h"
#include "forms/certificates_current/KoniecaUnit.h"
#include "forms/certificates_current/KoniecawyrUnit.h"
#include "forms/certificates_earlier/Klasa1Unit.h"
#include "forms/certificates_earlier/Klasa1wyrUnit.h"
#include "forms/certificates_earlier/Klasa2Unit.h"
#include "forms/certificates_earlier/Klasa2wyrUnit.h"
#include "forms/certificates_earlier/KoniecUnit.h"
#include "forms/certificates_earlier/KoniecwyrUnit.h"
#include "forms/record_sheets/ArkuszStr1Unit.h"
#include "forms/record_sheets/ArkuszStr1bUnit.h"
#include "forms/record_sheets/ArkuszStr2Unit.h"
#include "forms/record_sheets/ArkuszStr2bUnit.h"
#include "forms/record_sheets/ArkuszStr3Unit.h"
#include "forms/record_sheets/ArkuszStr3bUnit.h"
#include "forms/record_sheets/ArkuszStr4Unit.h"
#include "forms/record_sheets/ArkuszStr4bUnit.h"
#include "forms/record_sheets/ArkuszStr5Unit.h"
#include "forms/record_sheets/WywiadowkaUnit.h"

std::vector<TDocumentForm*> vFunDocumentForms() {
  return {FKlasa1,      FKlasa1wyr,   FKlasa2,      FKlasa2wyr,   FKoniec,      FKoniecwyr,
          FKlasa1a,     FKlasa1awyr,  FKlasa2a,     FKlasa2awyr,  FKonieca,     FKoniecawyr,
          FWywiadowka,  FArkuszStr1,  FArkuszStr2,  FArkuszStr3,  FArkuszStr4,  FArkuszStr5,
          FArkuszStr1b, FArkuszStr2b, FArkuszStr3b, FArkuszStr4b};
}

TDocumentForm* frmFunFormOfClass(std::string_view className) {
  for (TDocumentForm* form : vFunDocumentForms())
    if (form && className == form->Identity.className) return form;
  return nullptr;
}

TDocumentForm* frmFunFormOfKind(TDocKind kind) {
  const auto info = optFunDocKind(kind);
  return info ? frmFunFormOfClass(info->form) : nullptr;
}
