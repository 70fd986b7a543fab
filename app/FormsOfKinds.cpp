#include "app/FormsOfKinds.h"

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

#include <string_view>

namespace {

struct TFormOfClass {
  std::string_view className;
  TFormBase* (*instance)();
};

#define TARVEK_FORM(name) {"T" #name, [] { return static_cast<TFormBase*>(name); }}
const TFormOfClass kForms[] = {
    TARVEK_FORM(FKlasa1),      TARVEK_FORM(FKlasa1wyr),   TARVEK_FORM(FKlasa2),      TARVEK_FORM(FKlasa2wyr),
    TARVEK_FORM(FKoniec),      TARVEK_FORM(FKoniecwyr),   TARVEK_FORM(FKlasa1a),     TARVEK_FORM(FKlasa1awyr),
    TARVEK_FORM(FKlasa2a),     TARVEK_FORM(FKlasa2awyr),  TARVEK_FORM(FKonieca),     TARVEK_FORM(FKoniecawyr),
    TARVEK_FORM(FWywiadowka),  TARVEK_FORM(FArkuszStr1),  TARVEK_FORM(FArkuszStr2),  TARVEK_FORM(FArkuszStr3),
    TARVEK_FORM(FArkuszStr4),  TARVEK_FORM(FArkuszStr5),  TARVEK_FORM(FArkuszStr1b), TARVEK_FORM(FArkuszStr2b),
    TARVEK_FORM(FArkuszStr3b), TARVEK_FORM(FArkuszStr4b),
};
#undef TARVEK_FORM

}  // namespace

TFormBase* frmFunFormOfKind(TDocKind kind) {
  const auto info = optFunDocKind(kind);
  if (!info) return nullptr;
  for (const TFormOfClass& form : kForms)
    if (form.className == info->form) return form.instance();
  return nullptr;
}
