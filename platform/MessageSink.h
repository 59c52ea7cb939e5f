#pragma once

#include <windows.h>

#include <string_view>

namespace platform {

enum class TMessageIcon { None, Error };

// Where modal messages go. The application shows message boxes; tests put a
// recorder in its place.
class IMessageSink {
public:
    virtual void Show(HWND owner, std::wstring_view caption, std::wstring_view text, TMessageIcon icon) = 0;

protected:
    ~IMessageSink() = default;
};

// One OK button; the box is modal to its owner and Show returns when it is closed.
class TMessageBoxSink final : public IMessageSink {
public:
    void Show(HWND owner, std::wstring_view caption, std::wstring_view text, TMessageIcon icon) override;
};

} // namespace platform
