// The whole program, driven as a person drives it, against a vendor server
// that misbehaves. For every case: nothing broken is left on disk, the report
// is honest, and the program ends (or waits at its final message) in time.
#include "app/ControlIds.h"
#include "app/Installation.h"
#include "download/DownloadMessages.h"
#include "e2e/WindowRun.h"
#include "platform/ComApartment.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/InstallationChecks.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

namespace id = app::control_id;
namespace inst = app::installation;
namespace msg = download::messages;
using namespace installation_checks;
using namespace std::chrono_literals;
using driver::TInstallerDriver;
using Clock = std::chrono::steady_clock;

enum class TEnd {
    Success,      // everything in place, the product started, the program ended
    NotCompleted, // "A instalação NÃO foi concluida...", the program ended
    GivenUp,      // the final give-up message; the window waits open
    FolderRefused // the install folder could not be created; the window waits open
};

struct TFaultCase {
    const char* label;
    std::vector<std::pair<const char*, vendor::TFault>> faults;
    TEnd end;
    std::chrono::seconds bound; // from the click to the end or the final message
    const wchar_t* program = L"Instalador-3s.exe";
    std::function<void()> prepare = nullptr;
    std::map<std::wstring, std::string> servedAs = {};
};

bool IsFinalMessage(const std::wstring& text)
{
    return text == inst::messages::Success || text == inst::messages::NotCompleted || text == msg::GiveUp ||
           text == inst::messages::CannotCreateInstallDir;
}

class FaultSuiteTest : public ::testing::TestWithParam<TFaultCase> {
protected:
    FaultSuiteTest()
    {
        StartClean();
    }
    ~FaultSuiteTest() override
    {
        vendor::Reset();
        RemoveInstallation();
    }

    platform::TComApartment com;
};

TEST_P(FaultSuiteTest, LeavesOnlyCompleteFilesAndReportsHonestly)
{
    const TFaultCase& c = GetParam();
    for (const auto& [name, fault] : c.faults)
        vendor::SetFault(name, fault);
    if (c.prepare)
        c.prepare();

    e2e::TWindowRun run(c.program);
    run.OpenInstallationPage();
    const auto clicked = Clock::now();
    run.ClickStart();
    const bool staysOpen = c.end == TEnd::GivenUp || c.end == TEnd::FolderRefused;
    const e2e::TRunRecord& record =
        run.Watch(c.bound + 30s, [](const e2e::TRunRecord& r) { return !r.messages.empty() && IsFinalMessage(r.messages.back()); });
    const auto took = Clock::now() - clicked;
    std::printf("[ case     ] %s: %.1f s, %zu messages\n", c.label, std::chrono::duration<double>(took).count(), record.messages.size());

    ASSERT_FALSE(record.messages.empty()) << "no final message";
    EXPECT_LE(took, c.bound) << "the run took longer than its bound";
    const std::wstring& last = record.messages.back();
    switch (c.end) {
    case TEnd::Success:
        EXPECT_EQ(last, inst::messages::Success);
        break;
    case TEnd::NotCompleted:
        EXPECT_EQ(last, inst::messages::NotCompleted);
        break;
    case TEnd::GivenUp:
        EXPECT_EQ(last, msg::GiveUp);
        break;
    case TEnd::FolderRefused:
        EXPECT_EQ(record.messages, std::vector<std::wstring>{std::wstring(inst::messages::CannotCreateInstallDir)});
        break;
    }

    if (staysOpen) {
        // Abandoned: nothing more happens, the window waits for the user.
        ::Sleep(1000);
        EXPECT_FALSE(run.Ended());
        EXPECT_FALSE(run.Control().OpenMessageBox().has_value());
        run.Control().RequestClose();
    }
    EXPECT_TRUE(run.Process().WaitForExit(10s)) << "the program did not end";

    // (a) nothing broken on disk
    ExpectOnlyCompleteFiles(c.servedAs);
    // (b) an honest report: success exactly when everything is in place, and
    // the product started exactly then
    const bool complete = InstallationIsComplete();
    EXPECT_EQ(last == inst::messages::Success, complete);
    ::Sleep(300);
    EXPECT_EQ(CountEvents(testing_env::StandInEvents(), L"product", L"started"), complete ? 1 : 0);
}

void MakeFolderWhereAFileGoes()
{
    platform::ForceDirectories(L"C:\\Brenvalt\\Lumivar\\midas.dll");
}

void MakeFileWhereTheFolderGoes()
{
    testing_env::WriteBytes(L"C:\\Brenvalt", "not a folder");
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, FaultSuiteTest,
    ::testing::Values(
        TFaultCase{"chunked", {{"cxGridRS16.bpl", {"chunked"}}, {"Lumivar.ex_", {"chunked"}}, {"001.jpg", {"chunked"}}}, TEnd::Success, 60s},
        TFaultCase{"close_delimited", {{"cxGridRS16.bpl", {"close"}}, {"Instalar.ex_", {"close"}}, {"a.gif", {"close"}}}, TEnd::Success, 60s},
        TFaultCase{"length_zero", {{"nfseConfig.ini", {"empty"}}}, TEnd::Success, 60s, L"Instalador-3s.exe", nullptr, {{L"nfseConfig.ini", ""}}},
        TFaultCase{"not_found", {{"midas.dll", {"status", 0, 404}}}, TEnd::GivenUp, 30s},
        TFaultCase{"status500_always", {{"dbrtl160.bpl", {"status", 0, 500}}}, TEnd::GivenUp, 30s},
        TFaultCase{"status503_once", {{"rtl160.bpl", {"status", 1, 503}}}, TEnd::Success, 60s},
        TFaultCase{"truncated_once", {{"vcl160.bpl", {"truncate", 1}}}, TEnd::Success, 60s},
        TFaultCase{"truncated_always", {{"vcl160.bpl", {"truncate"}}}, TEnd::GivenUp, 30s},
        TFaultCase{"more_than_length", {{"xmlrtl160.bpl", {"oversize"}}}, TEnd::Success, 60s},
        TFaultCase{"stall_once", {{"cxEditorsRS16.bpl", {"stall", 1}}}, TEnd::Success, 70s},
        TFaultCase{"stall_always", {{"cxEditorsRS16.bpl", {"stall"}}}, TEnd::GivenUp, 60s},
        TFaultCase{"reset_mid_body", {{"dxBarRS16.bpl", {"reset"}}}, TEnd::GivenUp, 30s},
        TFaultCase{"nothing_listening", {}, TEnd::NotCompleted, 90s, L"Instalador-unreachable.exe"},
        TFaultCase{"host_does_not_resolve", {}, TEnd::NotCompleted, 300s, L"Instalador-unresolvable.exe"},
        TFaultCase{"redirects", {{"a.gif", {"redirect301"}}, {"libeay32.dll", {"redirect302"}}}, TEnd::Success, 60s},
        TFaultCase{"redirect_loop", {{"ssleay32.dll", {"redirect-loop"}}}, TEnd::GivenUp, 60s},
        TFaultCase{"length_beyond_2GiB", {{"CobreBemX.dll", {"huge-length"}}}, TEnd::GivenUp, 30s},
        TFaultCase{"target_is_a_folder", {}, TEnd::NotCompleted, 60s, L"Instalador-3s.exe", MakeFolderWhereAFileGoes},
        TFaultCase{"install_folder_refused", {}, TEnd::FolderRefused, 20s, L"Instalador-3s.exe", MakeFileWhereTheFolderGoes},
        TFaultCase{"https_trusted", {}, TEnd::Success, 60s, L"Instalador-https.exe"},
        TFaultCase{"https_untrusted", {}, TEnd::GivenUp, 20s, L"Instalador-https-untrusted.exe"},
        TFaultCase{"https_other_name", {}, TEnd::GivenUp, 20s, L"Instalador-https-othername.exe"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
