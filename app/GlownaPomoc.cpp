// The main window's commands of the help menu that open the shell's small
// windows: the update check and its window, the about window, the maker's
// contact page, the log viewer, and the hidden import dialog.
#include "app/AktualizacjaUnit.h"
#include "app/GlownaUnit.h"
#include "app/ImportUnit.h"
#include "app/LogiUnit.h"
#include "app/OProgramieUnit.h"
#include "platform/Cp1250.h"
#include "platform/Process.h"
#include "toolkit/DesktopOpen.h"
#include "toolkit/Dialogs.h"

#include <QAction>
#include <QToolButton>

namespace {

// The maker's web site and its contact page.
constexpr char kMakerSite[] = "https://www.kestal.pl";
constexpr char kContactQuery[] = "/?strona=/kontakt/kontakt.php";

}  // namespace

void TFGlowna::vFunConnectHelpCommands() {
  AktualizacjaTimer->OnTimer = [this] { AktualizacjaTimerTimer(); };
  vFunOnClick(actionNamed("Sprawdczyjestnowawersja1"), [this] { Sprawdczyjestnowawersja1Click(); });
  vFunOnClick(actionNamed("Oprogramie1"), [this] { Oprogramie1Click(); });
  vFunOnClick(actionNamed("Logiprogramu1"), [this] { Logiprogramu1Click(); });
  vFunOnClick(actionNamed("Wylijwiadomo1"), [this] { KontaktButtonClick(); });
  vFunOnClick(KontaktButton, [this] { KontaktButtonClick(); });
  vFunOnClick(actionNamed("Importujdane1"), [this] { ImportButtonClick(); });
  vFunOnClick(ImportButton, [this] { ImportButtonClick(); });
}

void TFGlowna::AktualizacjaTimerTimer() {
  AktualizacjaTimer->setEnabled(false);
  FAktualizacja->vFunPokazOkno();
  // The window has started the installer: the program ends without questions.
  if (bCloseNoAsk) close();
}

void TFGlowna::Sprawdczyjestnowawersja1Click() { vFunSprawdzAktualizacje(false); }

void TFGlowna::Oprogramie1Click() { FOProgramie->ShowModal(); }

void TFGlowna::KontaktButtonClick() {
  const std::string page = std::string(kMakerSite) + kContactQuery;
  objFunOpenWithDesktop(page, [page] {
    MessageBox(cp1250("Nie można otworzyć strony kontaktowej:\n") + page +
                   cp1250("\n\nW systemie nie ma przeglądarki stron WWW albo nie udało się jej uruchomić. Otwórz "
                          "ten adres w przeglądarce samodzielnie."),
               "Kontakt", MB_OK | MB_ICONWARNING);
  });
}

void TFGlowna::Logiprogramu1Click() { FLogi->ShowModal(); }

void TFGlowna::ImportButtonClick() { FImport->ShowModal(); }
