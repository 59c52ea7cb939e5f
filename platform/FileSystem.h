#pragma once

#include <string>
#include <string_view>

namespace platform {

bool DirectoryExists(std::wstring_view path);
bool FileExists(std::wstring_view path); // a file, not a folder
// Creates the folder and every missing parent. Returns whether the folder exists afterwards.
bool ForceDirectories(std::wstring_view path);
std::wstring FileNameOf(std::wstring_view path);
std::wstring FolderOf(std::wstring_view path);

} // namespace platform
