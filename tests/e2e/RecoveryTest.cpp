// An installation that dies on the spot, and the run after it; and what a
// run writes outside its folder.
#include "app/ControlIds.h"
#include "app/Installation.h"
#include "e2e/WindowRun.h"
#include "platform/ComApartment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/InstallationChecks.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace {

namespace id = app::control_id;
namespace inst = app::installation;
using namespace installation_checks;
using namespace std::chrono_literals;
using driver::TInstallerDriver;

// kill -9 of the program's Wine process, from the Unix side.
void KillFromUnix(const std::wstring& programFileName)
{
    std::wstring command = L"/bin/sh -c \"pkill -9 -f '" + programFileName + L"'\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    ::WaitForSingleObject(process.hProcess, 10'000);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

bool NoPendingFiles(const std::wstring& folder)
{
    for (const std::wstring& name : testing_env::ListFolder(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (name.ends_with(L".part") || (platform::DirectoryExists(path) && !NoPendingFiles(path)))
            return false;
    }
    return true;
}

struct TKillPoint {
    const char* label;
    const char* slowFile; // served slowly, so that the kill lands in its download
    long long bytesPerSecond;
    std::function<bool(driver::TInstallerDriver&)> reached;
};

class KillRecoveryTest : public ::testing::TestWithParam<TKillPoint> {
protected:
    KillRecoveryTest()
    {
        StartClean();
    }
    ~KillRecoveryTest() override
    {
        vendor::Reset();
        RemoveInstallation();
    }

    platform::TComApartment com;
};

TEST_P(KillRecoveryTest, TheNextRunCompletesAndTakesNothingBrokenFromTheKilledOne)
{
    const TKillPoint& point = GetParam();
    if (point.slowFile)
        vendor::SetFault(point.slowFile, {"slow", 0, point.bytesPerSecond});
    {
        e2e::TWindowRun killed(L"Instalador-kill.exe");
        killed.OpenInstallationPage();
        killed.ClickStart();
        killed.Watch(60s, [&](const e2e::TRunRecord&) { return point.reached(killed.Control()); });
        ASSERT_FALSE(killed.Ended()) << "the run ended before the kill point";
        ASSERT_TRUE(point.reached(killed.Control())) << "the run did not reach the kill point";

        KillFromUnix(L"Instalador-kill.exe");
        ASSERT_TRUE(killed.Process().WaitForExit(10s));
    }
    // The system drops a dead process's pending files as it closes its handles.
    EXPECT_TRUE(TInstallerDriver::WaitUntil([] { return NoPendingFiles(std::wstring(inst::InstallDir)); }, 5s));
    ExpectOnlyCompleteFiles();

    testing_env::EndProcessesUnder(L"C:\\Brenvalt\\");
    vendor::Reset();
    e2e::TWindowRun again(L"Instalador-3s.exe");
    again.OpenInstallationPage();
    again.ClickStart();
    const e2e::TRunRecord& record = again.Watch(90s);
    ASSERT_TRUE(again.Process().WaitForExit(10s));
    EXPECT_EQ(record.messages, std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    ExpectInstalledFilesMatchTheServer();
    ExpectOnlyCompleteFiles();
    if (point.slowFile) {
        auto names = vendor::RequestedNames();
        EXPECT_NE(std::find(names.begin(), names.end(), point.slowFile), names.end()) << "the killed download was taken as done";
    }
}

bool Downloading(driver::TInstallerDriver& control, const std::wstring& status)
{
    return control.Text(id::lblDescStatus) == status && control.IsVisible(id::Label6) &&
           control.Text(id::Label6).starts_with(L"Tamanho: ") && !control.Text(id::Label6).starts_with(L"Tamanho: 0 byte");
}

INSTANTIATE_TEST_SUITE_P(
    Points, KillRecoveryTest,
    ::testing::Values(
        TKillPoint{"during_the_packages", "cxGridRS16.bpl", 20'000,
                   [](driver::TInstallerDriver& c) { return Downloading(c, L"Efetuando download cxGridRS16.bpl"); }},
        TKillPoint{"during_the_images", "104.jpg", 4'000,
                   [](driver::TInstallerDriver& c) { return Downloading(c, L"Baixando arquivo 104.jpg"); }},
        TKillPoint{"right_after_the_renames", nullptr, 0,
                   [](driver::TInstallerDriver& c) {
                       const std::wstring status = c.Text(id::lblDescStatus);
                       return status == inst::status::InstallingComponent || status.starts_with(L"Criando pasta");
                   }}),
    [](const auto& info) { return std::string(info.param.label); });

// Files of drive C: with their sizes and times, Wine's own folder left out.
std::map<std::wstring, std::wstring> Snapshot(const std::wstring& folder, std::map<std::wstring, std::wstring> into = {})
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return into;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (path != L"C:\\windows" && path != L"C:\\instalador-tests")
                into = Snapshot(path, std::move(into));
        } else {
            into[path] = std::to_wstring(found.nFileSizeLow) + L"@" + std::to_wstring(found.ftLastWriteTime.dwLowDateTime);
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return into;
}

TEST(FilesOutsideTheInstallation, ARunWritesOnlyItsFolderAndTheDesktopLink)
{
    platform::TComApartment com;
    RemoveInstallation();
    vendor::Reset();
    const auto before = Snapshot(L"C:");

    e2e::TWindowRun run(L"Instalador-3s.exe");
    run.OpenInstallationPage();
    run.ClickStart();
    const e2e::TRunRecord& record = run.Watch(90s);
    ASSERT_TRUE(run.Process().WaitForExit(10s));
    ASSERT_EQ(record.messages, std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    ::Sleep(500);
    const auto after = Snapshot(L"C:");

    const std::wstring link = DesktopLink();
    for (const auto& [path, stamp] : after) {
        auto was = before.find(path);
        if (was != before.end() && was->second == stamp)
            continue;
        const bool ours = path.starts_with(L"C:\\Brenvalt\\Lumivar\\") || _wcsicmp(path.c_str(), link.c_str()) == 0;
        EXPECT_TRUE(ours) << "written outside the installation: " << platform::ToUtf8(path);
    }
    for (const auto& [path, stamp] : before)
        EXPECT_TRUE(after.contains(path)) << "removed: " << platform::ToUtf8(path);
    RemoveInstallation();
}

} // namespace
