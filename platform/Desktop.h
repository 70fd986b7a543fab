#pragma once
// Opening a file or a web address with the program the desktop has for it
// (xdg-open), as the shell's "open" action does elsewhere.
#include <functional>
#include <string>

namespace platform {

// Hands the target (a path in Windows-1250 text, or an address) to the
// desktop's opener and returns at once; the opener runs on its own, the
// program neither waits for it nor keeps it as a child. False (errno set)
// when no opener can be started.
//
// With statusFd, a started opener also gives *statusFd: a descriptor
// (close-on-exec, not blocking) that becomes readable when the opener has
// ended and then yields one byte, 0 when it opened the target and not 0
// when it could not (its exit status, 255 for a signal); end of file
// without a byte when that could not be learnt. The caller closes it. It
// is -1 when there is nothing to wait for (a replaced opener).
bool openWithDesktop(const std::string& target, int* statusFd = nullptr);

// Replaces the opener (tests); an empty function restores the desktop's.
void setDesktopOpener(std::function<bool(const std::string&)> opener);

}  // namespace platform
