#pragma once
// The programs a test starts through the platform's detached start (a
// double fork: the started program is nobody's child). While an instance
// lives, this test process adopts every such program when its starter ends,
// so the test can wait until every program started since has ended and then
// read what they did, instead of sleeping and hoping that long was enough.
class TStartedPrograms {
 public:
  TStartedPrograms();
  ~TStartedPrograms();
  TStartedPrograms(const TStartedPrograms&) = delete;
  TStartedPrograms& operator=(const TStartedPrograms&) = delete;

  // Waits until every program started since the instance was made has
  // ended. False when this process cannot adopt them (nothing is awaited).
  bool bFunAwaitAllEnded();

 private:
  bool adopting_ = false;
};
