#include "platform/Registry.h"

#include "platform/Errors.h"

#include <vector>

namespace platform {

TRegistryIniFile::TRegistryIniFile(HKEY root, std::wstring_view path)
{
    LSTATUS status = ::RegCreateKeyExW(root, std::wstring(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                       nullptr, key_.put(), nullptr);
    if (status != ERROR_SUCCESS)
        ThrowWin32Error(L"Não foi possível abrir a chave do registro " + std::wstring(path), static_cast<DWORD>(status));
}

std::wstring TRegistryIniFile::ReadString(std::wstring_view section, std::wstring_view entry, std::wstring_view fallback) const
{
    UniqueRegistryKey sectionKey;
    if (::RegOpenKeyExW(key_.get(), std::wstring(section).c_str(), 0, KEY_READ, sectionKey.put()) != ERROR_SUCCESS)
        return std::wstring(fallback);

    const std::wstring name(entry);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(sectionKey.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::wstring(fallback);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw TException(L"Tipo de dado inválido para '" + name + L"'");

    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LSTATUS status = ::RegQueryValueExW(sectionKey.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status != ERROR_SUCCESS)
        ThrowWin32Error(L"Não foi possível ler '" + name + L"' do registro", static_cast<DWORD>(status));
    // Stored strings need not end with a terminator; the extra slot gives one.
    return std::wstring(buffer.data());
}

} // namespace platform
