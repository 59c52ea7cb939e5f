#include "app/Installation.h"
#include "app/UAtualizar.h"

#include "platform/Errors.h"
#include "platform/EventWait.h"
#include "platform/FileSystem.h"
#include "platform/Program.h"
#include "platform/ScopeExit.h"

namespace inst = app::installation;

namespace {

std::wstring InInstallDir(std::wstring_view relative)
{
    return std::wstring(inst::InstallDir) + std::wstring(relative);
}

// Where a package file ends up: renamed, or under its own name.
std::wstring InstalledPathOf(const std::wstring& packageFile)
{
    const std::wstring relative = L"\\" + packageFile;
    for (const inst::TRename& rename : inst::Renames)
        if (relative == rename.Source)
            return InInstallDir(rename.Target);
    return InInstallDir(relative);
}

void CloseComponentInstallerWindow()
{
    HWND window = ::FindWindowW(nullptr, std::wstring(inst::ComponentInstallerTitle).c_str());
    if (!window)
        return;
    // A program that does not answer must not hold up the installation forever.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, 30'000, &ignored);
}

} // namespace

void TFAtualizar::cxButton1Click()
{
    running_ = true;
    platform::ScopeExit finish([this] {
        running_ = false;
        if (closeRequested_)
            Close();
    });
    RunInstallation();
}

void TFAtualizar::ShowStatus(std::wstring_view status)
{
    lblDescStatus.SetText(status);
    Application().ProcessMessages();
    StopIfClosing();
}

void TFAtualizar::AnnounceStatus(std::wstring_view status)
{
    lblDescStatus.SetText(status);
    lblDescStatus.Repaint();
}

void TFAtualizar::StopIfClosing() const
{
    if (closeRequested_ || TForm::Application().Terminated())
        throw platform::TSilentAbort();
}

bool TFAtualizar::InstallationComplete() const
{
    if (!platform::DirectoryExists(inst::InstallDir))
        return false;
    for (int i = 0; i < ListBox.Count(); ++i)
        if (!platform::FileExists(InstalledPathOf(ListBox.Item(i))))
            return false;
    for (std::wstring_view image : inst::ImageFiles)
        if (!platform::FileExists(InInstallDir(inst::ImagesFolder) + L"\\" + std::wstring(image)))
            return false;
    return true;
}

void TFAtualizar::RunInstallation()
{
    cxButton1.SetEnabled(false);

    ShowStatus(inst::status::CreatingFolders);
    platform::ForceDirectories(inst::InstallDir);
    ShowStatus(inst::status::CheckingConnections);

    if (!platform::DirectoryExists(inst::InstallDir)) {
        ShowMessage(inst::messages::CannotCreateInstallDir);
        return;
    }

    ShowStatus(inst::status::Downloading);
    const int count = ListBox.Count();
    ProgressBar2.SetMax(count);
    for (int i = 0; i < count; ++i) {
        const std::wstring name = ListBox.Item(i);
        AnnounceStatus(std::wstring(inst::status::DownloadingFile) + name);
        Application().ProcessMessages();
        StopIfClosing();
        const std::wstring target = InInstallDir(L"\\" + name);
        if (!platform::FileExists(target)) {
            DownloadFile(DownloadBaseUrl + name, target, ProgressBar1);
            StopIfClosing();
        }
        ProgressBar2.SetPosition(i);
        Application().ProcessMessages();
        StopIfClosing();
    }
    Application().ProcessMessages();
    StopIfClosing();

    for (size_t i = 0; i < inst::Renames.size(); ++i) {
        const inst::TRename& rename = inst::Renames[i];
        AnnounceStatus(rename.Status);
        ::MoveFileW(InInstallDir(rename.Source).c_str(), InInstallDir(rename.Target).c_str());
        if (i + 1 < inst::Renames.size()) {
            Application().ProcessMessages();
            StopIfClosing();
        }
    }

    AnnounceStatus(inst::status::InstallingComponent);
    platform::StartProgram(Application(), InInstallDir(inst::ComponentInstaller));
    StopIfClosing();

    for (const inst::TSupportFolder& folder : inst::SupportFolders) {
        AnnounceStatus(folder.Status);
        platform::ForceDirectories(InInstallDir(folder.Folder));
    }
    const std::wstring images = InInstallDir(inst::ImagesFolder);
    if (!platform::DirectoryExists(images)) {
        AnnounceStatus(inst::status::CreatingImagesFolder);
        platform::ForceDirectories(images);
    }

    CloseComponentInstallerWindow();

    bool first = true;
    for (std::wstring_view image : inst::ImageFiles) {
        const std::wstring name(image);
        AnnounceStatus(std::wstring(inst::status::DownloadingImage) + name);
        DownloadFile(DownloadBaseUrl + name, images + L"\\" + name, ProgressBar1);
        StopIfClosing();
        if (!first) {
            platform::PauseProcessingEvents(Application(), std::chrono::milliseconds(500));
            StopIfClosing();
        }
        first = false;
    }

    ProgressBar2.SetPosition(95);
    CreateDesktopShortcut(inst::ProductShortcutTarget, L"", inst::InstallDir, inst::ProductShortcutName);

    const bool complete = InstallationComplete();
    if (complete)
        platform::StartProgram(Application(), InInstallDir(inst::Product));
    StopIfClosing();
    ProgressBar2.SetPosition(100);
    ShowMessage(complete ? inst::messages::Success : inst::messages::NotCompleted);
    Close();
}
