#pragma once
// One copy of the program per data folder: an exclusive lock on a lock file
// of that folder. The lock file lies in the user's runtime folder
// ($XDG_RUNTIME_DIR, private to the user and emptied when the user's last
// session ends), named after the lock and the folder itself (its device
// and inode), so every name of one folder finds the one lock; without a
// usable runtime folder it lies in the folder. The kernel drops the lock
// when the process ends, however it ends, so a crash leaves nothing behind.
#include "platform/SystemPath.h"

#include <string>

namespace platform {

// Takes the lock `name` of `folder` (an existing folder) and
// keeps it for the life of the process. False when another holder has it.
// When no lock file can be had at all, the program is not stopped: true.
bool takeSingleInstanceLock(const std::string& name, const TSystemPath& folder);

// The lock file of `name` for `folder`; empty when the folder is not there.
TSystemPath singleInstanceLockPath(const std::string& name, const TSystemPath& folder);

}  // namespace platform
