#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// The system ANSI code page, as WinExec expects its command line.
std::string ToAnsi(std::wstring_view text);

} // namespace platform
