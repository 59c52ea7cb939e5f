#include "platform/FileSystem.h"

#include <windows.h>

namespace platform {
namespace {

DWORD AttributesOf(std::wstring_view path)
{
    return path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(std::wstring(path).c_str());
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

} // namespace

bool DirectoryExists(std::wstring_view path)
{
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(std::wstring_view path)
{
    DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(std::wstring_view path)
{
    while (!path.empty() && IsSeparator(path.back()))
        path.remove_suffix(1);
    if (path.empty())
        return false;
    if (DirectoryExists(path))
        return true;
    std::wstring parent = FolderOf(path);
    // "C:" and "\\server\share" are roots: they exist or they don't.
    if (!parent.empty() && parent.size() < path.size() && parent.back() != L':')
        ForceDirectories(parent);
    ::CreateDirectoryW(std::wstring(path).c_str(), nullptr);
    return DirectoryExists(path);
}

std::wstring FileNameOf(std::wstring_view path)
{
    size_t separator = path.find_last_of(L"\\/");
    return std::wstring(separator == std::wstring_view::npos ? path : path.substr(separator + 1));
}

std::wstring FolderOf(std::wstring_view path)
{
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, separator));
}

} // namespace platform
