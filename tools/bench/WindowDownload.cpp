// DownloadFile inside the real installer window, shown, as the run calls it,
// one file after the other.
//
//   WindowDownload.exe FOLDER URL...   -> prints "bytes seconds peak-working-set-bytes"
#include "app/UAtualizar.h"
#include "platform/Application.h"
#include "platform/EventWait.h"

#include <psapi.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: WindowDownload FOLDER URL...\n");
        return 2;
    }
    platform::TApplication application;
    application.SetTitle(L"Instalador do Lumivar");
    TFAtualizar window(application);
    application.SetMainForm(&window);
    window.Show();
    window.WizardControl.GoToPage(1);
    platform::PauseProcessingEvents(application, std::chrono::milliseconds(400)); // the slide

    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    unsigned long long total = 0;
    for (int i = 2; i < argc; ++i) {
        const std::wstring path = std::wstring(argv[1]) + L"\\window-" + std::to_wstring(i);
        if (!window.DownloadFile(argv[i], path, window.ProgressBar1))
            return 1;
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
        total += (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    ::QueryPerformanceCounter(&end);

    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%llu %.3f %llu\n", total, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    return 0;
}
