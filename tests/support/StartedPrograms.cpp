#include "support/StartedPrograms.h"

#include <cerrno>
#include <sys/prctl.h>
#include <sys/wait.h>

TStartedPrograms::TStartedPrograms() { adopting_ = ::prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) == 0; }

TStartedPrograms::~TStartedPrograms() {
  bFunAwaitAllEnded();
  if (adopting_) ::prctl(PR_SET_CHILD_SUBREAPER, 0, 0, 0, 0);
}

bool TStartedPrograms::bFunAwaitAllEnded() {
  if (!adopting_) return false;
  // An orphan comes to this process as its child; none left means every
  // program started since has ended (and whatever it wrote is written).
  for (;;) {
    int status = 0;
    if (::waitpid(-1, &status, 0) >= 0) continue;
    if (errno == EINTR) continue;
    return errno == ECHILD;
  }
}
