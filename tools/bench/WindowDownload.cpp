// DownloadFile inside the real installer window, shown, as the run calls it.
//
//   WindowDownload.exe URL FILE   -> prints "bytes seconds peak-working-set-bytes"
#include "app/UAtualizar.h"
#include "platform/Application.h"

#include <psapi.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: WindowDownload URL FILE\n");
        return 2;
    }
    platform::TApplication application;
    application.SetTitle(L"Instalador do Lumivar");
    TFAtualizar window(application);
    application.SetMainForm(&window);
    window.Show();
    window.WizardControl.GoToPage(1);
    application.ProcessMessages();

    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    bool ok = window.DownloadFile(argv[1], argv[2], window.ProgressBar1);
    ::QueryPerformanceCounter(&end);

    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(argv[2], GetFileExInfoStandard, &data);
    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    std::printf("%llu %.3f %llu\n", (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    return ok ? 0 : 1;
}
