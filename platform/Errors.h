#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace platform {

// An error whose message is meant for the user: the window's exception
// boundary shows it in a message box.
class TException : public std::exception {
public:
    explicit TException(std::wstring message);

    const std::wstring& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::wstring message_;
    std::string utf8_;
};

// A failed Windows call, with its error code.
class TWin32Error : public TException {
public:
    TWin32Error(std::wstring_view operation, DWORD code);
    DWORD Code() const noexcept { return code_; }

private:
    DWORD code_;
};

// Unwinds to the event loop without showing anything.
class TSilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return "silent abort"; }
};

// The system's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD code);

[[noreturn]] void ThrowLastError(std::wstring_view operation);
[[noreturn]] void ThrowWin32Error(std::wstring_view operation, DWORD code);
void CheckHResult(HRESULT result, std::wstring_view operation);

// The message an exception would show to the user, or empty for a silent abort.
std::wstring UserMessageOf(const std::exception_ptr& error);

} // namespace platform
