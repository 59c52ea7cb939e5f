#include "platform/Picture.h"

namespace platform {

void TPicture::Create(HWND parent, const RECT& bounds, const TImage& image, TFit fit, std::wstring_view description)
{
    image_ = &image;
    fit_ = fit;
    CreateControl(L"STATIC", 0, WS_VISIBLE | SS_OWNERDRAW, description, bounds, parent);
}

void TPicture::Draw(HDC dc, const RECT& area)
{
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!image_ || image_->Empty())
        return;
    const RECT place = FitProportionally(image_->Size(), area, fit_ == TFit::Stretch);
    const SIZE size{place.right - place.left, place.bottom - place.top};
    if (!rendered_ || size.cx != renderedSize_.cx || size.cy != renderedSize_.cy) {
        rendered_ = image_->Render(size.cx, size.cy);
        renderedSize_ = size;
    }
    if (rendered_)
        DrawBitmap(dc, rendered_.get(), size, POINT{place.left, place.top});
}

std::optional<LRESULT> TPicture::HandleReflected(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return std::nullopt;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    Draw(item->hDC, item->rcItem);
    return TRUE;
}

} // namespace platform
