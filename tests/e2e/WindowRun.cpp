#include "e2e/WindowRun.h"

#include "app/ControlIds.h"
#include "app/Installation.h"
#include "platform/FileSystem.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace e2e {

namespace id = app::control_id;
using namespace std::chrono_literals;
using driver::TInstallerDriver;

std::wstring ProgramPath(std::wstring_view fileName)
{
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    // The tests live one folder below the programs.
    return platform::FolderOf(platform::FolderOf(self)) + L"\\" + std::wstring(fileName);
}

std::wstring Artifact(std::wstring_view name)
{
    return testing_env::Environment(L"INSTALADOR_ARTIFACTS") + L"\\" + std::wstring(name);
}

TWindowRun::TWindowRun(std::wstring_view programFileName) : program_(ProgramPath(programFileName)) {}

void TWindowRun::OpenInstallationPage(std::wstring_view picturePrefix)
{
    process_.emplace(program_);
    control_.emplace(process_->Id());
    ASSERT_TRUE(control_->WaitForMainWindow(20s)) << "the installer window did not appear";
    ASSERT_TRUE(TInstallerDriver::WaitUntil([&] { return control_->IsVisible(id::Image1); }, 5s));
    if (!picturePrefix.empty())
        driver::SaveScreenshot(Artifact(std::wstring(picturePrefix) + L"page-welcome.png"));
    control_->Click(id::WizardButtonBase + 1); // Next
    ASSERT_TRUE(TInstallerDriver::WaitUntil([&] { return control_->IsVisible(id::cxButton1); }, 5s));
    if (!picturePrefix.empty()) {
        ::Sleep(400); // let the slide settle for the picture
        driver::SaveScreenshot(Artifact(std::wstring(picturePrefix) + L"page-installation.png"));
    }
}

void TWindowRun::ClickStart()
{
    control_->Click(id::cxButton1);
}

TRunRecord& TWindowRun::Watch(std::chrono::milliseconds timeout, const std::function<bool(const TRunRecord&)>& until,
                              std::optional<std::chrono::milliseconds> quietAfter)
{
    bool tookRunPicture = false;
    auto lastAnswer = std::chrono::steady_clock::time_point{};
    TInstallerDriver::WaitUntil(
        [&] {
            if (Ended())
                return true;
            const std::wstring status = control_->Text(id::lblDescStatus);
            const std::wstring size = control_->Text(id::Label6);
            record_.statusLines.insert(status);
            record_.sizeLines.insert(size);
            if (!runPicturePrefix.empty() && !tookRunPicture && control_->IsVisible(id::Label6) && size.starts_with(L"Tamanho: ")) {
                driver::SaveScreenshot(Artifact(runPicturePrefix + L"run-in-progress.png"));
                tookRunPicture = true;
            }
            if (auto box = control_->OpenMessageBox()) {
                record_.messages.push_back(box->text);
                if (!runPicturePrefix.empty() && box->text == app::installation::messages::Success)
                    driver::SaveScreenshot(Artifact(runPicturePrefix + L"run-finished.png"));
                control_->Answer(*box);
                TInstallerDriver::WaitUntil([&] { return !::IsWindow(box->window); }, 5s);
                lastAnswer = std::chrono::steady_clock::now();
            }
            if (quietAfter && !record_.messages.empty() && std::chrono::steady_clock::now() - lastAnswer > *quietAfter)
                return true;
            return until && until(record_);
        },
        timeout, 10ms);
    return record_;
}

} // namespace e2e
