#include "support/WindowTest.h"

#include "support/TestEnvironment.h"

void TRecordingMessages::Show(HWND, std::wstring_view caption, std::wstring_view text, platform::TMessageIcon icon)
{
    shown.push_back({std::wstring(caption), std::wstring(text), icon});
    if (onShow)
        onShow(shown.back());
}

std::vector<std::wstring> TRecordingMessages::Texts() const
{
    std::vector<std::wstring> texts;
    for (const TShown& message : shown)
        texts.push_back(message.text);
    return texts;
}

WindowTest::WindowTest()
{
    application.SetTitle(L"Instalador do Lumivar");
    window = std::make_unique<TFAtualizar>(application);
    application.SetMainForm(window.get());
    window->DownloadBaseUrl = testing_env::VendorUrl() + L"/download/";
    window->DownloadOptions.StallBound = std::chrono::seconds(2);
}
