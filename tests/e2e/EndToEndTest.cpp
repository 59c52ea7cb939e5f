// The real program, driven from outside as a person drives it.
#include "app/ControlIds.h"
#include "app/Installation.h"
#include "driver/InstallerDriver.h"
#include "platform/ComApartment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/InstallationChecks.h"
#include "support/Shortcut.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"

#include <gtest/gtest.h>

#include <set>

namespace {

namespace id = app::control_id;
namespace inst = app::installation;
using namespace installation_checks;
using namespace std::chrono_literals;

constexpr int NextButton = id::WizardButtonBase + 1;

std::wstring ProgramPath()
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder = platform::FolderOf(self);
    return platform::FolderOf(folder) + L"\\Instalador.exe"; // the tests live one folder below
}

std::wstring Artifact(std::wstring_view name)
{
    return testing_env::Environment(L"INSTALADOR_ARTIFACTS") + L"\\" + std::wstring(name);
}

// What the run showed while it went on.
struct TRunRecord {
    std::vector<std::wstring> messages;
    std::set<std::wstring> statusLines;
    std::set<std::wstring> sizeLines;
};

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest()
    {
        RemoveInstallation();
        vendor::Reset();
        testing_env::ClearStandInEvents();
    }
    ~EndToEndTest() override { RemoveInstallation(); }

    // Starts the program and moves to the installation page.
    void StartAndGoToInstallationPage()
    {
        installer.emplace(ProgramPath());
        control.emplace(installer->Id());
        ASSERT_TRUE(control->WaitForMainWindow(20s)) << "the installer window did not appear";
        ASSERT_TRUE(driver::TInstallerDriver::WaitUntil([&] { return control->IsVisible(id::Image1); }, 5s));
        driver::SaveScreenshot(Artifact(L"page-welcome.png"));
        control->Click(NextButton);
        ASSERT_TRUE(driver::TInstallerDriver::WaitUntil([&] { return control->IsVisible(id::cxButton1); }, 5s));
        ::Sleep(400); // let the slide settle for the picture
        EXPECT_EQ(control->HeaderTitle(), L"Instalação via internet");
        driver::SaveScreenshot(Artifact(L"page-installation.png"));
    }

    // Watches the run until the program ends or `stop` says so, answering
    // every message box with OK.
    TRunRecord Watch(std::chrono::seconds timeout, const std::function<bool(const TRunRecord&)>& stop = nullptr)
    {
        TRunRecord record;
        bool tookRunPicture = false;
        driver::TInstallerDriver::WaitUntil(
            [&] {
                if (installer->WaitForExit(0ms))
                    return true;
                record.statusLines.insert(control->Text(id::lblDescStatus));
                const std::wstring size = control->Text(id::Label6);
                record.sizeLines.insert(size);
                if (!tookRunPicture && size.starts_with(L"Tamanho: ") && control->Text(id::lblDescStatus).starts_with(L"Efetuando")) {
                    driver::SaveScreenshot(Artifact(L"run-in-progress.png"));
                    tookRunPicture = true;
                }
                if (auto box = control->OpenMessageBox()) {
                    record.messages.push_back(box->text);
                    if (box->text == inst::messages::Success)
                        driver::SaveScreenshot(Artifact(L"run-finished.png"));
                    control->Answer(*box);
                    driver::TInstallerDriver::WaitUntil([&] { return !::IsWindow(box->window); }, 5s);
                }
                return stop && stop(record);
            },
            timeout, 10ms);
        return record;
    }

    platform::TComApartment com;
    std::optional<driver::TProcess> installer;
    std::optional<driver::TInstallerDriver> control;
};

TEST_F(EndToEndTest, InstallsThroughTheWizard)
{
    StartAndGoToInstallationPage();
    control->Click(id::cxButton1);
    TRunRecord run = Watch(120s);

    ASSERT_TRUE(installer->WaitForExit(5s)) << "the installer did not end after its final message";
    EXPECT_EQ(installer->ExitCode(), 0u);
    EXPECT_EQ(run.messages, std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    for (const wchar_t* status : {L"Efetuando download adortl160.bpl", L"Efetuando download Novelix5.ex_", L"Baixando arquivo d.gif"})
        EXPECT_TRUE(run.statusLines.contains(status)) << platform::ToUtf8(status);
    EXPECT_TRUE(std::any_of(run.sizeLines.begin(), run.sizeLines.end(),
                            [](const std::wstring& line) { return line.starts_with(L"Tamanho: ") && line.find(L" de ") != std::wstring::npos; }));

    EXPECT_EQ(vendor::RequestedNames(), CleanRunRequests());
    ExpectInstalledFilesMatchTheServer();
    ExpectNothingElseInstalled();
    TShortcut link = ReadShortcut(DesktopLink());
    EXPECT_EQ(link.target, L"C:\\Brenvalt\\Lumivar\\Lumivar.exe");
    EXPECT_EQ(link.workingDirectory, L"C:\\Brenvalt\\Lumivar");
    auto events = WaitForStandInEvents(3);
    EXPECT_EQ(CountEvents(events, L"component-installer", L"closed"), 1);
    EXPECT_EQ(CountEvents(events, L"product", L"started"), 1);
}

TEST_F(EndToEndTest, ClosingDuringADownloadStopsTheRunAndEndsTheProgram)
{
    vendor::SetFault("cxGridRS16.bpl", {"slow", 0, 20'000});
    StartAndGoToInstallationPage();
    control->Click(id::cxButton1);
    TRunRecord run = Watch(60s, [&](const TRunRecord&) {
        return control->Text(id::lblDescStatus) == L"Efetuando download cxGridRS16.bpl" &&
               control->Text(id::Label6).starts_with(L"Tamanho: ");
    });
    ASSERT_FALSE(installer->WaitForExit(0ms));

    control->RequestClose();

    EXPECT_TRUE(installer->WaitForExit(10s)) << "the installer did not end after the close request";
    EXPECT_TRUE(run.messages.empty());
    // The server logs a request when it ends, here when it sees the client go.
    std::vector<std::string> names;
    driver::TInstallerDriver::WaitUntil(
        [&] {
            names = vendor::RequestedNames();
            return !names.empty() && names.back() == "cxGridRS16.bpl";
        },
        5s);
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.back(), "cxGridRS16.bpl") << "the run went on after the close request";
    EXPECT_FALSE(platform::FileExists(L"C:\\Brenvalt\\Lumivar\\cxGridRS16.bpl"));
    for (const std::wstring& name : testing_env::ListFolder(L"C:\\Brenvalt\\Lumivar"))
        EXPECT_FALSE(name.ends_with(L".part")) << platform::ToUtf8(name);
    EXPECT_FALSE(platform::FileExists(DesktopLink()));
    ::Sleep(500);
    EXPECT_EQ(CountEvents(testing_env::StandInEvents(), L"product", L"started"), 0);
}

TEST_F(EndToEndTest, ClosingBeforeTheRunEndsTheProgramAtOnce)
{
    installer.emplace(ProgramPath());
    control.emplace(installer->Id());
    ASSERT_TRUE(control->WaitForMainWindow(20s));
    control->RequestClose();
    EXPECT_TRUE(installer->WaitForExit(5s));
    EXPECT_TRUE(vendor::Log().empty());
}

} // namespace
