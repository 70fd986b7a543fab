#pragma once
// One copy of the program per data folder: an exclusive lock on a lock file
// named after the lock and the key (the folded user name that names the
// data folder, so names that fold alike share one lock). The kernel drops
// the lock when the process ends, however it ends, so a crash leaves
// nothing behind.
#include <string>

namespace platform {

// Takes the lock `name` for `key` (Windows-1250) and keeps it for the life
// of the process. False when another holder has it. When no lock file can
// be had at all, the program is not stopped: true.
bool takeSingleInstanceLock(const std::string& name, const std::string& key);

// The lock file of `name` for `key` (Windows-1250 path).
std::string singleInstanceLockPath(const std::string& name, const std::string& key);

}  // namespace platform
