#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Drives a running Instalador.exe from outside, as a person or UI automation
// would: it finds the window by class and caption, reads its controls by ID,
// clicks by posting (the run happens inside a click), and answers message
// boxes by button ID.
namespace driver {

using std::chrono::milliseconds;

class TProcess {
public:
    // Starts `program` in `folder` (its own folder when empty).
    explicit TProcess(const std::wstring& program, const std::wstring& folder = {});
    ~TProcess(); // ends the process if it still runs
    TProcess(const TProcess&) = delete;
    TProcess& operator=(const TProcess&) = delete;

    DWORD Id() const noexcept { return id_; }
    HANDLE Handle() const noexcept { return process_; }
    bool WaitForExit(milliseconds timeout);
    std::optional<DWORD> ExitCode() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

struct TMessageBox {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
};

class TInstallerDriver {
public:
    explicit TInstallerDriver(DWORD processId) : processId_(processId) {}

    // The installer window (class TFAtualizar, caption "Instalador do Lumivar")
    // of the process, once it is visible.
    HWND WaitForMainWindow(milliseconds timeout);
    HWND MainWindow() const noexcept { return main_; }

    HWND Control(int id) const;
    std::wstring Text(int id) const;
    std::wstring HeaderTitle() const;
    bool IsVisible(int id) const;
    bool IsEnabled(int id) const;
    // Posts a click, so that the driver goes on while the click's work runs.
    void Click(int id);
    void RequestClose();

    // A message box of the installer, if one is open.
    std::optional<TMessageBox> OpenMessageBox() const;
    void Answer(const TMessageBox& box, int buttonId = IDOK);

    // Polls `condition` until it holds or the time is up.
    static bool WaitUntil(const std::function<bool()>& condition, milliseconds timeout, milliseconds poll = milliseconds(20));

private:
    DWORD processId_;
    HWND main_ = nullptr;
};

// Saves what the screen (Wine's virtual desktop) shows as a PNG.
void SaveScreenshot(const std::wstring& path);

} // namespace driver
