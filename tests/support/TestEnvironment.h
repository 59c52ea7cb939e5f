#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the harness set up for this test run, and small file helpers.
namespace testing_env {

std::wstring Environment(const wchar_t* name);

// http://127.0.0.1:PORT, the test run's vendor server.
std::wstring VendorUrl();
std::wstring DownloadUrl(std::wstring_view name);
// The file the vendor server holds under that name.
std::wstring PayloadPath(std::wstring_view name);

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, std::string_view bytes);
// Names in a folder, "." and ".." left out.
std::vector<std::wstring> ListFolder(const std::wstring& folder);
void RemoveTree(const std::wstring& path);

// A folder of its own under C:\instalador-tests, removed at the end.
class TScratchFolder {
public:
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

private:
    std::wstring path_;
};

// The stand-ins' log: one line per event, "role\tevent\tcommand line\tfolder".
struct TStandInEvent {
    std::wstring role, event, commandLine, folder;
};
std::vector<TStandInEvent> StandInEvents();
void ClearStandInEvents();

// Ends every process started from under `folder` (the stand-ins a run left
// running), so that the folder can be removed.
void EndProcessesUnder(const std::wstring& folder);

} // namespace testing_env
