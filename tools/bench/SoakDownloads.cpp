// Downloads every file a server holds, over and over, through DownloadFile
// in one installer window, as a run does, and reports every download that
// was retried or slow. A soak test for rare faults of the platform (this is
// how a thread that never started under Wine was found).
//
//   SoakDownloads.exe BASE-URL FOLDER ROUNDS
//     BASE-URL  e.g. http://127.0.0.1:18080/download/
//     FOLDER    the server's payload folder, for the names (Z:\...)
#include "app/UAtualizar.h"
#include "platform/Application.h"

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Messages are what a stuck download ends in; print them instead of waiting for a person.
class TPrintedMessages : public platform::IMessageSink {
public:
    void Show(HWND, std::wstring_view, std::wstring_view text, platform::TMessageIcon) override
    {
        std::fwprintf(stdout, L"message: %ls\n", std::wstring(text).c_str());
        ++count;
    }
    int count = 0;
};

std::vector<std::wstring> FilesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4) {
        std::fwprintf(stderr, L"usage: SoakDownloads BASE-URL FOLDER ROUNDS\n");
        return 2;
    }
    TPrintedMessages messages;
    platform::TApplication application(messages);
    application.SetTitle(L"Instalador do Lumivar");
    TFAtualizar window(application);
    application.SetMainForm(&window);
    window.DownloadOptions.StallBound = std::chrono::seconds(2);

    const std::vector<std::wstring> names = FilesIn(argv[2]);
    const int rounds = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
    ::CreateDirectoryW(L"C:\\soak", nullptr);
    int downloads = 0, slow = 0;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    for (int round = 0; round < rounds; ++round) {
        for (const std::wstring& name : names) {
            LARGE_INTEGER start, end;
            ::QueryPerformanceCounter(&start);
            window.DownloadFile(std::wstring(argv[1]) + name, L"C:\\soak\\" + name, window.ProgressBar1);
            ::QueryPerformanceCounter(&end);
            ++downloads;
            const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
            if (seconds > 1.5) {
                std::fwprintf(stdout, L"slow: #%d %ls %.1f s\n", downloads, name.c_str(), seconds);
                ++slow;
            }
        }
    }
    std::printf("%d downloads, %d slow, %d messages\n", downloads, slow, messages.count);
    return slow || messages.count ? 1 : 0;
}
