#include "platform/MessageSink.h"

#include <string>

namespace platform {

void TMessageBoxSink::Show(HWND owner, std::wstring_view caption, std::wstring_view text, TMessageIcon icon)
{
    UINT style = MB_OK;
    if (icon == TMessageIcon::Error)
        style |= MB_ICONERROR;
    ::MessageBoxW(owner, std::wstring(text).c_str(), std::wstring(caption).c_str(), style);
}

} // namespace platform
