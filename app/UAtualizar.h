#pragma once

#include "download/DownloadFile.h"
#include "download/DownloadWindow.h"
#include "platform/Bevel.h"
#include "platform/FlatButton.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/ListBox.h"
#include "platform/Picture.h"
#include "platform/ProgressBar.h"
#include "platform/ShadowLabel.h"
#include "platform/Wizard.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The installer window: a two-page wizard, its state and its handlers, the
// installation run and the desktop shortcut.
class TFAtualizar : public platform::TForm, public download::TDownloadWindow, public download::TTransferState {
public:
    explicit TFAtualizar(platform::TApplication& application);

    platform::TWizard WizardControl;
    platform::TWizardPage ControlPage0; // welcome
    platform::TWizardPage ControlPage2; // installation

    // Welcome page
    platform::TPicture Image1; // the product's logo
    platform::TLabel Label2;
    platform::TLabel Label3;
    platform::TBevel Bevel1;
    std::array<platform::TPicture, 5> FeatureImages;     // Image2 to Image6
    std::array<platform::TShadowLabel, 5> FeatureLabels; // cxLabel1 to cxLabel5

    // Installation page
    platform::TLabel Label1;
    platform::TLabel lblDescStatus; // status line
    platform::TLabel Label6;        // size line
    platform::TProgressBar ProgressBar1; // the file being fetched, 0 to 100
    platform::TProgressBar ProgressBar2; // the whole run
    platform::TListBox ListBox;          // hidden; its items are the package files
    platform::TFlatButton cxButton1;

    // Where the files come from and how long a network call may wait; fixed
    // by the build, changed only by tests.
    std::wstring DownloadBaseUrl;
    download::TDownloadOptions DownloadOptions;

    void FormCreate();
    void WMUser();
    void WizardControlButtonClick(platform::TWizard& sender, platform::TWizardButtonKind kind, bool& handled);
    void CancelTransferAndClose();
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
    // Once the window was asked to close during the run, nothing more is shown.
    void ShowMessage(std::wstring_view text) override;
    bool CloseRequested() const override { return closeRequested_; }

    bool Running() const noexcept { return running_; }
    bool PreTranslateMessage(MSG& message) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CloseQuery() override;

private:
    enum TFontRole { FormFont, StatusFont, WelcomeTitle, InstallationTitle, WelcomeFont, VersionFont, FeatureFont, LinkFont, FontCount };

    void CreateControls();
    void CreateFonts();
    void ApplyLayout();
    void DpiChanged(UINT dpi, const RECT& suggested);
    void ShowStatus(std::wstring_view status);
    void AnnounceStatus(std::wstring_view status);
    bool InstallationComplete() const;
    void StopIfClosing() const;
    void CloseOpenMessages();

    platform::TImage logo_;
    std::array<platform::TImage, 5> featureIcons_;
    platform::TImage headerBackground_;
    platform::UniqueIcon icon_;
    platform::UniqueIcon smallIcon_;
    std::array<platform::UniqueFont, FontCount> fonts_;
    std::vector<std::pair<platform::TControl*, TFontRole>> fontOf_;
    bool running_ = false;
    bool closeRequested_ = false;
};
