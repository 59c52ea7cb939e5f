#include "platform/Image.h"

#include "platform/Errors.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace platform {

TImage TImage::FromResource(int resourceId)
{
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found)
        ThrowLastError(L"FindResource " + std::to_wstring(resourceId));
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = ::LockResource(loaded);
    const DWORD length = ::SizeofResource(module, found);

    TImage image;
    CheckHResult(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&image.factory_)),
                 L"WICImagingFactory");
    ComPtr<IWICStream> stream;
    CheckHResult(image.factory_->CreateStream(&stream), L"IWICStream");
    CheckHResult(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), length), L"IWICStream");
    ComPtr<IWICBitmapDecoder> decoder;
    CheckHResult(image.factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, &decoder),
                 L"Decoder");
    ComPtr<IWICBitmapFrameDecode> frame;
    CheckHResult(decoder->GetFrame(0, &frame), L"GetFrame");
    ComPtr<IWICFormatConverter> converter;
    CheckHResult(image.factory_->CreateFormatConverter(&converter), L"FormatConverter");
    CheckHResult(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                       WICBitmapPaletteTypeCustom),
                 L"FormatConverter");
    // Decode once; scaling later reads from memory.
    ComPtr<IWICBitmap> decoded;
    CheckHResult(image.factory_->CreateBitmapFromSource(converter.Get(), WICBitmapCacheOnLoad, &decoded), L"Bitmap");
    image.source_ = decoded;
    UINT width = 0, height = 0;
    image.source_->GetSize(&width, &height);
    image.size_ = SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
    return image;
}

UniqueBitmap TImage::Render(int width, int height) const
{
    if (!source_ || width <= 0 || height <= 0)
        return {};
    ComPtr<IWICBitmapSource> scaled = source_;
    if (width != size_.cx || height != size_.cy) {
        ComPtr<IWICBitmapScaler> scaler;
        CheckHResult(factory_->CreateBitmapScaler(&scaler), L"BitmapScaler");
        CheckHResult(scaler->Initialize(source_.Get(), static_cast<UINT>(width), static_cast<UINT>(height), WICBitmapInterpolationModeFant),
                     L"BitmapScaler");
        scaled = scaler;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as WIC writes rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap{::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
    if (!bitmap)
        ThrowLastError(L"CreateDIBSection");
    const UINT stride = static_cast<UINT>(width) * 4;
    CheckHResult(scaled->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(bits)), L"CopyPixels");
    return bitmap;
}

RECT FitProportionally(SIZE picture, const RECT& box, bool stretch)
{
    const LONG boxWidth = box.right - box.left;
    const LONG boxHeight = box.bottom - box.top;
    LONG width = picture.cx;
    LONG height = picture.cy;
    if (picture.cx > 0 && picture.cy > 0 && (stretch || width > boxWidth || height > boxHeight)) {
        // Scale by the tighter side; integers keep the result exact.
        if (static_cast<long long>(boxWidth) * picture.cy <= static_cast<long long>(boxHeight) * picture.cx) {
            width = boxWidth;
            height = static_cast<LONG>((static_cast<long long>(boxWidth) * picture.cy + picture.cx / 2) / picture.cx);
        } else {
            height = boxHeight;
            width = static_cast<LONG>((static_cast<long long>(boxHeight) * picture.cx + picture.cy / 2) / picture.cy);
        }
    }
    const LONG left = box.left + (boxWidth - width) / 2;
    const LONG top = box.top + (boxHeight - height) / 2;
    return RECT{left, top, left + width, top + height};
}

void DrawBitmap(HDC dc, HBITMAP bitmap, SIZE size, POINT at)
{
    HDC memory = ::CreateCompatibleDC(dc);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(dc, at.x, at.y, size.cx, size.cy, memory, 0, 0, size.cx, size.cy, blend);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
}

} // namespace platform
