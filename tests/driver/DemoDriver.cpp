// Clicks through a whole installation as a person would, keeping pictures of
// both pages, of the run and of its final message.
//
//   InstaladorDemoDriver.exe INSTALLER SCREENSHOT-FOLDER [TIMEOUT-SECONDS]
//
// Prints every message the installer showed; exits with 0 when the run ended
// with its success message, 1 otherwise.
#include "InstallerDriver.h"

#include "app/ControlIds.h"

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

namespace id = app::control_id;
using namespace std::chrono_literals;

constexpr std::wstring_view Success = L"Instalação realizada com sucesso!";

void Say(const std::wstring& line)
{
    std::fwprintf(stdout, L"%ls\n", line.c_str());
    std::fflush(stdout);
}

int Run(const std::wstring& installer, const std::wstring& pictures, std::chrono::seconds timeout)
{
    driver::TProcess process(installer);
    driver::TInstallerDriver control(process.Id());
    if (!control.WaitForMainWindow(30s)) {
        Say(L"demo: the installer window did not appear");
        return 1;
    }
    driver::TInstallerDriver::WaitUntil([&] { return control.IsVisible(id::Image1); }, 5s);
    ::Sleep(300);
    driver::SaveScreenshot(pictures + L"\\1-welcome.png");

    control.Click(id::WizardButtonBase + 1); // Next
    if (!driver::TInstallerDriver::WaitUntil([&] { return control.IsVisible(id::cxButton1); }, 10s)) {
        Say(L"demo: the installation page did not appear");
        return 1;
    }
    ::Sleep(400);
    driver::SaveScreenshot(pictures + L"\\2-installation.png");
    control.Click(id::cxButton1);
    Say(L"demo: started the installation");

    bool sawSuccess = false;
    bool tookRunPicture = false;
    std::wstring lastStatus;
    driver::TInstallerDriver::WaitUntil(
        [&] {
            if (process.WaitForExit(0ms))
                return true;
            const std::wstring status = control.Text(id::lblDescStatus);
            if (status != lastStatus && !status.empty()) {
                Say(L"status: " + status);
                lastStatus = status;
            }
            // A picture halfway through a file large enough to show progress.
            const std::wstring size = control.Text(id::Label6);
            // "Tamanho: X MB de Y MB", with X not yet Y
            const size_t of = size.find(L" MB de ");
            bool halfway = false;
            if (of != std::wstring::npos && size.starts_with(L"Tamanho: ")) {
                const std::wstring received = size.substr(9, of - 9);
                const std::wstring total = size.substr(of + 7, size.find(L' ', of + 7) - (of + 7));
                halfway = received != total;
            }
            if (!tookRunPicture && control.IsVisible(id::Label6) && halfway) {
                driver::SaveScreenshot(pictures + L"\\3-run.png");
                tookRunPicture = true;
            }
            if (auto box = control.OpenMessageBox()) {
                Say(L"message: " + box->text);
                if (box->text == Success) {
                    sawSuccess = true;
                    ::Sleep(200);
                    driver::SaveScreenshot(pictures + L"\\4-finished.png");
                }
                control.Answer(*box);
                driver::TInstallerDriver::WaitUntil([&] { return !::IsWindow(box->window); }, 5s);
            }
            return false;
        },
        timeout, 10ms);

    if (!process.WaitForExit(10s)) {
        Say(L"demo: the installer did not reach its end in time");
        return 1;
    }
    if (!tookRunPicture)
        Say(L"demo: no picture of the run was taken (no file showed its progress long enough)");
    return sawSuccess ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: InstaladorDemoDriver INSTALLER SCREENSHOT-FOLDER [TIMEOUT-SECONDS]\n");
        return 2;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const auto timeout = std::chrono::seconds(argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 300);
    try {
        return Run(argv[1], argv[2], timeout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demo: %s\n", error.what());
        return 1;
    }
}
