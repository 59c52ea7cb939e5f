#include "platform/Font.h"

#include "platform/Dpi.h"
#include "platform/Errors.h"

#include <cwchar>

namespace platform {

UniqueFont CreateFontForDpi(const TFontSpec& wanted, UINT dpi)
{
    LOGFONTW font{};
    font.lfHeight = Scale(wanted.Height96, dpi);
    font.lfWeight = wanted.Weight;
    font.lfCharSet = wanted.CharSet;
    font.lfUnderline = wanted.Underline ? TRUE : FALSE;
    font.lfQuality = CLEARTYPE_QUALITY;
    std::wcsncpy(font.lfFaceName, wanted.Face, LF_FACESIZE - 1);
    UniqueFont result{::CreateFontIndirectW(&font)};
    if (!result)
        ThrowLastError(L"CreateFontIndirect");
    return result;
}

} // namespace platform
