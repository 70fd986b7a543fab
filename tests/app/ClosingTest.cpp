#include "AppFixture.h"

#include <QAction>

namespace {

const TShownBox kSaveQuestion {cp1250("Czy chcesz zapisać zmiany ?"), "", MB_YESNO};
const TShownBox kExitQuestion {cp1250("Czy na pewno chcesz zakończyć pracę ?"), "Koniec", MB_YESNO | MB_ICONQUESTION};

}  // namespace

TEST_F(AppTest, ClosingAsksByTheFlags) {
  struct Case {
    const char* what;
    bool noAsk, modified;
    std::vector<int> answers;
    std::vector<TShownBox> asked;
    bool closes;
  };
  const Case cases[] = {
      {"no questions after a decision to end", true, true, {}, {}, true},
      {"exit confirmed", false, false, {IDYES}, {kExitQuestion}, true},
      {"exit refused", false, false, {IDNO}, {kExitQuestion}, false},
      {"changes not saved, exit confirmed", false, true, {IDNO, IDYES}, {kSaveQuestion, kExitQuestion}, true},
      {"changes saved, exit refused", false, true, {IDYES, IDNO}, {kSaveQuestion, kExitQuestion}, false},
  };
  for (const auto& c : cases) {
    start();
    FGlowna->show();
    FGlowna->bCloseNoAsk = c.noAsk;
    FGlowna->bDataModified = c.modified;
    TScriptedDialogs answering;  // a fresh queue for this case
    answering.answers = c.answers;
    FGlowna->close();
    EXPECT_EQ(answering.boxes, c.asked) << c.what;
    EXPECT_EQ(FGlowna->bFunClosed(), c.closes) << c.what;
    EXPECT_EQ(FGlowna->isVisible(), !c.closes) << c.what;
    EXPECT_EQ(FGlowna->bDataModified, c.modified) << c.what;  // the flag stays as it was
  }
}

TEST_F(AppTest, KoniecAlwaysAsks) {
  start();
  FGlowna->show();
  FGlowna->bCloseNoAsk = true;
  script.boxes.clear();
  script.answers = {IDNO};
  FGlowna->findComponentAs<QAction>("Koniec1")->trigger();
  EXPECT_EQ(script.boxes, (std::vector<TShownBox> {kExitQuestion}));
  EXPECT_FALSE(FGlowna->bCloseNoAsk);
  EXPECT_TRUE(FGlowna->isVisible());
}
