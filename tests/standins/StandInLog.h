#pragma once

#include <windows.h>

#include <string>

// The stand-ins say what happened to them in one shared log, a line each:
// role, event, command line, working folder, separated by tabs. The log is
// INSTALADOR_STANDIN_LOG, else %TEMP%\instalador-standins.log.
namespace standin {

inline std::wstring Environment(const wchar_t* name)
{
    wchar_t value[MAX_PATH * 2] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length && length < MAX_PATH * 2 ? std::wstring(value, length) : std::wstring();
}

inline std::wstring LogPath()
{
    std::wstring path = Environment(L"INSTALADOR_STANDIN_LOG");
    if (!path.empty())
        return path;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::wstring(temp) + L"instalador-standins.log";
}

inline void Record(const wchar_t* role, const wchar_t* event)
{
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring line = std::wstring(role) + L"\t" + event + L"\t" + ::GetCommandLineW() + L"\t" + folder + L"\r\n";
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), bytes, nullptr, nullptr);

    // Several stand-ins may write at once; appends of one line are atomic enough.
    HANDLE log = ::CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(log, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    ::CloseHandle(log);
}

// INSTALADOR_STANDIN_LIFETIME_MS: how long a stand-in stays before it leaves
// on its own; `fallback` when unset.
inline UINT LifetimeMs(UINT fallback)
{
    std::wstring value = Environment(L"INSTALADOR_STANDIN_LIFETIME_MS");
    return value.empty() ? fallback : static_cast<UINT>(std::wcstoul(value.c_str(), nullptr, 10));
}

} // namespace standin
