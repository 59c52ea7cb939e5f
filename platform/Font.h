#pragma once

#include "platform/UniqueHandle.h"

namespace platform {

struct TFontSpec {
    const wchar_t* Face = L"Tahoma";
    int Height96 = -11; // negative: character height, as in LOGFONT
    int Weight = FW_NORMAL;
    BYTE CharSet = ANSI_CHARSET;
    bool Underline = false;
};

UniqueFont CreateFontForDpi(const TFontSpec& wanted, UINT dpi);

} // namespace platform
