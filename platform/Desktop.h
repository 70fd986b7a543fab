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
bool openWithDesktop(const std::string& target);

// Replaces the opener (tests); an empty function restores the desktop's.
void setDesktopOpener(std::function<bool(const std::string&)> opener);

}  // namespace platform
