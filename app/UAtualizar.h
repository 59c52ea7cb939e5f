#pragma once

#include "download/DownloadFile.h"
#include "download/DownloadWindow.h"
#include "platform/Button.h"
#include "platform/Form.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/ProgressBar.h"

#include <string>
#include <string_view>

// The installer window: its controls, its state and its handlers, the
// installation run and the desktop shortcut.
class TFAtualizar : public platform::TForm, public download::TDownloadWindow, public download::TTransferState {
public:
    explicit TFAtualizar(platform::TApplication& application);

    // Installation page
    platform::TLabel Label1;
    platform::TLabel lblDescStatus; // status line
    platform::TLabel Label6;        // size line
    platform::TProgressBar ProgressBar1; // the file being fetched, 0 to 100
    platform::TProgressBar ProgressBar2; // the whole run
    platform::TButton cxButton1;
    platform::TListBox ListBox; // hidden; its items are the package files

    // Where the files come from and how long a network call may wait; fixed
    // by the build, changed only by tests.
    std::wstring DownloadBaseUrl;
    download::TDownloadOptions DownloadOptions;

    void FormCreate();
    void cxButton1Click();
    void RunInstallation();
    bool DownloadFile(std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar);
    void CreateDesktopShortcut(std::wstring_view target, std::wstring_view arguments, std::wstring_view workingDir,
                               std::wstring_view linkName);

    // TDownloadWindow
    platform::TApplication& Application() override { return TForm::Application(); }
    download::TTransferState& TransferState() override { return *this; }
    platform::TLabel& SizeLine() override { return Label6; }
    platform::TProgressBar& FileProgressBar() override { return ProgressBar1; }

    bool Running() const noexcept { return running_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CloseQuery() override;

private:
    void CreateControls();
    void ShowStatus(std::wstring_view status);
    void AnnounceStatus(std::wstring_view status);
    bool InstallationComplete() const;
    void StopIfClosing() const;

    platform::UniqueFont formFont_;
    platform::UniqueFont statusFont_;
    bool running_ = false;
    bool closeRequested_ = false;
};
