#include "support/InstallationChecks.h"

#include "app/Installation.h"
#include "app/WindowDefinition.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/VendorServer.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <set>

namespace installation_checks {
namespace {

namespace inst = app::installation;
const std::wstring InstallDir(inst::InstallDir);
const std::wstring Images = InstallDir + L"\\Imagens";

std::wstring InstalledPathOf(std::wstring_view name)
{
    for (const inst::TRename& rename : inst::Renames)
        if (L"\\" + std::wstring(name) == rename.Source)
            return InstallDir + std::wstring(rename.Target);
    return InstallDir + L"\\" + std::wstring(name);
}

} // namespace

std::vector<std::string> FirstOccurrences()
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    for (std::wstring_view name : app::definition::PackageFiles)
        if (seen.insert(platform::ToUtf8(name)).second)
            names.push_back(platform::ToUtf8(name));
    return names;
}

std::vector<std::string> ImageNames()
{
    std::vector<std::string> names;
    for (std::wstring_view name : inst::ImageFiles)
        names.push_back(platform::ToUtf8(name));
    return names;
}

std::vector<std::string> CleanRunRequests()
{
    std::vector<std::string> names = FirstOccurrences();
    std::vector<std::string> images = ImageNames();
    names.insert(names.end(), images.begin(), images.end());
    return names;
}

void ExpectInstalledFilesMatchTheServer()
{
    using testing_env::PayloadPath;
    using testing_env::ReadBytes;
    for (std::wstring_view name : app::definition::PackageFiles)
        EXPECT_EQ(ReadBytes(InstalledPathOf(name)), ReadBytes(PayloadPath(name))) << platform::ToUtf8(name);
    for (std::wstring_view name : inst::ImageFiles)
        EXPECT_EQ(ReadBytes(Images + L"\\" + std::wstring(name)), ReadBytes(PayloadPath(name))) << platform::ToUtf8(name);
}

void ExpectNothingElseInstalled()
{
    std::set<std::wstring> expected{L"NFSE", L"Imagens"};
    for (std::wstring_view name : app::definition::PackageFiles)
        expected.insert(platform::FileNameOf(InstalledPathOf(name)));
    auto listing = testing_env::ListFolder(InstallDir);
    EXPECT_EQ(std::set<std::wstring>(listing.begin(), listing.end()), expected);
    EXPECT_EQ(testing_env::ListFolder(Images).size(), inst::ImageFiles.size());
    for (const inst::TSupportFolder& folder : inst::SupportFolders)
        EXPECT_TRUE(platform::DirectoryExists(InstallDir + std::wstring(folder.Folder))) << platform::ToUtf8(folder.Folder);
}

bool InstallationIsComplete()
{
    if (!platform::DirectoryExists(InstallDir))
        return false;
    for (std::wstring_view name : app::definition::PackageFiles)
        if (!platform::FileExists(InstalledPathOf(name)))
            return false;
    for (std::wstring_view name : inst::ImageFiles)
        if (!platform::FileExists(Images + L"\\" + std::wstring(name)))
            return false;
    return true;
}

namespace {

// The name the server holds a file under.
std::wstring ServedNameOf(const std::wstring& relative)
{
    if (relative.starts_with(L"Imagens\\"))
        return relative.substr(8);
    for (const inst::TRename& rename : inst::Renames)
        if (L"\\" + relative == rename.Target)
            return std::wstring(rename.Source.substr(1));
    return relative;
}

void CheckFolder(const std::wstring& folder, const std::wstring& relative, const std::map<std::wstring, std::string>& servedAs)
{
    for (const std::wstring& name : testing_env::ListFolder(folder)) {
        const std::wstring path = folder + L"\\" + name;
        const std::wstring inside = relative.empty() ? name : relative + L"\\" + name;
        if (platform::DirectoryExists(path)) {
            CheckFolder(path, inside, servedAs);
            continue;
        }
        const std::wstring served = ServedNameOf(inside);
        if (auto special = servedAs.find(served); special != servedAs.end()) {
            EXPECT_EQ(testing_env::ReadBytes(path), special->second) << platform::ToUtf8(inside);
        } else if (platform::FileExists(testing_env::PayloadPath(served)) && served.find(L'\\') == std::wstring::npos) {
            EXPECT_TRUE(testing_env::ReadBytes(path) == testing_env::ReadBytes(testing_env::PayloadPath(served)))
                << platform::ToUtf8(inside) << " differs from what the server holds";
        } else {
            ADD_FAILURE() << platform::ToUtf8(inside) << " is not a file the server holds";
        }
    }
}

} // namespace

void ExpectOnlyCompleteFiles(const std::map<std::wstring, std::string>& servedAs)
{
    CheckFolder(InstallDir, L"", servedAs);
}

std::wstring DesktopLink()
{
    PWSTR folder = nullptr;
    ::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &folder);
    std::wstring path = folder ? folder : L"";
    ::CoTaskMemFree(folder);
    return path + L"\\Lumivar.lnk";
}

int CountEvents(const std::vector<testing_env::TStandInEvent>& events, std::wstring_view role, std::wstring_view event)
{
    return static_cast<int>(
        std::count_if(events.begin(), events.end(), [&](const auto& e) { return e.role == role && e.event == event; }));
}

std::vector<testing_env::TStandInEvent> WaitForStandInEvents(size_t expected)
{
    for (int i = 0; i < 100; ++i) {
        auto events = testing_env::StandInEvents();
        if (events.size() >= expected)
            return events;
        ::Sleep(50);
    }
    return testing_env::StandInEvents();
}

void RemoveInstallation()
{
    testing_env::EndProcessesUnder(L"C:\\Brenvalt\\");
    testing_env::RemoveTree(L"C:\\Brenvalt");
    ::DeleteFileW(DesktopLink().c_str());
}

void StartClean()
{
    RemoveInstallation();
    vendor::Reset();
    testing_env::ClearStandInEvents();
}

} // namespace installation_checks
