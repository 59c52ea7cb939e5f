#include "app/Installation.h"
#include "app/WindowDefinition.h"
#include "download/DownloadMessages.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/InstallationChecks.h"
#include "support/Shortcut.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"
#include "support/WindowTest.h"

#include <algorithm>

namespace {

namespace inst = app::installation;
using testing_env::ReadBytes;

using namespace installation_checks;

const std::wstring InstallDir(inst::InstallDir);

template <typename T>
std::vector<T> Joined(std::vector<T> first, const std::vector<T>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

bool CloseIsPending(HWND window)
{
    MSG message;
    return ::PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

class RunInstallationTest : public WindowTest {
protected:
    RunInstallationTest()
    {
        StartClean();
    }
    void SetUp() override { ASSERT_FALSE(platform::DirectoryExists(L"C:\\Brenvalt")) << "a run left files that cannot be removed"; }
    ~RunInstallationTest() override { RemoveInstallation(); }

    // Clicks the start button, as the user does; what the run throws ends at
    // the window's exception boundary.
    void ClickStart()
    {
        HWND button = window->cxButton1.Handle();
        ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(0, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
};

TEST_F(RunInstallationTest, InstallsEverythingOnACleanMachine)
{
    ClickStart();

    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    EXPECT_EQ(vendor::RequestedNames(), CleanRunRequests());
    for (const vendor::TRequest& request : vendor::Log()) {
        EXPECT_EQ(request.userAgent, "atualizar");
        EXPECT_EQ(request.pragma, "no-cache");
    }
    ExpectInstalledFilesMatchTheServer();

    ExpectNothingElseInstalled();

    auto events = WaitForStandInEvents(3);
    EXPECT_EQ(CountEvents(events, L"component-installer", L"started"), 1);
    EXPECT_EQ(CountEvents(events, L"component-installer", L"closed"), 1);
    EXPECT_EQ(CountEvents(events, L"product", L"started"), 1);
    for (const auto& event : events) {
        if (event.role == L"product") {
            EXPECT_EQ(event.commandLine, L"C:\\Brenvalt\\Lumivar\\Lumivar.exe");
        }
    }

    TShortcut shortcut = ReadShortcut(DesktopLink());
    EXPECT_EQ(shortcut.target, L"C:\\Brenvalt\\Lumivar\\Lumivar.exe");
    EXPECT_EQ(shortcut.arguments, L"");
    EXPECT_EQ(shortcut.workingDirectory, L"C:\\Brenvalt\\Lumivar");

    EXPECT_FALSE(window->cxButton1.Enabled());
    EXPECT_EQ(window->ProgressBar2.Max(), 46);
    EXPECT_EQ(window->ProgressBar2.Position(), 100);
    EXPECT_TRUE(CloseIsPending(window->Handle()));
}

TEST_F(RunInstallationTest, ASecondRunFetchesOnlyWhatTheFirstRenamedAndTheImages)
{
    ClickStart();
    ASSERT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    vendor::Reset();
    messages.Clear();
    window = std::make_unique<TFAtualizar>(application);
    application.SetMainForm(window.get());
    window->DownloadBaseUrl = testing_env::VendorUrl() + L"/download/";

    ClickStart();

    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    EXPECT_EQ(vendor::RequestedNames(), Joined({"Instalar.ex_", "Lumivar.ex_", "Novelix5.ex_"}, ImageNames()));
    // The renames do not replace what the first run put there.
    for (const wchar_t* name : {L"Lumivar.ex_", L"Lumivar.exe", L"Novelix5.ex_", L"Novelix5.exe", L"Instalar.ex_", L"Instalar.exe"})
        EXPECT_TRUE(platform::FileExists(InstallDir + L"\\" + name)) << platform::ToUtf8(name);
}

TEST_F(RunInstallationTest, KeepsPackageFilesThatAreAlreadyThere)
{
    platform::ForceDirectories(InstallDir);
    testing_env::WriteBytes(InstallDir + L"\\adortl160.bpl", "a local copy");

    ClickStart();

    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    auto names = vendor::RequestedNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "adortl160.bpl"), 0);
    EXPECT_EQ(ReadBytes(InstallDir + L"\\adortl160.bpl"), "a local copy");
}

TEST_F(RunInstallationTest, AMissingPackageFileAbandonsTheRun)
{
    vendor::SetFault("midas.dll", {"status", 0, 404});

    ClickStart();

    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(download::messages::GiveUp)});
    EXPECT_FALSE(platform::FileExists(InstallDir + L"\\midas.dll"));
    auto names = vendor::RequestedNames();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), "midas.dll");
    EXPECT_FALSE(platform::FileExists(DesktopLink()));
    EXPECT_EQ(CountEvents(testing_env::StandInEvents(), L"product", L"started"), 0);
    EXPECT_FALSE(CloseIsPending(window->Handle()));
}

TEST_F(RunInstallationTest, AFileThatCouldNotBePutInPlaceIsReportedAsNotCompleted)
{
    platform::ForceDirectories(InstallDir + L"\\midas.dll"); // a folder where the file should go

    ClickStart();

    EXPECT_EQ(messages.Texts(), (std::vector<std::wstring>{std::wstring(download::messages::CannotCreateLocalFile),
                                                           std::wstring(inst::messages::NotCompleted)}));
    EXPECT_EQ(vendor::RequestedNames().size(), FirstOccurrences().size() + inst::ImageFiles.size());
    ::Sleep(500);
    EXPECT_EQ(CountEvents(testing_env::StandInEvents(), L"product", L"started"), 0);
    EXPECT_TRUE(CloseIsPending(window->Handle()));
}

TEST_F(RunInstallationTest, StopsWhenTheInstallFolderCannotBeCreated)
{
    testing_env::WriteBytes(L"C:\\Brenvalt", "a file where the folder should go");

    ClickStart();

    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(inst::messages::CannotCreateInstallDir)});
    EXPECT_TRUE(vendor::Log().empty());
    EXPECT_FALSE(platform::FileExists(DesktopLink()));
    EXPECT_FALSE(CloseIsPending(window->Handle()));
    EXPECT_FALSE(window->cxButton1.Enabled());
}

} // namespace
