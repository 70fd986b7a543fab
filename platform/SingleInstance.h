#pragma once
// One copy of the program per user: an exclusive lock on a per-user lock
// file. The kernel drops the lock when the process ends, however it ends,
// so a crash leaves nothing behind.
#include <string>

namespace platform {

// Takes the lock `name` for this user and keeps it for the life of the
// process. False when another process holds it. When no lock file can be
// had at all, the program is not stopped: true.
bool takeSingleInstanceLock(const std::string& name);

// The lock file of `name` for this user (Windows-1250 path).
std::string singleInstanceLockPath(const std::string& name);

}  // namespace platform
