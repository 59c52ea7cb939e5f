#include "platform/Text.h"

#include <windows.h>

namespace platform {
namespace {

std::string Narrow(UINT codePage, std::wstring_view text)
{
    if (text.empty())
        return {};
    int length = ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}

} // namespace

std::string ToUtf8(std::wstring_view text) { return Narrow(CP_UTF8, text); }
std::string ToAnsi(std::wstring_view text) { return Narrow(CP_ACP, text); }

std::wstring FromUtf8(std::string_view text)
{
    if (text.empty())
        return {};
    int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), length);
    return result;
}

} // namespace platform
