#include "platform/Wizard.h"

#include "platform/Dpi.h"
#include "platform/Palette.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr UINT_PTR SlideTimer = 1;
// At 96 DPI.
constexpr int HeaderHeight = 58;
constexpr int BarHeight = 48;
constexpr int ButtonWidth = 88;
constexpr int ButtonHeight = 28;
constexpr int ButtonGap = 8;
constexpr int Margin = 12;
constexpr int TitleMargin = 16;

const TWindowClass PageClass{L"InstaladorWizardPage", static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))};
const TWindowClass HeaderClass{L"InstaladorWizardHeader", nullptr};
const TWindowClass WizardClass{L"InstaladorWizard", static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))};

} // namespace

// ---- page --------------------------------------------------------------

void TWizardPage::Create(TWizard& wizard, std::wstring_view headerTitle, HFONT titleFont)
{
    headerTitle_ = headerTitle;
    titleFont_ = titleFont;
    const RECT area = wizard.PageArea();
    CreateHandle(PageClass, WS_EX_CONTROLPARENT, headerTitle, WS_CHILD | WS_CLIPSIBLINGS, area, wizard.Handle());
    wizard.AddPage(*this);
}

LRESULT TWizardPage::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Controls send their notifications to the page; the page hands them to
    // the controls' own objects (see TWindow::WndProc).
    return TWindow::WndProc(message, wParam, lParam);
}

// ---- header ------------------------------------------------------------

void TWizardHeader::Create(HWND parent, const TImage& background)
{
    background_ = &background;
    CreateHandle(HeaderClass, 0, L"", WS_CHILD | WS_VISIBLE, RECT{0, 0, 1, 1}, parent);
}

void TWizardHeader::ShowTitle(std::wstring_view title, HFONT font, int leftMargin)
{
    font_ = font;
    leftMargin_ = leftMargin;
    ::SetWindowTextW(Handle(), std::wstring(title).c_str());
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void TWizardHeader::Paint(HDC dc, const RECT& area)
{
    UniqueBrush fill{::CreateSolidBrush(palette::BarFill)};
    ::FillRect(dc, &area, fill.get());
    if (background_ && !background_->Empty()) {
        if (!rendered_)
            rendered_ = background_->Render(background_->Size().cx, background_->Size().cy);
        if (rendered_)
            DrawBitmap(dc, rendered_.get(), background_->Size(), POINT{0, 0});
    }

    wchar_t title[512] = {};
    ::GetWindowTextW(Handle(), title, 512);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ previous = ::SelectObject(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT text{area.left + leftMargin_, area.top, area.right - leftMargin_, area.bottom};
    RECT measured = text;
    ::DrawTextW(dc, title, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const LONG height = measured.bottom - measured.top;
    text.top = area.top + std::max<LONG>(0, (area.bottom - area.top - height) / 2);
    ::DrawTextW(dc, title, -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    ::SelectObject(dc, previous);
}

LRESULT TWizardHeader::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(Handle(), &paint);
        RECT area;
        ::GetClientRect(Handle(), &area);
        // Drawn off screen, so that the title never flickers over the picture.
        HDC memory = ::CreateCompatibleDC(dc);
        UniqueBitmap buffer{::CreateCompatibleBitmap(dc, std::max<LONG>(1, area.right), std::max<LONG>(1, area.bottom))};
        HGDIOBJ previous = ::SelectObject(memory, buffer.get());
        Paint(memory, area);
        ::BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
        ::EndPaint(Handle(), &paint);
        return 0;
    }
    case WM_PRINTCLIENT: {
        RECT area;
        ::GetClientRect(Handle(), &area);
        Paint(reinterpret_cast<HDC>(wParam), area);
        return 0;
    }
    default:
        return TWindow::WndProc(message, wParam, lParam);
    }
}

// ---- wizard ------------------------------------------------------------

void TWizard::Create(HWND parent, const TWizardSettings& settings, UINT dpi)
{
    settings_ = settings;
    dpi_ = dpi;
    RECT client;
    ::GetClientRect(parent, &client);
    CreateHandle(WizardClass, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, parent);

    header_.Create(Handle(), *settings.headerBackground);
    infoLink_.Create(Handle(), RECT{0, 0, 1, 1}, settings.infoAddress);
    const std::array<std::wstring_view, 5> texts{settings.backText, settings.nextText, settings.cancelText, settings.helpText,
                                                 settings.finishText};
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const auto kind = static_cast<TWizardButtonKind>(i);
        const bool primary = kind == TWizardButtonKind::Next || kind == TWizardButtonKind::Finish;
        buttons_[i].Create(Handle(), RECT{0, 0, 1, 1}, texts[i], primary ? palette::AccentButton : palette::PlainButton);
        buttons_[i].OnClick = [this, kind] { ClickButton(kind); };
    }
    Layout();
}

int TWizard::Scale(int value96) const noexcept
{
    return platform::Scale(value96, dpi_);
}

RECT TWizard::PageArea() const
{
    RECT client{};
    if (Handle())
        ::GetClientRect(Handle(), &client);
    return RECT{0, Scale(HeaderHeight), client.right, std::max<LONG>(Scale(HeaderHeight), client.bottom - Scale(BarHeight))};
}

void TWizard::AddPage(TWizardPage& page)
{
    pages_.push_back(&page);
    if (pages_.size() == 1) {
        active_ = 0;
        ::ShowWindow(page.Handle(), SW_SHOWNA);
    }
    UpdateButtons();
}

void TWizard::SetDpi(UINT dpi)
{
    dpi_ = dpi;
    Layout();
}

void TWizard::SetFonts(HFONT buttons, HFONT link)
{
    for (TFlatButton& button : buttons_)
        button.SetFont(buttons);
    infoLink_.SetFont(link);
}

void TWizard::Layout()
{
    RECT client;
    ::GetClientRect(Handle(), &client);
    ::SetWindowPos(header_.Handle(), nullptr, 0, 0, client.right, Scale(HeaderHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    if (TWizardPage* page = ActivePage())
        header_.ShowTitle(page->HeaderTitle(), page->TitleFont(), Scale(TitleMargin));

    const RECT area = PageArea();
    for (size_t i = 0; i < pages_.size(); ++i)
        if (!slide_.running || (static_cast<int>(i) != slide_.from && static_cast<int>(i) != slide_.to))
            ::SetWindowPos(pages_[i]->Handle(), nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                           SWP_NOZORDER | SWP_NOACTIVATE);

    const int barTop = client.bottom - Scale(BarHeight);
    const int buttonTop = barTop + (Scale(BarHeight) - Scale(ButtonHeight)) / 2;
    int right = client.right - Scale(Margin);
    // Right to left: Help, Cancel, Finish or Next, Back.
    for (TWizardButtonKind kind : {TWizardButtonKind::Help, TWizardButtonKind::Cancel, TWizardButtonKind::Finish,
                                   TWizardButtonKind::Next, TWizardButtonKind::Back}) {
        TFlatButton& button = Button(kind);
        if (!button.Visible())
            continue;
        right -= Scale(ButtonWidth);
        button.SetBounds(RECT{right, buttonTop, right + Scale(ButtonWidth), buttonTop + Scale(ButtonHeight)});
        right -= Scale(ButtonGap);
    }
    const int linkHeight = Scale(16);
    const int linkTop = barTop + (Scale(BarHeight) - linkHeight) / 2;
    infoLink_.SetBounds(RECT{Scale(Margin), linkTop, std::max(Scale(Margin) + 1, right - Scale(ButtonGap)), linkTop + linkHeight});
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TWizard::UpdateButtons()
{
    const bool last = active_ + 1 >= static_cast<int>(pages_.size());
    Button(TWizardButtonKind::Back).SetEnabled(active_ > 0);
    Button(TWizardButtonKind::Next).SetVisible(!last);
    Button(TWizardButtonKind::Next).SetEnabled(!last);
    Button(TWizardButtonKind::Finish).SetVisible(last);
    Button(TWizardButtonKind::Finish).SetEnabled(settings_.finishEnabled);
    Button(TWizardButtonKind::Cancel).SetVisible(settings_.cancelVisible);
    Button(TWizardButtonKind::Help).SetVisible(settings_.helpVisible);
    Layout();
}

void TWizard::ClickButton(TWizardButtonKind kind)
{
    TFlatButton& button = Button(kind);
    if (!button.Visible() || !button.Enabled())
        return;
    bool handled = false;
    if (OnButtonClick)
        OnButtonClick(kind, handled);
    if (handled || !IsAlive())
        return;
    if (kind == TWizardButtonKind::Back && active_ > 0)
        GoToPage(active_ - 1);
    else if (kind == TWizardButtonKind::Next && active_ + 1 < static_cast<int>(pages_.size()))
        GoToPage(active_ + 1);
}

bool TWizard::HandleNavigationKey(const MSG& message)
{
    if (message.message != WM_SYSKEYDOWN || !(HIWORD(message.lParam) & KF_ALTDOWN))
        return false;
    if (message.wParam == VK_LEFT) {
        ClickButton(TWizardButtonKind::Back);
        return true;
    }
    if (message.wParam == VK_RIGHT) {
        ClickButton(TWizardButtonKind::Next);
        return true;
    }
    return false;
}

void TWizard::GoToPage(int index)
{
    if (index < 0 || index >= static_cast<int>(pages_.size()) || index == active_)
        return;
    if (slide_.running)
        FinishSlide();
    slide_ = TSlide{true, active_, index, index > active_ ? 1 : -1, std::chrono::steady_clock::now()};
    active_ = index;

    const RECT area = PageArea();
    const int width = area.right - area.left;
    ::SetWindowPos(pages_[static_cast<size_t>(index)]->Handle(), HWND_TOP, area.left + slide_.direction * width, area.top, width,
                   area.bottom - area.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    header_.ShowTitle(pages_[static_cast<size_t>(index)]->HeaderTitle(), pages_[static_cast<size_t>(index)]->TitleFont(),
                      Scale(TitleMargin));
    UpdateButtons();
    ::SetTimer(Handle(), SlideTimer, 10, nullptr);
}

void TWizard::StepSlide()
{
    using namespace std::chrono;
    const double t = duration<double>(steady_clock::now() - slide_.start) / duration<double>(SlideDuration);
    if (t >= 1.0) {
        FinishSlide();
        return;
    }
    const double eased = 1.0 - std::pow(1.0 - t, 3.0); // fast start, soft landing
    const RECT area = PageArea();
    const int width = area.right - area.left;
    const int offset = static_cast<int>(std::lround(eased * width));
    HDWP moves = ::BeginDeferWindowPos(2);
    moves = ::DeferWindowPos(moves, pages_[static_cast<size_t>(slide_.from)]->Handle(), nullptr,
                             area.left - slide_.direction * offset, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    moves = ::DeferWindowPos(moves, pages_[static_cast<size_t>(slide_.to)]->Handle(), nullptr,
                             area.left + slide_.direction * (width - offset), area.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::EndDeferWindowPos(moves);
    ::UpdateWindow(Handle());
}

void TWizard::FinishSlide()
{
    ::KillTimer(Handle(), SlideTimer);
    if (!slide_.running)
        return;
    slide_.running = false;
    const RECT area = PageArea();
    ::ShowWindow(pages_[static_cast<size_t>(slide_.from)]->Handle(), SW_HIDE);
    ::SetWindowPos(pages_[static_cast<size_t>(slide_.to)]->Handle(), nullptr, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT TWizard::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        Layout();
        return 0;
    case WM_TIMER:
        if (wParam == SlideTimer) {
            StepSlide();
            return 0;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(Handle(), &paint);
        RECT client;
        ::GetClientRect(Handle(), &client);
        RECT line{0, client.bottom - Scale(BarHeight), client.right, client.bottom - Scale(BarHeight) + 1};
        UniqueBrush brush{::CreateSolidBrush(palette::Line)};
        ::FillRect(dc, &line, brush.get());
        ::EndPaint(Handle(), &paint);
        return 0;
    }
    default:
        break;
    }
    return TWindow::WndProc(message, wParam, lParam);
}

} // namespace platform
