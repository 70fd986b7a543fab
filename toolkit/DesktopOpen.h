#pragma once
// Opening a file or an address with the desktop's program for it, and
// learning when that failed: the opener may end with a failure long after
// it was started (no browser, no program for the file), so its end is
// awaited by the event loop, not by the caller.
#include <QObject>

#include <functional>
#include <string>

// Hands the target (Windows-1250 text) to the desktop's opener. When no
// opener can be started, onFailure runs at once; when the opener ends
// having opened nothing, onFailure runs then, on the GUI thread. Returns the
// object that waits for the opener's end, which deletes itself once the end
// is known (QObject::destroyed), or nullptr when there is nothing to wait
// for.
QObject* objFunOpenWithDesktop(const std::string& target, std::function<void()> onFailure);
