#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace download {

// "0 byte", "999 bytes", "977 KB", "1.13 MB": the size line's text for a byte
// count. The thresholds are decimal while the divisors are binary.
std::wstring FormatByteSize(std::uint32_t count);
std::wstring FormatByteSize(std::uint32_t count, std::wstring_view decimalSeparator);

} // namespace download
