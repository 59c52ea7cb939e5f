#pragma once

#include "platform/Label.h"

#include <functional>

namespace platform {

// A web address that opens with the system's handler when clicked. A plain
// clickable static: Wine's SysLink deletes the brush it is given to paint with.
class THyperlink : public TLabel {
public:
    void Create(HWND parent, const RECT& bounds, std::wstring_view address);

    // Opens the address; replaceable so that a caller can watch it.
    std::function<void(const std::wstring& address)> OnOpen;

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// ShellExecute "open" of an address.
void OpenWithSystemHandler(const std::wstring& address);

} // namespace platform
