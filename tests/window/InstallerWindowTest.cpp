// The installer window in-process: the real TFAtualizar, its real child
// windows, messages and pictures, under Wine.

#include "app/ControlIds.h"
#include "app/ResourceIds.h"
#include "app/WindowDefinition.h"
#include "platform/Image.h"
#include "platform/Text.h"
#include "support/TestEnvironment.h"
#include "support/WindowTest.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace id = app::control_id;
using platform::TWizardButtonKind;

// ---- small helpers ---------------------------------------------------------

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

bool HasVisibleStyle(HWND window)
{
    return (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A rectangle as left, top, width, height, so that failures read easily.
struct TBox {
    LONG left, top, width, height;
    bool operator==(const TBox&) const = default;
};

void PrintTo(const TBox& box, std::ostream* out)
{
    *out << box.width << "x" << box.height << " at " << box.left << "," << box.top;
}

TBox BoxOf(const RECT& rect)
{
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Where `window` lies in the client area of `parent`.
TBox BoxIn(HWND window, HWND parent)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return BoxOf(rect);
}

SIZE OuterSize(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

bool CloseIsPending(HWND window)
{
    MSG message;
    return ::PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_NOREMOVE) != 0;
}

// A close a test provoked must not reach the next test's window, nor a quit
// request its application.
void DropPendingCloseAndQuit(HWND window)
{
    MSG message;
    while (window && ::PeekMessageW(&message, window, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
    }
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Handles this thread's messages until `done` holds or the bound runs out.
bool PumpUntil(platform::TApplication& application, const std::function<bool()>& done, DWORD boundMs = 10'000)
{
    const ULONGLONG until = ::GetTickCount64() + boundMs;
    while (!done()) {
        if (::GetTickCount64() > until)
            return false;
        application.ProcessMessages();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

// Runs `work` on a thread of its own, as another program would act on the
// window, while this thread handles its messages.
void RunOnOtherThread(platform::TApplication& application, const std::function<void()>& work)
{
    std::atomic<bool> done{false};
    std::thread worker([&] {
        work();
        done = true;
    });
    PumpUntil(application, [&] { return done.load(); }, 30'000);
    worker.join();
}

bool WaitFor(const std::function<bool()>& condition, DWORD boundMs)
{
    const ULONGLONG until = ::GetTickCount64() + boundMs;
    while (!condition()) {
        if (::GetTickCount64() > until)
            return false;
        ::Sleep(20);
    }
    return true;
}

// A top-level window of the test's own, to hold the foreground.
class TOtherWindow {
public:
    TOtherWindow()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = ::DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"InstallerWindowTestOther";
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
        ::RegisterClassW(&windowClass); // fails harmlessly once registered
        handle_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"Outra janela", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320,
                                    200, nullptr, nullptr, windowClass.hInstance, nullptr);
    }
    ~TOtherWindow() { ::DestroyWindow(handle_); }
    TOtherWindow(const TOtherWindow&) = delete;
    TOtherWindow& operator=(const TOtherWindow&) = delete;

    HWND Handle() const noexcept { return handle_; }
    bool TakeForeground() const
    {
        ::SetForegroundWindow(handle_);
        return ::GetForegroundWindow() == handle_;
    }

private:
    HWND handle_ = nullptr;
};

// Counts how often one window of this thread is sent one message.
class TSentMessageCounter {
public:
    TSentMessageCounter(HWND window, UINT message)
    {
        window_ = window;
        message_ = message;
        count_ = 0;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~TSentMessageCounter() { ::UnhookWindowsHookEx(hook_); }
    TSentMessageCounter(const TSentMessageCounter&) = delete;
    TSentMessageCounter& operator=(const TSentMessageCounter&) = delete;

    bool Hooked() const noexcept { return hook_ != nullptr; }
    int Count() const noexcept { return count_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && sent->hwnd == window_ && sent->message == message_)
            ++count_;
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline HWND window_ = nullptr;
    static inline UINT message_ = 0;
    static inline int count_ = 0;
    HHOOK hook_ = nullptr;
};

// ---- the window, its messages recorded ---------------------------------------

class InstallerWindowTest : public WindowTest {
protected:
    ~InstallerWindowTest() override { DropPendingCloseAndQuit(window->Handle()); }

    platform::TWizard& Wizard() { return window->WizardControl; }
    HWND Page(int index) { return (index == 0 ? window->ControlPage0 : window->ControlPage2).Handle(); }
    HWND ButtonOf(TWizardButtonKind kind) { return Wizard().Button(kind).Handle(); }

    [[nodiscard]] bool SlideEnds() { return PumpUntil(application, [&] { return !Wizard().Sliding(); }); }

    void GoToPage(int index)
    {
        Wizard().GoToPage(index);
        ASSERT_TRUE(SlideEnds());
        ASSERT_EQ(Wizard().ActivePageIndex(), index);
    }

    // Only the active page shows, and it fills the page area; the header shows its title.
    void ExpectSettledOn(int active)
    {
        SCOPED_TRACE("settled on page index " + std::to_string(active));
        EXPECT_FALSE(Wizard().Sliding());
        EXPECT_EQ(Wizard().ActivePageIndex(), active);
        EXPECT_EQ(Wizard().ActivePage(), active == 0 ? &window->ControlPage0 : &window->ControlPage2);
        for (int index : {0, 1}) {
            SCOPED_TRACE("page index " + std::to_string(index));
            EXPECT_EQ(HasVisibleStyle(Page(index)), index == active);
        }
        EXPECT_EQ(BoxIn(Page(active), Wizard().Handle()), BoxOf(Wizard().PageArea()));
        EXPECT_EQ(WindowText(Wizard().Header().Handle()),
                  active == 0 ? L" \r\nInstalador do sistema\r\n " : L"Instalação via internet");
    }

    void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
};

TEST_F(InstallerWindowTest, StartsOnTheWelcomePageWithNothingTransferring)
{
    EXPECT_EQ(WindowText(window->Handle()), L"Instalador do Lumivar");
    EXPECT_FALSE(window->TransferrignData);
    EXPECT_FALSE(window->AbortTransfer);
    EXPECT_EQ(WindowText(window->lblDescStatus.Handle()), L"");
    EXPECT_EQ(WindowText(window->Label6.Handle()), L"Aguardando...");
    ExpectSettledOn(0);
}

TEST_F(InstallerWindowTest, FormCreateClearsTheTransferFlagsAndTheStatusLine)
{
    window->TransferrignData = true;
    window->AbortTransfer = true;
    window->lblDescStatus.SetText(L"Realizando download");

    window->FormCreate();

    EXPECT_FALSE(window->TransferrignData);
    EXPECT_FALSE(window->AbortTransfer);
    EXPECT_EQ(WindowText(window->lblDescStatus.Handle()), L"");
    EXPECT_EQ(WindowText(window->Label6.Handle()), L"Aguardando...");
}

// Found by their control IDs, as UI automation finds them, and read back from
// the windows themselves.
TEST_F(InstallerWindowTest, ControlsShowTheirTextsWithAccents)
{
    struct TText {
        const char* name;
        HWND parent;
        int controlId;
        platform::TControl& control;
        const wchar_t* text;
    };
    HWND page0 = Page(0);
    HWND page2 = Page(1);
    HWND wizard = Wizard().Handle();
    const TText texts[] = {
        {"Label1", page2, id::Label1, window->Label1,
         L"Para iniciar a instalação, clique no botão instalar e aguarde a conclusão do processo."},
        {"Label2", page0, id::Label2, window->Label2, L"Bem vindo ao Instalador"},
        {"Label3", page0, id::Label3, window->Label3, L"5.0"},
        {"cxLabel1", page0, id::FirstFeatureLabel + 0, window->FeatureLabels[0], L"Adm de imóveis"},
        {"cxLabel2", page0, id::FirstFeatureLabel + 1, window->FeatureLabels[1], L"Gestão de vendas"},
        {"cxLabel3", page0, id::FirstFeatureLabel + 2, window->FeatureLabels[2], L"Gestão Financeira"},
        {"cxLabel4", page0, id::FirstFeatureLabel + 3, window->FeatureLabels[3], L"Bussines Analytics"},
        {"cxLabel5", page0, id::FirstFeatureLabel + 4, window->FeatureLabels[4], L"Relatórios Gerencias"},
        {"cxButton1", page2, id::cxButton1, window->cxButton1, L"Iniciar Instalação..."},
        {"Back", wizard, id::WizardButtonBase + 0, Wizard().Button(TWizardButtonKind::Back), L"&Voltar"},
        {"Next", wizard, id::WizardButtonBase + 1, Wizard().Button(TWizardButtonKind::Next), L"&Avançar"},
        {"Finish", wizard, id::WizardButtonBase + 4, Wizard().Button(TWizardButtonKind::Finish), L"&Concluir"},
        {"info link", wizard, id::InfoLink, Wizard().InfoLink(), L"https://www.brenvalt.com.br"},
    };
    for (const TText& expected : texts) {
        SCOPED_TRACE(expected.name);
        HWND found = ::GetDlgItem(expected.parent, expected.controlId);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found, expected.control.Handle());
        EXPECT_EQ(WindowText(found), expected.text);
        EXPECT_EQ(expected.control.Text(), expected.text);
    }
}

TEST_F(InstallerWindowTest, HiddenListHoldsThePackageFilesInOrderDuplicatesIncluded)
{
    HWND list = window->ListBox.Handle();
    EXPECT_FALSE(HasVisibleStyle(list));
    ASSERT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 46);
    std::vector<std::wstring> items;
    for (int i = 0; i < 46; ++i) {
        std::wstring item(static_cast<size_t>(::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
        item.resize(static_cast<size_t>(::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()))));
        items.push_back(item);
    }
    EXPECT_EQ(items, std::vector<std::wstring>(app::definition::PackageFiles.begin(), app::definition::PackageFiles.end()));
    // Not sorted, nothing merged: the run fetches in this order and skips repeats itself.
    EXPECT_EQ(items.front(), L"adortl160.bpl");
    EXPECT_EQ(items[11], L"dxCoreRS16.bpl");
    EXPECT_EQ(items[13], L"dxCoreRS16.bpl");
    EXPECT_EQ(items.back(), L"Novelix5.ex_");
}

TEST_F(InstallerWindowTest, WizardButtonsFollowThePage)
{
    struct TState {
        bool visible, enabled;
    };
    struct TPageButtons {
        int page;
        TState back, next, finish;
    };
    const TPageButtons pages[] = {
        {0, {true, false}, {true, true}, {false, false}},
        {1, {true, true}, {false, false}, {true, false}},
    };
    TBox nextOnWelcome{};
    for (const TPageButtons& expected : pages) {
        SCOPED_TRACE("page index " + std::to_string(expected.page));
        GoToPage(expected.page);
        const std::pair<TWizardButtonKind, TState> buttons[] = {
            {TWizardButtonKind::Back, expected.back}, {TWizardButtonKind::Next, expected.next}, {TWizardButtonKind::Finish, expected.finish}};
        for (auto [kind, state] : buttons) {
            SCOPED_TRACE("button " + std::to_string(static_cast<int>(kind)));
            EXPECT_EQ(HasVisibleStyle(ButtonOf(kind)), state.visible);
            if (state.visible) {
                EXPECT_EQ(::IsWindowEnabled(ButtonOf(kind)) != FALSE, state.enabled);
            }
        }
        EXPECT_FALSE(HasVisibleStyle(ButtonOf(TWizardButtonKind::Cancel)));
        EXPECT_FALSE(HasVisibleStyle(ButtonOf(TWizardButtonKind::Help)));
        if (expected.page == 0)
            nextOnWelcome = BoxIn(ButtonOf(TWizardButtonKind::Next), Wizard().Handle());
        else
            EXPECT_EQ(BoxIn(ButtonOf(TWizardButtonKind::Finish), Wizard().Handle()), nextOnWelcome) << "Finish takes Next's place";
    }
}

// ---- navigation -------------------------------------------------------------

TEST_F(InstallerWindowTest, NextAndBackSlideBetweenThePages)
{
    Click(ButtonOf(TWizardButtonKind::Next));
    EXPECT_TRUE(Wizard().Sliding());
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(1);

    Click(ButtonOf(TWizardButtonKind::Back));
    EXPECT_TRUE(Wizard().Sliding());
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(InstallerWindowTest, AltArrowsActAsBackAndNext)
{
    struct TKey {
        const char* name;
        UINT message;
        WPARAM key;
        LPARAM flags;
        int pageAfter;
    };
    const LPARAM alt = LPARAM{KF_ALTDOWN} << 16;
    const TKey keys[] = {
        {"Alt+Left on the first page", WM_SYSKEYDOWN, VK_LEFT, alt, 0},
        {"Right alone", WM_KEYDOWN, VK_RIGHT, 0, 0},
        {"Right as a system key without Alt (F10 held)", WM_SYSKEYDOWN, VK_RIGHT, 0, 0},
        {"Alt+Right", WM_SYSKEYDOWN, VK_RIGHT, alt, 1},
        {"Alt+Right on the last page", WM_SYSKEYDOWN, VK_RIGHT, alt, 1},
        {"Left alone", WM_KEYDOWN, VK_LEFT, 0, 1},
        {"Alt+Left", WM_SYSKEYDOWN, VK_LEFT, alt, 0},
    };
    for (const TKey& key : keys) {
        SCOPED_TRACE(key.name);
        // To a control of the active page, through the application's loop.
        HWND control = Wizard().ActivePageIndex() == 0 ? window->Label2.Handle() : window->Label1.Handle();
        ASSERT_TRUE(::PostMessageW(control, key.message, key.key, key.flags | 1));
        application.ProcessMessages();
        ASSERT_TRUE(SlideEnds());
        ExpectSettledOn(key.pageAfter);
    }
}

TEST_F(InstallerWindowTest, AltArrowsGivenToPreTranslateMessageNavigate)
{
    MSG next{window->Label2.Handle(), WM_SYSKEYDOWN, VK_RIGHT, (LPARAM{KF_ALTDOWN} << 16) | 1};
    EXPECT_TRUE(window->PreTranslateMessage(next));
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(1);

    MSG back{window->Label1.Handle(), WM_SYSKEYDOWN, VK_LEFT, (LPARAM{KF_ALTDOWN} << 16) | 1};
    EXPECT_TRUE(window->PreTranslateMessage(back));
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(0);
}

TEST_F(InstallerWindowTest, AltArrowsForAnotherWindowAreLeftAlone)
{
    TOtherWindow other;
    MSG message{other.Handle(), WM_SYSKEYDOWN, VK_RIGHT, (LPARAM{KF_ALTDOWN} << 16) | 1};
    EXPECT_FALSE(window->PreTranslateMessage(message));
    EXPECT_FALSE(Wizard().Sliding());
    ExpectSettledOn(0);
}

TEST_F(InstallerWindowTest, ASecondPageChangeFinishesTheRunningSlideFirst)
{
    const TBox area = BoxOf(Wizard().PageArea());
    Click(ButtonOf(TWizardButtonKind::Next));
    ASSERT_TRUE(Wizard().Sliding());

    Click(ButtonOf(TWizardButtonKind::Back));

    // The first slide is over: the installation page reached its place before
    // the welcome page starts coming back in from the left.
    EXPECT_EQ(BoxIn(Page(1), Wizard().Handle()), area);
    EXPECT_TRUE(HasVisibleStyle(Page(1)));
    EXPECT_TRUE(HasVisibleStyle(Page(0)));
    EXPECT_EQ(BoxIn(Page(0), Wizard().Handle()).left, area.left - area.width);
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(0);
    EXPECT_TRUE(HasVisibleStyle(ButtonOf(TWizardButtonKind::Next)));
    EXPECT_FALSE(HasVisibleStyle(ButtonOf(TWizardButtonKind::Finish)));
}

// ---- button handler -----------------------------------------------------------

struct TButtonCase {
    const char* name;
    int page;
    TWizardButtonKind kind;
    bool closes;
    const wchar_t* message; // shown before the close, or none
};

void PrintTo(const TButtonCase& click, std::ostream* out)
{
    *out << click.name;
}

class WizardControlButtonClickTest : public InstallerWindowTest, public ::testing::WithParamInterface<TButtonCase> {};

TEST_P(WizardControlButtonClickTest, ClosesOnlyForCancelAndFinish)
{
    const TButtonCase& click = GetParam();
    GoToPage(click.page);
    std::optional<bool> closePendingWhileShown;
    messages.onShow = [&](const TRecordingMessages::TShown&) { closePendingWhileShown = CloseIsPending(window->Handle()); };

    bool handled = false;
    window->WizardControlButtonClick(Wizard(), click.kind, handled);

    EXPECT_FALSE(handled);
    EXPECT_EQ(CloseIsPending(window->Handle()), click.closes);
    EXPECT_TRUE(::IsWindow(window->Handle())) << "the close is asked for, not done on the spot";
    if (click.message) {
        EXPECT_EQ(messages.Texts(), std::vector<std::wstring>{click.message});
        EXPECT_EQ(closePendingWhileShown, false) << "the message comes before the close";
    } else {
        EXPECT_TRUE(messages.shown.empty());
    }
    EXPECT_EQ(Wizard().ActivePageIndex(), click.page);
    EXPECT_FALSE(Wizard().Sliding());
}

INSTANTIATE_TEST_SUITE_P(
    Table, WizardControlButtonClickTest,
    ::testing::Values(TButtonCase{"WelcomeCancel", 0, TWizardButtonKind::Cancel, true, nullptr},
                      TButtonCase{"InstallationCancel", 1, TWizardButtonKind::Cancel, true, nullptr},
                      TButtonCase{"InstallationFinish", 1, TWizardButtonKind::Finish, true,
                                  L"A instalação NÃO foi concluida, deverá realizar novamente!"},
                      TButtonCase{"WelcomeFinish", 0, TWizardButtonKind::Finish, false, nullptr},
                      TButtonCase{"WelcomeBack", 0, TWizardButtonKind::Back, false, nullptr},
                      TButtonCase{"WelcomeNext", 0, TWizardButtonKind::Next, false, nullptr},
                      TButtonCase{"WelcomeHelp", 0, TWizardButtonKind::Help, false, nullptr},
                      TButtonCase{"InstallationBack", 1, TWizardButtonKind::Back, false, nullptr},
                      TButtonCase{"InstallationNext", 1, TWizardButtonKind::Next, false, nullptr},
                      TButtonCase{"InstallationHelp", 1, TWizardButtonKind::Help, false, nullptr}),
    [](const ::testing::TestParamInfo<TButtonCase>& info) { return std::string(info.param.name); });

// ---- clicks that reach disabled buttons -----------------------------------------

enum class TDelivery { BmClick, BnClicked };

void PrintTo(TDelivery delivery, std::ostream* out)
{
    *out << (delivery == TDelivery::BmClick ? "BM_CLICK" : "WM_COMMAND BN_CLICKED");
}

class DisabledButtonTest : public InstallerWindowTest, public ::testing::WithParamInterface<TDelivery> {
protected:
    void Deliver(HWND button)
    {
        if (GetParam() == TDelivery::BmClick)
            ::SendMessageW(button, BM_CLICK, 0, 0);
        else
            ::SendMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
};

TEST_P(DisabledButtonTest, ClickOnADisabledButtonDoesNothing)
{
    HWND back = ButtonOf(TWizardButtonKind::Back);
    ASSERT_FALSE(::IsWindowEnabled(back));
    Deliver(back);
    EXPECT_FALSE(Wizard().Sliding());
    ExpectSettledOn(0);

    // The same delivery does reach an enabled button.
    Deliver(ButtonOf(TWizardButtonKind::Next));
    ASSERT_TRUE(Wizard().Sliding());
    ASSERT_TRUE(SlideEnds());
    ExpectSettledOn(1);

    HWND finish = ButtonOf(TWizardButtonKind::Finish);
    ASSERT_TRUE(HasVisibleStyle(finish));
    ASSERT_FALSE(::IsWindowEnabled(finish));
    Deliver(finish);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(CloseIsPending(window->Handle()));
    ExpectSettledOn(1);
}

INSTANTIATE_TEST_SUITE_P(Deliveries, DisabledButtonTest, ::testing::Values(TDelivery::BmClick, TDelivery::BnClicked),
                         [](const ::testing::TestParamInfo<TDelivery>& info) {
                             return std::string(info.param == TDelivery::BmClick ? "BmClick" : "BnClicked");
                         });

// ---- cancel ---------------------------------------------------------------------

TEST_F(InstallerWindowTest, CancelTransferAndCloseStopsARunningTransfer)
{
    struct TCase {
        bool transferring, abortAfter;
    };
    for (TCase state : {TCase{true, true}, TCase{false, false}}) {
        SCOPED_TRACE(state.transferring ? "while transferring" : "with no transfer");
        DropPendingCloseAndQuit(window->Handle());
        window->TransferrignData = state.transferring;
        window->AbortTransfer = false;

        window->CancelTransferAndClose();

        EXPECT_EQ(window->AbortTransfer, state.abortAfter);
        EXPECT_EQ(window->TransferrignData, state.transferring) << "the download itself clears it";
        EXPECT_TRUE(CloseIsPending(window->Handle()));
        EXPECT_TRUE(::IsWindow(window->Handle()));
    }
}

// ---- size limits ----------------------------------------------------------------

TEST_F(InstallerWindowTest, HeightIsHeldAndWidthHasAMinimum)
{
    HWND form = window->Handle();
    const LONG held = window->Scale(500);
    const LONG minimum = window->Scale(700);
    ASSERT_EQ(window->Dpi(), 96u) << "the sizes below are the 96-DPI ones";
    EXPECT_EQ(OuterSize(form).cy, 500);
    EXPECT_GE(OuterSize(form).cx, 700);

    struct TAttempt {
        const char* name;
        bool moveWindow;
        LONG width, height;
        LONG expectedWidth, expectedHeight;
    };
    const TAttempt attempts[] = {
        {"SetWindowPos 300 tall", false, 760, 300, 760, held}, {"MoveWindow 300 tall", true, 760, 300, 760, held},
        {"SetWindowPos 800 tall", false, 760, 800, 760, held}, {"MoveWindow 800 tall", true, 760, 800, 760, held},
        {"SetWindowPos 300 wide", false, 300, 500, minimum, held}, {"MoveWindow 300 wide", true, 300, 500, minimum, held},
        {"SetWindowPos 900 wide", false, 900, 500, 900, held}, {"MoveWindow 900 wide", true, 900, 500, 900, held},
    };
    for (const TAttempt& attempt : attempts) {
        SCOPED_TRACE(attempt.name);
        if (attempt.moveWindow)
            ::MoveWindow(form, 10, 10, attempt.width, attempt.height, TRUE);
        else
            ::SetWindowPos(form, nullptr, 10, 10, attempt.width, attempt.height, SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_EQ(OuterSize(form).cx, attempt.expectedWidth);
        EXPECT_EQ(OuterSize(form).cy, attempt.expectedHeight);
    }
}

TEST_F(InstallerWindowTest, WizardFollowsTheWindowWhenItGrows)
{
    HWND form = window->Handle();
    const LONG nextLeft = BoxIn(ButtonOf(TWizardButtonKind::Next), Wizard().Handle()).left;
    const SIZE before = OuterSize(form);

    ::SetWindowPos(form, nullptr, 0, 0, before.cx + 200, before.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    RECT client;
    ::GetClientRect(form, &client);
    EXPECT_EQ(BoxIn(Wizard().Handle(), form), BoxOf(client));
    EXPECT_EQ(BoxIn(ButtonOf(TWizardButtonKind::Next), Wizard().Handle()).left, nextLeft + 200) << "the buttons keep to the right";
    EXPECT_EQ(BoxIn(Page(0), Wizard().Handle()), BoxOf(Wizard().PageArea()));
}

// ---- tab order and DPI -------------------------------------------------------------

TEST_F(InstallerWindowTest, InstallationPageTabsThroughBarsListAndButtonInOrder)
{
    std::vector<HWND> zOrder;
    for (HWND child = ::GetWindow(Page(1), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        zOrder.push_back(child);
    auto position = [&](HWND control) { return std::find(zOrder.begin(), zOrder.end(), control) - zOrder.begin(); };
    const HWND inOrder[] = {window->ProgressBar1.Handle(), window->ProgressBar2.Handle(), window->ListBox.Handle(),
                            window->cxButton1.Handle()};
    for (size_t i = 0; i < std::size(inOrder); ++i) {
        SCOPED_TRACE("control " + std::to_string(i));
        ASSERT_LT(position(inOrder[i]), static_cast<long long>(zOrder.size())) << "not on the installation page";
        if (i > 0) {
            EXPECT_LT(position(inOrder[i - 1]), position(inOrder[i]));
        }
    }
    EXPECT_TRUE(::GetWindowLongW(window->cxButton1.Handle(), GWL_STYLE) & WS_TABSTOP);
}

// INSTALADOR_DPI set for one scope.
class TDpiOverride {
public:
    explicit TDpiOverride(const wchar_t* dpi) { ::SetEnvironmentVariableW(L"INSTALADOR_DPI", dpi); }
    ~TDpiOverride() { ::SetEnvironmentVariableW(L"INSTALADOR_DPI", nullptr); }
    TDpiOverride(const TDpiOverride&) = delete;
    TDpiOverride& operator=(const TDpiOverride&) = delete;
};

TEST_F(InstallerWindowTest, LaysTheWindowOutAtTheDpiItIsGiven)
{
    std::unique_ptr<TFAtualizar> scaled;
    {
        TDpiOverride dpi(L"144");
        scaled = std::make_unique<TFAtualizar>(application);
    }
    ASSERT_EQ(scaled->Dpi(), 144u);

    // Edges scaled by MulDiv, halves rounded up, sizes taken between them.
    struct TPlaced {
        const char* name;
        platform::TControl& control;
        HWND page;
        TBox at144;
    };
    const TPlaced placed[] = {
        {"cxButton1", scaled->cxButton1, scaled->ControlPage2.Handle(), {336, 300, 242, 50}},
        {"ProgressBar1", scaled->ProgressBar1, scaled->ControlPage2.Handle(), {60, 203, 845, 18}},
        {"ListBox", scaled->ListBox, scaled->ControlPage2.Handle(), {60, 369, 350, 137}},
        {"Image1", scaled->Image1, scaled->ControlPage0.Handle(), {111, 99, 632, 165}},
        {"Image6", scaled->FeatureImages[4], scaled->ControlPage0.Handle(), {843, 383, 96, 96}},
    };
    for (const TPlaced& control : placed) {
        SCOPED_TRACE(control.name);
        EXPECT_EQ(BoxIn(control.control.Handle(), control.page), control.at144);
    }
    // Label2 (19 down, 31 tall) sizes itself in width; its height is where
    // scaling the edges and scaling the size part: 29 + 46, not 29 + 47.
    const TBox label2 = BoxIn(scaled->Label2.Handle(), scaled->ControlPage0.Handle());
    EXPECT_EQ(label2.top, 29);
    EXPECT_EQ(label2.height, 46);

    const TBox next96 = BoxIn(ButtonOf(TWizardButtonKind::Next), Wizard().Handle());
    const TBox next144 = BoxIn(scaled->WizardControl.Button(TWizardButtonKind::Next).Handle(), scaled->WizardControl.Handle());
    EXPECT_EQ(next144.width, ::MulDiv(next96.width, 3, 2));
    EXPECT_EQ(next144.height, ::MulDiv(next96.height, 3, 2));

    // The size limits scale too.
    EXPECT_EQ(OuterSize(scaled->Handle()).cy, 750);
    ::SetWindowPos(scaled->Handle(), nullptr, 0, 0, 300, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(OuterSize(scaled->Handle()).cx, 1050);
    EXPECT_EQ(OuterSize(scaled->Handle()).cy, 750);
    DropPendingCloseAndQuit(scaled->Handle());
}

TEST_F(InstallerWindowTest, WithoutTheOverrideTheWindowUsesTheSystemDpi)
{
    EXPECT_EQ(window->Dpi(), ::GetDpiForSystem());
    EXPECT_EQ(BoxIn(window->cxButton1.Handle(), Page(1)), (TBox{224, 200, 161, 33}));
}

// ---- bringing the window forward ------------------------------------------------------

TEST_F(InstallerWindowTest, WMUserFromAnotherThreadBringsTheWindowForward)
{
    window->Show();
    TOtherWindow other;
    ASSERT_TRUE(other.TakeForeground());

    RunOnOtherThread(application, [&] {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window->Handle(), WM_USER, 0, 0, SMTO_NORMAL, 10'000, &ignored);
    });

    EXPECT_EQ(::GetForegroundWindow(), window->Handle());
}

TEST_F(InstallerWindowTest, WMUserLeavesAMinimisedWindowAsItIs)
{
    window->Show();
    ::ShowWindow(window->Handle(), SW_MINIMIZE);
    TOtherWindow other;
    ASSERT_TRUE(other.TakeForeground());

    RunOnOtherThread(application, [&] {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window->Handle(), WM_USER, 0, 0, SMTO_NORMAL, 10'000, &ignored);
    });

    EXPECT_EQ(::GetForegroundWindow(), other.Handle());
    EXPECT_TRUE(::IsIconic(window->Handle()));
}

// Enter makes IsDialogMessage ask the window for its default button with
// DM_GETDEFID, which has WM_USER's number.
TEST_F(InstallerWindowTest, EnterInTheWindowDoesNotBringItForward)
{
    window->Show();
    TOtherWindow other;
    ASSERT_TRUE(other.TakeForeground());
    TSentMessageCounter defIdRequests(window->Handle(), DM_GETDEFID);
    ASSERT_TRUE(defIdRequests.Hooked());

    ASSERT_TRUE(::PostMessageW(window->Label2.Handle(), WM_KEYDOWN, VK_RETURN, 1));
    application.ProcessMessages();

    EXPECT_GE(defIdRequests.Count(), 1) << "the key did go through the dialog navigation";
    EXPECT_EQ(::GetForegroundWindow(), other.Handle());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(CloseIsPending(window->Handle()));
}

// ---- the info link ------------------------------------------------------------------

TEST_F(InstallerWindowTest, InfoLinkHandsItsAddressToOnOpenWhenClicked)
{
    std::vector<std::wstring> opened;
    Wizard().InfoLink().OnOpen = [&](const std::wstring& address) { opened.push_back(address); };
    HWND link = Wizard().InfoLink().Handle();
    EXPECT_TRUE(HasVisibleStyle(link));

    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(opened, std::vector<std::wstring>{L"https://www.brenvalt.com.br"});

    ::SendMessageW(::GetParent(link), WM_COMMAND, MAKEWPARAM(id::InfoLink, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(messages.shown.empty());
}

// A keyboard user tabs to a control and presses Space or Enter; the keys come
// through the application's loop, as they do when the program runs.
TEST_F(InstallerWindowTest, FocusedControlsActOnSpaceAndEnter)
{
    window->Show();
    std::vector<std::wstring> opened;
    Wizard().InfoLink().OnOpen = [&](const std::wstring& address) { opened.push_back(address); };
    int starts = 0;
    window->cxButton1.OnClick = [&] { ++starts; };

    enum TTarget { InfoLink, Next, Start };
    struct TPress {
        const char* name;
        TTarget target;
        WPARAM key;
    };
    const TPress presses[] = {
        {"Space on the info link", InfoLink, VK_SPACE}, {"Enter on the info link", InfoLink, VK_RETURN},
        {"Space on Next", Next, VK_SPACE},              {"Enter on Next", Next, VK_RETURN},
        {"Space on cxButton1", Start, VK_SPACE},        {"Enter on cxButton1", Start, VK_RETURN},
    };
    for (const TPress& press : presses) {
        SCOPED_TRACE(press.name);
        GoToPage(press.target == Start ? 1 : 0);
        HWND control = press.target == InfoLink ? Wizard().InfoLink().Handle()
                       : press.target == Next   ? ButtonOf(TWizardButtonKind::Next)
                                                : window->cxButton1.Handle();
        opened.clear();
        const int startsBefore = starts;
        ::SetFocus(control);
        ASSERT_EQ(::GetFocus(), control);

        ASSERT_TRUE(::PostMessageW(control, WM_KEYDOWN, press.key, 1));
        ASSERT_TRUE(::PostMessageW(control, WM_KEYUP, press.key, LPARAM(0xC0000001)));
        application.ProcessMessages();

        switch (press.target) {
        case InfoLink:
            EXPECT_EQ(opened, std::vector<std::wstring>{L"https://www.brenvalt.com.br"});
            break;
        case Next:
            EXPECT_TRUE(SlideEnds());
            EXPECT_EQ(Wizard().ActivePageIndex(), 1);
            break;
        case Start:
            EXPECT_EQ(starts, startsBefore + 1);
            break;
        }
    }
}

// Wine hands web addresses to winebrowser, which starts the first program
// named in HKCU\Software\Wine\WineBrowser\Browsers with the address.
class TBrowserSetting {
public:
    explicit TBrowserSetting(const std::wstring& browsers)
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                          &key_, nullptr);
        wchar_t previous[1024] = {};
        DWORD size = sizeof previous - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegQueryValueExW(key_, L"Browsers", nullptr, &type, reinterpret_cast<BYTE*>(previous), &size) == ERROR_SUCCESS)
            previous_ = std::wstring(previous);
        Set(browsers);
    }
    ~TBrowserSetting()
    {
        if (previous_)
            Set(*previous_);
        else
            ::RegDeleteValueW(key_, L"Browsers");
        ::RegCloseKey(key_);
    }
    TBrowserSetting(const TBrowserSetting&) = delete;
    TBrowserSetting& operator=(const TBrowserSetting&) = delete;

    bool Opened() const noexcept { return key_ != nullptr; }

private:
    void Set(const std::wstring& value)
    {
        ::RegSetValueExW(key_, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }

    HKEY key_ = nullptr;
    std::optional<std::wstring> previous_;
};

std::optional<std::string> UnixPathOf(const std::wstring& windowsPath)
{
    using TConvert = char*(CDECL*)(const wchar_t*);
    auto convert = reinterpret_cast<TConvert>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return std::nullopt;
    char* unix = convert(windowsPath.c_str());
    if (!unix)
        return std::nullopt;
    std::string path(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return path;
}

TEST_F(InstallerWindowTest, ClickingTheInfoLinkOpensTheAddressInTheSystemBrowser)
{
    testing_env::TScratchFolder scratch;
    const std::wstring recorder = scratch / L"record-url.com"; // Wine makes .com files executable
    const std::wstring urls = scratch / L"urls.txt";
    const std::optional<std::string> unixRecorder = UnixPathOf(recorder);
    const std::optional<std::string> unixUrls = UnixPathOf(urls);
    if (!unixRecorder || !unixUrls)
        GTEST_SKIP() << "not running under Wine";
    testing_env::WriteBytes(recorder, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + *unixUrls + "'\n");
    TBrowserSetting browser(platform::FromUtf8(*unixRecorder));
    ASSERT_TRUE(browser.Opened());

    HWND link = Wizard().InfoLink().Handle();
    ::SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));

    std::string recorded;
    WaitFor(
        [&] {
            if (::GetFileAttributesW(urls.c_str()) == INVALID_FILE_ATTRIBUTES)
                return false;
            recorded = testing_env::ReadBytes(urls);
            return recorded.find('\n') != std::string::npos;
        },
        20'000);
    // winebrowser writes the address in its canonical form, with the root path.
    EXPECT_TRUE(recorded == "https://www.brenvalt.com.br/\n" || recorded == "https://www.brenvalt.com.br\n") << recorded;
}

// ---- pictures ---------------------------------------------------------------------------

// A 32-bit top-down DIB section filled with one colour.
class TCanvas {
public:
    TCanvas(int width, int height, std::uint32_t fill) : width_(width), height_(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<std::uint32_t*>(bits);
        for (int i = 0; i < width * height; ++i)
            pixels_[i] = fill;
        dc_ = ::CreateCompatibleDC(nullptr);
        previous_ = ::SelectObject(dc_, bitmap_);
    }
    ~TCanvas()
    {
        ::SelectObject(dc_, previous_);
        ::DeleteDC(dc_);
        ::DeleteObject(bitmap_);
    }
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    HDC Dc() const noexcept { return dc_; }
    // Once drawing is done (GdiFlush).
    std::uint32_t Pixel(int x, int y) const { return pixels_[y * width_ + x] & 0xFFFFFF; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

private:
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Grey = 0x808080;

// A premultiplied pixel over white.
std::uint32_t OverWhite(std::uint32_t premultiplied)
{
    const std::uint32_t alpha = premultiplied >> 24;
    std::uint32_t result = 0;
    for (int shift : {0, 8, 16}) {
        const std::uint32_t channel = std::min<std::uint32_t>(255, ((premultiplied >> shift) & 0xFF) + (255 - alpha));
        result |= channel << shift;
    }
    return result;
}

bool Near(std::uint32_t a, std::uint32_t b)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
            return false;
    return true;
}

struct TPictureCase {
    const char* name;
    platform::TPicture& (*picture)(TFAtualizar&);
    int resource;
    RECT area;   // where it is drawn on the canvas
    RECT placed; // where the picture must land
};

TEST_F(InstallerWindowTest, PicturesAreDrawnCentredAtTheirFittedSize)
{
    const TPictureCase cases[] = {
        // 1146x318 into 421x110: shrunk to 396x110, never enlarged.
        {"logo in its box", [](TFAtualizar& w) -> platform::TPicture& { return w.Image1; }, IDR_LOGO, {10, 10, 431, 120}, {22, 10, 418, 120}},
        {"icon, proportional, in a wider box", [](TFAtualizar& w) -> platform::TPicture& { return w.FeatureImages[0]; }, IDR_FEATURE1,
         {0, 0, 100, 80}, {18, 8, 82, 72}},
        {"icon, proportional, in a smaller box", [](TFAtualizar& w) -> platform::TPicture& { return w.FeatureImages[3]; }, IDR_FEATURE4,
         {5, 5, 53, 37}, {13, 5, 45, 37}},
        {"icon, stretched, in a wider box", [](TFAtualizar& w) -> platform::TPicture& { return w.FeatureImages[2]; }, IDR_FEATURE3,
         {0, 0, 100, 80}, {10, 0, 90, 80}},
        {"icon, stretched, in its own box", [](TFAtualizar& w) -> platform::TPicture& { return w.FeatureImages[4]; }, IDR_FEATURE5,
         {0, 0, 64, 64}, {0, 0, 64, 64}},
    };
    for (const TPictureCase& drawn : cases) {
        SCOPED_TRACE(drawn.name);
        const RECT& area = drawn.area;
        const RECT& placed = drawn.placed;
        TCanvas canvas(area.right + 10, area.bottom + 10, Grey);
        drawn.picture(*window).Draw(canvas.Dc(), area);
        ::GdiFlush();

        const platform::TImage image = platform::TImage::FromResource(drawn.resource);
        platform::UniqueBitmap expected = image.Render(placed.right - placed.left, placed.bottom - placed.top);
        ASSERT_TRUE(expected);
        DIBSECTION section{};
        ASSERT_EQ(::GetObjectW(expected.get(), sizeof section, &section), static_cast<int>(sizeof section));
        const auto* source = static_cast<const std::uint32_t*>(section.dsBm.bmBits);

        int wrong = 0;
        std::string first;
        for (int y = 0; y < canvas.Height(); ++y) {
            for (int x = 0; x < canvas.Width(); ++x) {
                const POINT at{x, y};
                std::uint32_t want = Grey;
                if (::PtInRect(&placed, at))
                    want = OverWhite(source[(y - placed.top) * (placed.right - placed.left) + (x - placed.left)]);
                else if (::PtInRect(&area, at))
                    want = White;
                if (!Near(canvas.Pixel(x, y), want) && wrong++ == 0)
                    first = "first at " + std::to_string(x) + "," + std::to_string(y);
            }
        }
        EXPECT_EQ(wrong, 0) << first;
    }
}

TEST_F(InstallerWindowTest, LogoControlIsTheLogoInItsDesignedBox)
{
    EXPECT_EQ(platform::TImage::FromResource(IDR_LOGO).Size().cx, 1146);
    EXPECT_EQ(platform::TImage::FromResource(IDR_LOGO).Size().cy, 318);
    EXPECT_EQ(BoxIn(window->Image1.Handle(), Page(0)), (TBox{74, 66, 421, 110}));
}

struct TFitCase {
    const char* name;
    SIZE picture;
    RECT box;
    bool stretch;
    TBox placed;
};

void PrintTo(const TFitCase& fit, std::ostream* out)
{
    *out << fit.name;
}

class FitProportionallyTest : public ::testing::TestWithParam<TFitCase> {};

TEST_P(FitProportionallyTest, CentresAndScalesInProportion)
{
    const TFitCase& fit = GetParam();
    EXPECT_EQ(BoxOf(platform::FitProportionally(fit.picture, fit.box, fit.stretch)), fit.placed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FitProportionallyTest,
    ::testing::Values(TFitCase{"ShrinkWide", {1146, 318}, {0, 0, 421, 110}, false, {12, 0, 396, 110}},
                      TFitCase{"ShrinkTall", {318, 1146}, {0, 0, 110, 421}, false, {0, 12, 110, 396}},
                      TFitCase{"ShrinkOneSideTooLarge", {50, 200}, {0, 0, 100, 100}, false, {37, 0, 25, 100}},
                      TFitCase{"NoEnlargementWithoutStretch", {64, 64}, {0, 0, 100, 80}, false, {18, 8, 64, 64}},
                      TFitCase{"EnlargementWithStretch", {64, 64}, {0, 0, 100, 80}, true, {10, 0, 80, 80}},
                      TFitCase{"StretchRoundsTheShortSide", {3, 2}, {0, 0, 100, 100}, true, {0, 16, 100, 67}},
                      TFitCase{"ExactFit", {64, 64}, {0, 0, 64, 64}, false, {0, 0, 64, 64}},
                      TFitCase{"ExactFitStretched", {64, 64}, {0, 0, 64, 64}, true, {0, 0, 64, 64}},
                      TFitCase{"OffsetBox", {200, 100}, {10, 20, 110, 120}, false, {10, 45, 100, 50}}),
    [](const ::testing::TestParamInfo<TFitCase>& info) { return std::string(info.param.name); });

} // namespace

// ---- real message boxes --------------------------------------------------------------------

namespace {

// The window with the application's own message boxes.
class InstallerWindowWithMessageBoxesTest : public ::testing::Test {
protected:
    InstallerWindowWithMessageBoxesTest()
    {
        application.SetTitle(L"Instalador do Lumivar");
        window = std::make_unique<TFAtualizar>(application);
        application.SetMainForm(window.get());
    }
    ~InstallerWindowWithMessageBoxesTest() override { DropPendingCloseAndQuit(window->Handle()); }

    platform::TApplication application;
    std::unique_ptr<TFAtualizar> window;
};

HWND FindMessageBoxOf(HWND owner)
{
    struct TSearch {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(owner, nullptr),
        [](HWND candidate, LPARAM context) -> BOOL {
            auto* search = reinterpret_cast<TSearch*>(context);
            wchar_t className[16] = {};
            ::GetClassNameW(candidate, className, 16);
            if (std::wstring_view(className) == L"#32770" && ::GetWindow(candidate, GW_OWNER) == search->owner &&
                ::IsWindowVisible(candidate)) {
                search->found = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST_F(InstallerWindowWithMessageBoxesTest, WMUserBringsAnOpenMessageBoxForward)
{
    window->Show();
    TOtherWindow other;
    HWND form = window->Handle();
    struct TSeen {
        HWND box = nullptr;
        HWND foregroundBefore = nullptr;
        HWND foregroundAfter = nullptr;
    } seen;

    const DWORD testThread = ::GetCurrentThreadId();
    std::thread helper([&] {
        WaitFor([&] { return (seen.box = FindMessageBoxOf(form)) != nullptr; }, 10'000);
        if (!seen.box) {
            // Whatever is open then must not hold the test up: a quit request ends a modal loop.
            ::PostThreadMessageW(testThread, WM_QUIT, 0, 0);
            return;
        }
        ::SetForegroundWindow(other.Handle());
        WaitFor([&] { return ::GetForegroundWindow() == other.Handle(); }, 5'000);
        seen.foregroundBefore = ::GetForegroundWindow();
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(form, WM_USER, 0, 0, SMTO_NORMAL, 10'000, &ignored);
        WaitFor([&] { return ::GetForegroundWindow() == seen.box; }, 2'000);
        seen.foregroundAfter = ::GetForegroundWindow();
        ::PostMessageW(seen.box, WM_COMMAND, IDOK, 0);
    });
    window->Application().ShowMessage(L"Aguarde");
    helper.join();

    ASSERT_NE(seen.box, nullptr) << "no message box opened over the window";
    ASSERT_EQ(seen.foregroundBefore, other.Handle()) << "the other window did not take the foreground";
    EXPECT_EQ(seen.foregroundAfter, seen.box);
}

// ---- the program file ----------------------------------------------------------------------

// Instalador.exe is built next to the tests' folder.
std::wstring ProgramPath()
{
    wchar_t own[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, own, MAX_PATH);
    std::wstring path(own);
    path.resize(path.find_last_of(L'\\') + 1);
    path += L"..\\Instalador.exe";
    wchar_t full[MAX_PATH] = {};
    ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return full;
}

TEST(ProgramFile, CarriesItsVersionAndDescriptions)
{
    const std::wstring program = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << platform::ToUtf8(program);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(program.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000023u); // 1.0.0.35
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000023u);

    struct TTranslation {
        WORD language, codePage;
    }* translation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof(TTranslation));
    wchar_t block[64];
    swprintf(block, 64, L"\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"FileDescription", L"Atualizador do Lumivar"}, {L"ProductName", L"Atualizador do Lumivar"},
        {L"OriginalFilename", L"Atualizador do Lumivar"}, {L"Comments", L"Atualizador do Lumivar"},
        {L"FileVersion", L"1.0.0.35"},                   {L"ProductVersion", L"1.0.0.35"},
    };
    for (auto [name, value] : strings) {
        SCOPED_TRACE(platform::ToUtf8(name));
        wchar_t* text = nullptr;
        ASSERT_TRUE(::VerQueryValueW(info.data(), (std::wstring(block) + name).c_str(), reinterpret_cast<void**>(&text), &length));
        EXPECT_EQ(std::wstring(text), value);
    }
}

std::string ProgramManifest()
{
    HMODULE program = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program)
        return {};
    std::string text;
    if (HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)))
        if (const void* bytes = ::LockResource(::LoadResource(program, found)))
            text.assign(static_cast<const char*>(bytes), ::SizeofResource(program, found));
    ::FreeLibrary(program);
    return text;
}

// The start tags of the elements with this (unprefixed) name.
std::vector<std::string> StartTags(const std::string& xml, const std::string& element)
{
    std::vector<std::string> tags;
    const std::regex tag("<" + element + "\\b[^>]*>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), tag); it != std::sregex_iterator(); ++it)
        tags.push_back(it->str());
    return tags;
}

std::string Attribute(const std::string& tag, const std::string& name)
{
    std::smatch match;
    if (std::regex_search(tag, match, std::regex("\\s" + name + "\\s*=\\s*\"([^\"]*)\"")))
        return match[1];
    return {};
}

std::string ElementText(const std::string& xml, const std::string& element)
{
    std::smatch match;
    if (std::regex_search(xml, match, std::regex("<" + element + "\\b[^>]*>([^<]*)</" + element + ">")))
        return match[1];
    return {};
}

TEST(ProgramFile, ManifestAsksForCommonControls6AsInvokerAndPerMonitorV2)
{
    const std::string manifest = ProgramManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest resource 1 in " << platform::ToUtf8(ProgramPath());

    bool commonControls = false;
    for (const std::string& identity : StartTags(manifest, "assemblyIdentity")) {
        if (Attribute(identity, "name") != "Microsoft.Windows.Common-Controls")
            continue;
        commonControls = true;
        EXPECT_EQ(Attribute(identity, "version"), "6.0.0.0");
        EXPECT_EQ(Attribute(identity, "publicKeyToken"), "6595b64144ccf1df");
        EXPECT_EQ(Attribute(identity, "type"), "win32");
    }
    EXPECT_TRUE(commonControls) << manifest;

    const auto levels = StartTags(manifest, "requestedExecutionLevel");
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(Attribute(levels[0], "level"), "asInvoker");

    const std::string awareness = ElementText(manifest, "dpiAwareness");
    EXPECT_EQ(awareness.substr(0, awareness.find(',')), "PerMonitorV2") << "the first entry Windows knows wins";

    std::vector<std::string> systems;
    for (const std::string& os : StartTags(manifest, "supportedOS"))
        systems.push_back(Attribute(os, "Id"));
    EXPECT_EQ(systems, (std::vector<std::string>{"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                                 "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}));
}

} // namespace
