#pragma once

#include "platform/WindowObject.h"

#include <string>
#include <string_view>

namespace platform {

// A standard control: a real child window whose window text is its caption.
// The object subclasses its window, so it knows when the window goes and can
// take messages of its own (hover, painting).
class TControl : public TWindowObject {
public:
    ~TControl() override;

    bool IsAlive() const noexcept { return Handle() != nullptr; }

    void SetText(std::wstring_view text);
    const std::wstring& Text() const noexcept { return text_; }

    void SetVisible(bool visible);
    bool Visible() const noexcept;
    void SetEnabled(bool enabled);
    bool Enabled() const noexcept;

    // Paints the control now, without waiting for the event loop.
    void Repaint();
    void SetFont(HFONT font);
    HFONT Font() const noexcept { return font_; }
    void SetBounds(const RECT& bounds);

protected:
    TControl() = default;

    void CreateControl(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view text, const RECT& bounds, HWND parent);

public:
    // The control's ID, by which UI automation and our tests find it.
    void SetId(int id);
    int Id() const noexcept;

protected:

    virtual LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void TextChanged() {}
    // The size of the text in the control's font.
    SIZE TextExtent() const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);

    std::wstring text_;
    HFONT font_ = nullptr;
};

} // namespace platform
