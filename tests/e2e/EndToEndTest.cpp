// The real program, driven from outside as a person drives it.
#include "app/ControlIds.h"
#include "app/Installation.h"
#include "e2e/WindowRun.h"
#include "platform/ComApartment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/InstallationChecks.h"
#include "support/Shortcut.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace id = app::control_id;
namespace inst = app::installation;
using namespace installation_checks;
using namespace std::chrono_literals;
using driver::TInstallerDriver;

class EndToEndTest : public ::testing::Test {
protected:
    EndToEndTest()
    {
        StartClean();
    }
    ~EndToEndTest() override { RemoveInstallation(); }

    platform::TComApartment com;
    e2e::TWindowRun run;
};

TEST_F(EndToEndTest, InstallsThroughTheWizard)
{
    run.OpenInstallationPage(L"e2e-");
    EXPECT_EQ(run.Control().HeaderTitle(), L"Instalação via internet");
    run.runPicturePrefix = L"e2e-";
    run.ClickStart();
    const e2e::TRunRecord& record = run.Watch(120s);

    ASSERT_TRUE(run.Process().WaitForExit(5s)) << "the installer did not end after its final message";
    EXPECT_EQ(run.Process().ExitCode(), 0u);
    EXPECT_EQ(record.messages, std::vector<std::wstring>{std::wstring(inst::messages::Success)});
    // A status that lasts a few milliseconds may pass between two looks.
    EXPECT_TRUE(std::any_of(record.statusLines.begin(), record.statusLines.end(),
                            [](const std::wstring& line) { return line.starts_with(L"Efetuando download "); }));
    for (const wchar_t* status : {L"Baixando arquivo 008.jpg", L"Baixando arquivo d.gif"})
        EXPECT_TRUE(record.statusLines.contains(status)) << platform::ToUtf8(status);
    EXPECT_TRUE(std::any_of(record.sizeLines.begin(), record.sizeLines.end(),
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
    run.OpenInstallationPage();
    run.ClickStart();
    const e2e::TRunRecord& record = run.Watch(60s, [&](const e2e::TRunRecord&) {
        return run.Control().Text(id::lblDescStatus) == L"Efetuando download cxGridRS16.bpl" &&
               run.Control().Text(id::Label6).starts_with(L"Tamanho: ");
    });
    ASSERT_FALSE(run.Ended());

    run.Control().RequestClose();

    EXPECT_TRUE(run.Process().WaitForExit(10s)) << "the installer did not end after the close request";
    EXPECT_TRUE(record.messages.empty());
    // Nothing after the file being fetched was asked for. (The server logs a
    // request when it ends; the cut one may show up late or not at all.)
    ::Sleep(1000);
    const std::vector<std::string> order = CleanRunRequests();
    const auto cut = std::find(order.begin(), order.end(), "cxGridRS16.bpl") - order.begin();
    for (const std::string& name : vendor::RequestedNames()) {
        const auto at = std::find(order.begin(), order.end(), name) - order.begin();
        EXPECT_LE(at, cut) << name << ": the run went on after the close request";
    }
    EXPECT_FALSE(platform::FileExists(L"C:\\Brenvalt\\Lumivar\\cxGridRS16.bpl"));
    ExpectOnlyCompleteFiles();
    EXPECT_FALSE(platform::FileExists(DesktopLink()));
    ::Sleep(500);
    EXPECT_EQ(CountEvents(testing_env::StandInEvents(), L"product", L"started"), 0);
}

TEST_F(EndToEndTest, ClosingWhileAMessageWaitsForTheUserEndsTheProgram)
{
    vendor::SetFault("adortl160.bpl", {"status", 0, 500});
    run.OpenInstallationPage();
    run.ClickStart();
    std::optional<driver::TMessageBox> box;
    ASSERT_TRUE(TInstallerDriver::WaitUntil([&] { return (box = run.Control().OpenMessageBox()).has_value(); }, 20s));
    EXPECT_NE(box->text.find(L"código HTTP 500"), std::wstring::npos);

    run.Control().RequestClose(); // as a task manager or a shutdown would

    EXPECT_TRUE(run.Process().WaitForExit(10s)) << "the open message held the close up";
    EXPECT_EQ(vendor::RequestedNames(), std::vector<std::string>{"adortl160.bpl"});
    EXPECT_FALSE(platform::FileExists(L"C:\\Brenvalt\\Lumivar\\adortl160.bpl"));
}

TEST_F(EndToEndTest, ClosingBeforeTheRunEndsTheProgramAtOnce)
{
    run.OpenInstallationPage();
    run.Control().RequestClose();
    EXPECT_TRUE(run.Process().WaitForExit(5s));
    EXPECT_TRUE(vendor::Log().empty());
}

} // namespace
