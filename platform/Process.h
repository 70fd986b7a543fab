#pragma once
// Starting other programs: a program of its own, the desktop's handler of a
// file or an address, the desktop's mail program. Texts are Windows-1250,
// converted to the system's UTF-8 inside.
#include <string>
#include <vector>

#include "platform/SystemPath.h"

namespace platform {

// Starts `program` (a path, or a name looked up on PATH) with its arguments
// as a separate process that outlives this one and is never waited for.
// True once the program has been started; false (errno set) when it
// cannot be, e.g. it is missing or not executable.
bool startProcess(const std::string& program, const std::vector<std::string>& arguments);

// Starts exactly this file (execv: no PATH, no shell) as a separate process
// as above. A file that is not a program of this system is not run (false,
// errno ENOEXEC).
bool startProgramFile(const TSystemPath& file);

// Hands one message with one attached file to the desktop's mail program
// (xdg-email), which shows it to the user before it is sent. False when no
// mail program can be started.
bool sendMail(const std::string& subject, const std::string& recipient, const std::string& body,
              const std::string& attachmentPath);

}  // namespace platform
