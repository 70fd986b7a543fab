// A machine where no more threads can be started (the user's limit of
// processes is reached, or memory is short): this test program stands in
// for it by answering every start of a thread with EAGAIN, as the system
// does, while `gRefuse` is set. The open of a document does the work it
// would hand to a thread on its own thread instead, and the program goes on.
#include "StudentFixture.h"

#include <QToolButton>

#include <atomic>
#include <cerrno>
#include <dlfcn.h>
#include <pthread.h>

namespace {

std::atomic<bool> gRefuse {false};

}  // namespace

// The thread starts of this program and of the libraries it loads come here
// first (the program exports it).
extern "C" int pthread_create(pthread_t* thread, const pthread_attr_t* attributes, void* (*start)(void*),
                              void* argument) {
  if (gRefuse) return EAGAIN;
  using Call = int (*)(pthread_t*, const pthread_attr_t*, void* (*)(void*), void*);
  static const auto call = reinterpret_cast<Call>(::dlsym(RTLD_NEXT, "pthread_create"));
  return call(thread, attributes, start, argument);
}

namespace {

class NoThreadsTest : public PolishHomeTest {
 protected:
  void TearDown() override {
    gRefuse = false;
    PolishHomeTest::TearDown();
  }
};

}  // namespace

// "Otwórz plik" with no thread to be had: the file opens as anywhere else,
// and the program runs on.
TEST_F(NoThreadsTest, AnOpenWithNoThreadToBeHadOpensTheFile) {
  const std::string path = makeDocumentFile(
      {{"1", personalRows("Lis", "Anna", "1")}, {"2", personalRows(cp1250("Żak"), cp1250("Łucja"), "2")}},
      cp1250("klasa 2b żółć.sqtvk"));
  script.fileNames = {chosenName(path)};
  gRefuse = true;
  FGlowna->OtworzPlikToolButton->click();
  gRefuse = false;
  EXPECT_TRUE(script.boxes.empty()) << shownBoxes();
  EXPECT_EQ(FGlowna->StatusBar->SimpleText(), path);
  EXPECT_EQ(roots(), (std::vector<std::string> {"Lis Anna", cp1250("Żak Łucja")}));
  EXPECT_EQ(tables(), (std::vector<std::string> {"PESEL1", "PESEL2"}));
  EXPECT_EQ(loggedErrors(), Rows {});
}
