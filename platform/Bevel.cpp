#include "platform/Bevel.h"

#include "platform/Palette.h"
#include "platform/UniqueHandle.h"

namespace platform {

void TBevel::Create(HWND parent, const RECT& bounds)
{
    CreateControl(L"STATIC", 0, WS_VISIBLE | SS_OWNERDRAW, L"", bounds, parent);
}

std::optional<LRESULT> TBevel::HandleReflected(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return std::nullopt;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    ::FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    RECT line{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.top + 1};
    UniqueBrush brush{::CreateSolidBrush(palette::Line)};
    ::FillRect(item.hDC, &line, brush.get());
    return TRUE;
}

} // namespace platform
