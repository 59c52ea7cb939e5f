#include "download/DownloadMessages.h"
#include "download/FormatByteSize.h"
#include "platform/Errors.h"
#include "platform/Text.h"
#include "support/TestEnvironment.h"
#include "support/VendorServer.h"
#include "support/WindowTest.h"

#include <algorithm>
#include <functional>

namespace {

namespace msg = download::messages;
using testing_env::ListFolder;
using testing_env::PayloadPath;
using testing_env::ReadBytes;

constexpr const wchar_t* File = L"cxGridRS16.bpl"; // about 240 KB in the test payload

class DownloadFileTest : public WindowTest {
protected:
    DownloadFileTest() { vendor::Reset(); }

    // Runs the download as the installation run does; `abandoned` tells
    // whether it gave up the run.
    bool Download(const std::wstring& name, const std::wstring& target)
    {
        abandoned = false;
        try {
            return window->DownloadFile(testing_env::DownloadUrl(name), target, window->ProgressBar1);
        } catch (const platform::TSilentAbort&) {
            abandoned = true;
            return false;
        }
    }

    int RequestsFor(const std::string& name)
    {
        auto names = vendor::RequestedNames();
        return static_cast<int>(std::count(names.begin(), names.end(), name));
    }

    void ExpectAttemptEndedCleanly()
    {
        EXPECT_FALSE(window->TransferrignData);
        EXPECT_FALSE(window->AbortTransfer);
        EXPECT_FALSE(window->Label6.Visible());
    }

    testing_env::TScratchFolder folder;
    std::wstring target = folder / File;
    bool abandoned = false;
};

// Responses that end, sooner or later, with the whole file in place.
struct TCompleteCase {
    const char* label;
    vendor::TFault fault;
    // Substring of the one message shown for a failed first attempt; null
    // when the first attempt succeeds.
    const wchar_t* retryMessage;
    // What the message may say instead, where Wine tells the fault either way.
    const wchar_t* orMessage = nullptr;
};

class CompleteDownloadTest : public DownloadFileTest, public ::testing::WithParamInterface<TCompleteCase> {};

TEST_P(CompleteDownloadTest, LeavesTheExactFileAndNothingElse)
{
    const TCompleteCase& c = GetParam();
    if (!c.fault.kind.empty())
        vendor::SetFault(platform::ToUtf8(File), c.fault);

    EXPECT_TRUE(Download(File, target));

    EXPECT_FALSE(abandoned);
    EXPECT_EQ(ReadBytes(target), ReadBytes(PayloadPath(File)));
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::wstring>{File});
    if (c.retryMessage) {
        ASSERT_EQ(messages.shown.size(), 1u);
        const std::wstring& text = messages.shown[0].text;
        EXPECT_TRUE(text.find(c.retryMessage) != std::wstring::npos || (c.orMessage && text.find(c.orMessage) != std::wstring::npos))
            << platform::ToUtf8(text);
        EXPECT_NE(messages.shown[0].text.find(File), std::wstring::npos);
    } else {
        EXPECT_TRUE(messages.shown.empty());
    }
    ExpectAttemptEndedCleanly();
}

INSTANTIATE_TEST_SUITE_P(
    Responses, CompleteDownloadTest,
    ::testing::Values(TCompleteCase{"plain", {}, nullptr}, TCompleteCase{"chunked", {"chunked"}, nullptr},
                      TCompleteCase{"close_delimited", {"close"}, nullptr},
                      TCompleteCase{"redirect301", {"redirect301"}, nullptr},
                      TCompleteCase{"redirect302", {"redirect302"}, nullptr},
                      TCompleteCase{"status503_once", {"status", 1, 503}, L"código HTTP 503"},
                      TCompleteCase{"truncated_once", {"truncate", 1}, L"terminou antes do fim"},
                      // A reset ends the body with a failed read, or with an early end of data.
                      TCompleteCase{"reset_once", {"reset", 1}, L"conexão com o servidor foi interrompida", L"terminou antes do fim"},
                      // Wine stops reading at Content-Length here, so the junk never arrives.
                      TCompleteCase{"oversize_once", {"oversize", 1}, nullptr},
                      TCompleteCase{"stall_once", {"stall", 1}, L"parou de enviar"},
                      TCompleteCase{"no_answer_once", {"stall-headers", 1}, L"não respondeu em 2 segundos"},
                      TCompleteCase{"length_beyond_2GiB_once", {"huge-length", 1}, L"terminou antes do fim"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(DownloadFileTest, EmptyBodiesMakeEmptyFiles)
{
    for (const char* kind : {"empty", "empty-close"}) {
        SCOPED_TRACE(kind);
        vendor::SetFault(platform::ToUtf8(File), {kind});
        EXPECT_TRUE(Download(File, target));
        EXPECT_EQ(ReadBytes(target), "");
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(window->ProgressBar1.Position(), 0);
        EXPECT_EQ(window->Label6.Text(), L"Tamanho: 0 byte");
    }
}

TEST_F(DownloadFileTest, ShowsTheSizeLineAndBarOfAKnownSize)
{
    const auto size = static_cast<std::uint32_t>(ReadBytes(PayloadPath(File)).size());
    ASSERT_TRUE(Download(File, target));
    EXPECT_EQ(window->ProgressBar1.Position(), 100);
    EXPECT_EQ(window->Label6.Text(), L"Tamanho: " + download::FormatByteSize(size) + L" de " + download::FormatByteSize(size));
    EXPECT_TRUE(window->ProgressBar1.Visible());
    EXPECT_FALSE(window->Label6.Visible());
}

TEST_F(DownloadFileTest, WithoutALengthShowsTheReceivedSizeAlone)
{
    const auto size = static_cast<std::uint32_t>(ReadBytes(PayloadPath(File)).size());
    vendor::SetFault(platform::ToUtf8(File), {"chunked"});
    ASSERT_TRUE(Download(File, target));
    EXPECT_EQ(window->ProgressBar1.Position(), 0);
    EXPECT_EQ(window->Label6.Text(), L"Tamanho: " + download::FormatByteSize(size));
}

TEST_F(DownloadFileTest, ReplacesAnExistingFile)
{
    testing_env::WriteBytes(target, "old contents");
    ASSERT_TRUE(Download(File, target));
    EXPECT_EQ(ReadBytes(target), ReadBytes(PayloadPath(File)));
}

// Errors that never go away: ten retries, then the run is given up.
struct TGiveUpCase {
    const char* label;
    vendor::TFault fault;
    const wchar_t* retryMessage;
};

class GiveUpTest : public DownloadFileTest, public ::testing::WithParamInterface<TGiveUpCase> {};

TEST_P(GiveUpTest, RetriesTenTimesThenAbandonsTheRunLeavingTheOldFile)
{
    const TGiveUpCase& c = GetParam();
    testing_env::WriteBytes(target, "old contents");
    vendor::SetFault(platform::ToUtf8(File), c.fault);

    EXPECT_FALSE(Download(File, target));

    EXPECT_TRUE(abandoned);
    auto texts = messages.Texts();
    ASSERT_EQ(texts.size(), 11u);
    for (size_t i = 0; i < 10; ++i)
        EXPECT_NE(texts[i].find(c.retryMessage), std::wstring::npos) << platform::ToUtf8(texts[i]);
    EXPECT_EQ(texts.back(), msg::GiveUp);
    EXPECT_EQ(ReadBytes(target), "old contents");
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::wstring>{File});
    ExpectAttemptEndedCleanly();
}

INSTANTIATE_TEST_SUITE_P(Faults, GiveUpTest,
                         ::testing::Values(TGiveUpCase{"status500", {"status", 0, 500}, L"código HTTP 500"},
                                           TGiveUpCase{"truncated", {"truncate"}, L"terminou antes do fim"},
                                           TGiveUpCase{"redirect_loop", {"redirect-loop"}, L"vezes demais"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(DownloadFileTest, ARedirectLoopEndsAfterTenHops)
{
    vendor::SetFault(platform::ToUtf8(File), {"redirect-loop"});
    Download(File, target);
    EXPECT_EQ(RequestsFor(platform::ToUtf8(File)), 11 * 11);
}

TEST_F(DownloadFileTest, AClientErrorGivesUpAtOnce)
{
    testing_env::WriteBytes(target, "old contents");
    vendor::SetFault(platform::ToUtf8(File), {"status", 0, 404});

    EXPECT_FALSE(Download(File, target));

    EXPECT_TRUE(abandoned);
    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(msg::GiveUp)});
    EXPECT_EQ(RequestsFor(platform::ToUtf8(File)), 1);
    EXPECT_EQ(ReadBytes(target), "old contents");
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::wstring>{File});
    ExpectAttemptEndedCleanly();
}

TEST_F(DownloadFileTest, RequestsCarryTheAgentAndBypassCaches)
{
    ASSERT_TRUE(Download(File, target));
    auto log = vendor::Log();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].method, "GET");
    EXPECT_EQ(log[0].userAgent, "atualizar");
    EXPECT_EQ(log[0].pragma, "no-cache");
}

TEST_F(DownloadFileTest, ATargetThatCannotBeCreatedIsNotRetried)
{
    ::CreateDirectoryW(target.c_str(), nullptr); // a folder where the file should go
    for (const std::wstring& where : {target, std::wstring()}) {
        messages.Clear();
        EXPECT_FALSE(Download(File, where));
        EXPECT_FALSE(abandoned);
        EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(msg::CannotCreateLocalFile)});
        ExpectAttemptEndedCleanly();
    }
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::wstring>{File});
}

TEST_F(DownloadFileTest, AServerThatIsNotThereFailsTheRequestWithoutRetry)
{
    bool result = window->DownloadFile(L"http://127.0.0.1:9/download/x.bpl", target, window->ProgressBar1);
    EXPECT_FALSE(result);
    EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{std::wstring(msg::SessionFailed)});
    EXPECT_TRUE(ListFolder(folder.Path()).empty());
    ExpectAttemptEndedCleanly();
}

TEST_F(DownloadFileTest, FetchesOverHttpsFromAServerItTrusts)
{
    const std::wstring url = testing_env::Environment(L"INSTALADOR_VENDOR_HTTPS_URL") + L"/download/" + File;
    EXPECT_TRUE(window->DownloadFile(url, target, window->ProgressBar1));
    EXPECT_EQ(ReadBytes(target), ReadBytes(PayloadPath(File)));
    EXPECT_TRUE(messages.shown.empty());
}

// A server that cannot prove who it is gets no second try: the run is given
// up with the cause, and nothing is written.
TEST_F(DownloadFileTest, AnUntrustedOrMisnamedCertificateGivesUpAtOnce)
{
    std::wstring trusted = testing_env::Environment(L"INSTALADOR_VENDOR_HTTPS_URL");
    const struct {
        std::wstring url;
        const wchar_t* cause;
    } servers[] = {
        {testing_env::Environment(L"INSTALADOR_VENDOR_UNTRUSTED_URL"), L"não é confiável"},
        {L"https://127.0.0.1" + trusted.substr(trusted.rfind(L':')), L"é de outro servidor"},
    };
    for (const auto& server : servers) {
        SCOPED_TRACE(platform::ToUtf8(server.url));
        messages.Clear();
        abandoned = false;
        try {
            window->DownloadFile(server.url + L"/download/" + File, target, window->ProgressBar1);
        } catch (const platform::TSilentAbort&) {
            abandoned = true;
        }
        EXPECT_TRUE(abandoned);
        auto texts = messages.Texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_NE(texts[0].find(server.cause), std::wstring::npos) << platform::ToUtf8(texts[0]);
        EXPECT_EQ(texts[1], msg::GiveUp);
        EXPECT_TRUE(ListFolder(folder.Path()).empty());
        ExpectAttemptEndedCleanly();
    }
}

// A timer on the window's thread plays the user pressing Cancel while the
// download processes events.
std::function<void()> timerAction;
void CALLBACK RunTimerAction(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    if (timerAction)
        timerAction();
}

TEST_F(DownloadFileTest, AStopRequestEndsTheTransferWithoutAFile)
{
    testing_env::WriteBytes(target, "old contents");
    vendor::SetFault(platform::ToUtf8(File), {"slow", 0, 40'000});
    timerAction = [this] { window->AbortTransfer = true; };
    ::SetTimer(nullptr, 0, 700, RunTimerAction);

    EXPECT_FALSE(Download(File, target));

    timerAction = nullptr;
    EXPECT_FALSE(abandoned);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(ReadBytes(target), "old contents");
    EXPECT_EQ(ListFolder(folder.Path()), std::vector<std::wstring>{File});
    ExpectAttemptEndedCleanly();
}

} // namespace
