#pragma once

#include "driver/InstallerDriver.h"

#include <chrono>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

// One run of the real program, driven through its window as a person does.
namespace e2e {

// A build of the program that sits next to the tests' folder.
std::wstring ProgramPath(std::wstring_view fileName);
// Where tests keep pictures for people to look at.
std::wstring Artifact(std::wstring_view name);

// What the window showed while the run went on.
struct TRunRecord {
    std::vector<std::wstring> messages;
    std::set<std::wstring> statusLines;
    std::set<std::wstring> sizeLines;
};

class TWindowRun {
public:
    explicit TWindowRun(std::wstring_view programFileName = L"Instalador.exe");

    // Starts the program and moves to the installation page; with a picture
    // prefix, keeps a screenshot of each page.
    void OpenInstallationPage(std::wstring_view picturePrefix = {});
    void ClickStart();

    // Watches until the program ends, `until` holds or the time is up,
    // answering every message box with OK. `quietAfter`: also stop once a
    // message was answered and nothing more happened for that long.
    TRunRecord& Watch(std::chrono::milliseconds timeout, const std::function<bool(const TRunRecord&)>& until = nullptr,
                      std::optional<std::chrono::milliseconds> quietAfter = std::nullopt);

    const TRunRecord& Record() const noexcept { return record_; }
    driver::TProcess& Process() { return *process_; }
    driver::TInstallerDriver& Control() { return *control_; }
    bool Ended() { return process_->WaitForExit(std::chrono::milliseconds(0)); }

    // Pictures during the run (a file in progress, the success message).
    std::wstring runPicturePrefix;

private:
    std::wstring program_;
    std::optional<driver::TProcess> process_;
    std::optional<driver::TInstallerDriver> control_;
    TRunRecord record_;
};

} // namespace e2e
