#pragma once

#include "platform/Application.h"

#include <string_view>

namespace platform {

// Starts a program with WinExec (command line in the system ANSI code page,
// shown normally) and does not follow it. WinExec waits until the program is
// ready for input, for up to 30 seconds, so the call runs on a worker thread
// while this thread keeps handling its events. Returns WinExec's result.
UINT StartProgram(TApplication& application, std::wstring_view commandLine);

} // namespace platform
