#include "platform/Application.h"

#include "platform/Errors.h"
#include "platform/Form.h"

#include <commctrl.h>

namespace platform {

TApplication::TApplication() : TApplication(messageBoxes_) {}

TApplication::TApplication(IMessageSink& messages) : messages_(messages)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LINK_CLASS};
    ::InitCommonControlsEx(&controls);
}

bool TApplication::Dispatch(MSG& message)
{
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return false;
    }
    if (mainForm_ && mainForm_->IsAlive()) {
        if (mainForm_->PreTranslateMessage(message))
            return true;
        inDialogNavigation_ = true;
        bool navigated = ::IsDialogMessageW(mainForm_->Handle(), &message);
        inDialogNavigation_ = false;
        if (navigated)
            return true;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
    return true;
}

int TApplication::Run()
{
    MSG message;
    while (!terminated_) {
        BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            break;
        if (!got || !Dispatch(message)) {
            terminated_ = true;
            return static_cast<int>(message.wParam);
        }
    }
    return 0;
}

void TApplication::ProcessMessages()
{
    MSG message;
    while (!terminated_ && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!Dispatch(message)) {
            // Leave the request in the queue for the loop that owns it.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
    }
}

HWND TApplication::MessageOwner() const noexcept
{
    if (!mainForm_ || !mainForm_->IsAlive())
        return nullptr;
    HWND popup = ::GetLastActivePopup(mainForm_->Handle());
    return popup ? popup : mainForm_->Handle();
}

void TApplication::ShowMessage(std::wstring_view text)
{
    messages_.Show(MessageOwner(), title_, text, TMessageIcon::None);
}

void TApplication::ShowError(std::wstring_view text)
{
    messages_.Show(MessageOwner(), title_, text, TMessageIcon::Error);
}

void TApplication::HandleException(const std::exception_ptr& error) noexcept
{
    try {
        std::wstring text = UserMessageOf(error);
        if (!text.empty())
            ShowError(text);
    } catch (...) {
        // Nothing sensible is left to tell the user.
    }
}

} // namespace platform
