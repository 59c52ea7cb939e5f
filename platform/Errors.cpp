#include "platform/Errors.h"

#include "platform/Text.h"

namespace platform {

TException::TException(std::wstring message)
    : message_(std::move(message)), utf8_(ToUtf8(message_))
{
}

TWin32Error::TWin32Error(std::wstring_view operation, DWORD code)
    : TException(std::wstring(operation) + L": " + SystemErrorText(code)), code_(code)
{
}

std::wstring SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    DWORD length = ::FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"erro " + std::to_wstring(code);
    return text;
}

void ThrowWin32Error(std::wstring_view operation, DWORD code)
{
    throw TWin32Error(operation, code);
}

void ThrowLastError(std::wstring_view operation)
{
    ThrowWin32Error(operation, ::GetLastError());
}

void CheckHResult(HRESULT result, std::wstring_view operation)
{
    if (FAILED(result))
        ThrowWin32Error(operation, static_cast<DWORD>(result));
}

std::wstring UserMessageOf(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const TSilentAbort&) {
        return {};
    } catch (const TException& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return FromUtf8(e.what());
    } catch (...) {
        return L"Erro desconhecido.";
    }
}

} // namespace platform
