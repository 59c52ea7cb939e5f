#pragma once

#include "platform/FlatButton.h"
#include "platform/Hyperlink.h"
#include "platform/Image.h"
#include "platform/Window.h"

#include <array>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace platform {

// In this order and with these values, as the wizard reports them.
enum class TWizardButtonKind { Back = 0, Next = 1, Cancel = 2, Help = 3, Finish = 4 };

class TWizard;

// One page: a white child window that holds the page's controls. Its header
// title is shown in the wizard's header band while it is active.
class TWizardPage : public TWindow {
public:
    void Create(TWizard& wizard, std::wstring_view headerTitle, HFONT titleFont);

    const std::wstring& HeaderTitle() const noexcept { return headerTitle_; }
    HFONT TitleFont() const noexcept { return titleFont_; }
    void SetTitleFont(HFONT font) noexcept { titleFont_ = font; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring headerTitle_;
    HFONT titleFont_ = nullptr;
};

// The header band: a background picture, shown unscaled from its top-left
// corner, and the active page's title in white. Its window text is the title.
class TWizardHeader : public TWindow {
public:
    void Create(HWND parent, const TImage& background);
    void ShowTitle(std::wstring_view title, HFONT font, int leftMargin);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc, const RECT& area);

    const TImage* background_ = nullptr;
    UniqueBitmap rendered_;
    HFONT font_ = nullptr;
    int leftMargin_ = 16;
};

struct TWizardSettings {
    std::wstring_view backText, nextText, finishText, cancelText, helpText;
    bool finishEnabled = true;
    bool cancelVisible = true;
    bool helpVisible = true;
    std::wstring_view infoAddress;
    const TImage* headerBackground = nullptr;
};

// A wizard filling its parent: header band, pages, and a bar with the info
// link and the navigation buttons. Every button click goes to OnButtonClick
// with the button's kind; unless the handler says it handled it, Back and
// Next change the page with a short slide.
class TWizard : public TWindow {
public:
    static constexpr std::chrono::milliseconds SlideDuration{250};

    void Create(HWND parent, const TWizardSettings& settings, UINT dpi);
    void AddPage(TWizardPage& page);

    int ActivePageIndex() const noexcept { return active_; }
    TWizardPage* ActivePage() const noexcept { return pages_.empty() ? nullptr : pages_[static_cast<size_t>(active_)]; }
    void GoToPage(int index);
    bool Sliding() const noexcept { return slide_.running; }

    TFlatButton& Button(TWizardButtonKind kind) { return buttons_[static_cast<size_t>(kind)]; }
    THyperlink& InfoLink() noexcept { return infoLink_; }
    TWizardHeader& Header() noexcept { return header_; }

    // Acts as a click on the button, if it is visible and enabled.
    void ClickButton(TWizardButtonKind kind);
    // Alt+Left and Alt+Right act as Back and Next. True when the key was used.
    bool HandleNavigationKey(const MSG& message);

    std::function<void(TWizardButtonKind kind, bool& handled)> OnButtonClick;

    void SetDpi(UINT dpi);
    void SetFonts(HFONT buttons, HFONT link);
    // The area the pages occupy, in the wizard's client coordinates.
    RECT PageArea() const;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int Scale(int value96) const noexcept;
    void Layout();
    void UpdateButtons();
    void StepSlide();
    void FinishSlide();

    TWizardHeader header_;
    THyperlink infoLink_;
    std::array<TFlatButton, 5> buttons_;
    std::vector<TWizardPage*> pages_;
    TWizardSettings settings_;
    UINT dpi_ = 96;
    int active_ = 0;

    struct TSlide {
        bool running = false;
        int from = 0;
        int to = 0;
        int direction = 1; // +1: the new page comes in from the right
        std::chrono::steady_clock::time_point start;
    } slide_;
};

} // namespace platform
