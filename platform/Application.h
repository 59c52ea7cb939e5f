#pragma once

#include "platform/ComApartment.h"
#include "platform/MessageSink.h"
#include "platform/WorkerPool.h"

#include <exception>
#include <string>
#include <string_view>

namespace platform {

class TForm;

// The program's application object: COM for the UI thread, the title, the
// message loop, "process pending events", messages to the user and the
// default handler for exceptions that reach the event loop.
class TApplication {
public:
    TApplication();
    explicit TApplication(IMessageSink& messages);
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void SetTitle(std::wstring title) { title_ = std::move(title); }
    const std::wstring& Title() const noexcept { return title_; }

    void SetMainForm(TForm* form) noexcept { mainForm_ = form; }
    TForm* MainForm() const noexcept { return mainForm_; }

    // Runs the event loop until the main form is closed. Returns the exit code.
    int Run();
    // Handles every event that is waiting, then returns. A quit request is kept
    // for the outer loop and ends this call.
    void ProcessMessages();
    // True once a quit request has been seen.
    bool Terminated() const noexcept { return terminated_; }

    // Modal message: application title as caption, no icon, one OK button.
    void ShowMessage(std::wstring_view text);
    void ShowError(std::wstring_view text);
    // The event loop's handler: shows the message of an error, nothing for a silent abort.
    void HandleException(const std::exception_ptr& error) noexcept;

    // True while the loop is inside IsDialogMessage, whose DM_GETDEFID shares
    // its number with WM_USER.
    bool InDialogNavigation() const noexcept { return inDialogNavigation_; }

    // The threads that run blocking calls while this thread handles events.
    TWorkerPool& Workers() noexcept { return workers_; }

private:
    // Returns false when the message was the quit request.
    bool Dispatch(MSG& message);
    HWND MessageOwner() const noexcept;

    TComApartment com_;
    TWorkerPool workers_;
    TMessageBoxSink messageBoxes_;
    IMessageSink& messages_;
    std::wstring title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool inDialogNavigation_ = false;
};

} // namespace platform
