#include "platform/Font.h"

#include "platform/Dpi.h"
#include "platform/Errors.h"

#include <cwchar>

namespace platform {

UniqueFont CreateFontForDpi(const TFontSpec& spec, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = Scale(spec.Height96, dpi);
    font.lfWeight = spec.Weight;
    font.lfCharSet = spec.CharSet;
    font.lfUnderline = spec.Underline ? TRUE : FALSE;
    font.lfQuality = CLEARTYPE_QUALITY;
    std::wcsncpy(font.lfFaceName, spec.Face, LF_FACESIZE - 1);
    UniqueFont result{::CreateFontIndirectW(&font)};
    if (!result)
        ThrowLastError(L"CreateFontIndirect");
    return result;
}

} // namespace platform
