#include "support/TestEnvironment.h"

#include "platform/Text.h"

#include <windows.h>
#include <tlhelp32.h>

#include <stdexcept>

namespace testing_env {

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[4096] = {};
    DWORD length = ::GetEnvironmentVariableW(name, value, 4096);
    if (!length || length >= 4096)
        throw std::runtime_error("environment variable " + platform::ToUtf8(name) + " is not set; run the tests through ctest");
    return std::wstring(value, length);
}

std::wstring VendorUrl() { return Environment(L"INSTALADOR_VENDOR_URL"); }
std::wstring DownloadUrl(std::wstring_view name) { return VendorUrl() + L"/download/" + std::wstring(name); }
std::wstring PayloadPath(std::wstring_view name) { return Environment(L"INSTALADOR_PAYLOAD") + L"\\" + std::wstring(name); }

std::string ReadBytes(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + platform::ToUtf8(path));
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        bytes.append(buffer, got);
    ::CloseHandle(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, std::string_view bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + platform::ToUtf8(path));
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::vector<std::wstring> ListFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void RemoveTree(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : ListFolder(path))
            RemoveTree(path + L"\\" + name);
        ::RemoveDirectoryW(path.c_str());
    } else {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
    }
}

TScratchFolder::TScratchFolder()
{
    ::CreateDirectoryW(L"C:\\instalador-tests", nullptr);
    for (unsigned n = ::GetTickCount();; ++n) {
        path_ = L"C:\\instalador-tests\\" + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(n);
        if (::CreateDirectoryW(path_.c_str(), nullptr))
            return;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("cannot create a scratch folder");
    }
}

TScratchFolder::~TScratchFolder()
{
    RemoveTree(path_);
}

std::vector<TStandInEvent> StandInEvents()
{
    std::vector<TStandInEvent> events;
    const std::wstring path = Environment(L"INSTALADOR_STANDIN_LOG");
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return events;
    std::wstring text = platform::FromUtf8(ReadBytes(path));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 2;
        std::vector<std::wstring> fields;
        size_t from = 0;
        for (size_t tab; (tab = line.find(L'\t', from)) != std::wstring::npos; from = tab + 1)
            fields.push_back(line.substr(from, tab - from));
        fields.push_back(line.substr(from));
        if (fields.size() == 4)
            events.push_back({fields[0], fields[1], fields[2], fields[3]});
    }
    return events;
}

void ClearStandInEvents()
{
    ::DeleteFileW(Environment(L"INSTALADOR_STANDIN_LOG").c_str());
}

} // namespace testing_env

namespace testing_env {

void EndProcessesUnder(const std::wstring& folder)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32W entry{sizeof entry};
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        wchar_t image[MAX_PATH] = {};
        DWORD length = MAX_PATH;
        if (::QueryFullProcessImageNameW(process, 0, image, &length) && _wcsnicmp(image, folder.c_str(), folder.size()) == 0) {
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 5000);
        }
        ::CloseHandle(process);
    }
    ::CloseHandle(snapshot);
}

} // namespace testing_env
