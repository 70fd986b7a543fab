#pragma once
// Other accounts of the machine, for tests run as root: a colleague on
// another account, a stranger who must not read what is private.
#include <string>
#include <sys/types.h>
#include <vector>

// Runs a command as `user` (runuser), with its output and errors going to
// the file `output` (nowhere when empty); true when it succeeded.
bool runAs(const char* user, std::vector<std::string> command, const std::string& output = {});

// True when that user can open the file for reading, as with cat.
bool readableBy(const char* user, const std::string& path);

// This test process as another user of the machine for as long as the
// object lives: what the permissions of a folder forbid that user really
// fails, as it does for a secretary's own account (root's would not).
class TAsUser {
 public:
  explicit TAsUser(uid_t uid);
  ~TAsUser();
  TAsUser(const TAsUser&) = delete;
  TAsUser& operator=(const TAsUser&) = delete;
  bool active() const { return active_; }

 private:
  bool active_ = false;
};
