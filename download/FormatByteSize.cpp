#include "download/FormatByteSize.h"

#include <windows.h>

namespace download {
namespace {

std::wstring UserDecimalSeparator()
{
    wchar_t separator[8] = {};
    if (::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1)
        return L".";
    return separator;
}

} // namespace

std::wstring FormatByteSize(std::uint32_t count)
{
    return FormatByteSize(count, UserDecimalSeparator());
}

std::wstring FormatByteSize(std::uint32_t count, std::wstring_view decimalSeparator)
{
    if (count < 2)
        return std::to_wstring(count) + L" byte";
    if (count < 1000)
        return std::to_wstring(count) + L" bytes";
    if (count <= 1'000'000) {
        // Nearest whole KB, a half going to the even neighbour.
        std::uint32_t kilobytes = count / 1024;
        std::uint32_t rest = count % 1024;
        if (rest > 512 || (rest == 512 && kilobytes % 2 == 1))
            ++kilobytes;
        return std::to_wstring(kilobytes) + L" KB";
    }
    // Hundredths of a MB, a half going away from zero, in integers so that
    // exact halves of the binary value round as the table says.
    const std::uint64_t hundredths = (std::uint64_t{count} * 100 + (1u << 19)) >> 20;
    std::wstring cents = std::to_wstring(hundredths % 100);
    if (cents.size() < 2)
        cents.insert(0, 1, L'0');
    return std::to_wstring(hundredths / 100) + std::wstring(decimalSeparator) + cents + L" MB";
}

} // namespace download
