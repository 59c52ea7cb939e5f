// The floor for the installer's transfer: WinInet read in 4096-byte chunks
// straight into a file, nothing else, one file after the other.
//
//   BareLoop.exe FOLDER URL...   -> prints "bytes seconds"
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

unsigned long long Fetch(HINTERNET session, const wchar_t* url, const std::wstring& path)
{
    HINTERNET request = ::InternetOpenUrlW(session, url, nullptr, 0,
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
    if (!request) {
        std::fwprintf(stderr, L"cannot open %ls\n", url);
        std::exit(1);
    }
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    char buffer[4096];
    DWORD got = 0;
    unsigned long long total = 0;
    while (::InternetReadFile(request, buffer, sizeof buffer, &got) && got) {
        DWORD written = 0;
        ::WriteFile(file, buffer, got, &written, nullptr);
        total += got;
    }
    ::CloseHandle(file);
    ::InternetCloseHandle(request);
    return total;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: BareLoop FOLDER URL...\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    HINTERNET session = ::InternetOpenW(L"atualizar", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    unsigned long long total = 0;
    for (int i = 2; i < argc; ++i)
        total += Fetch(session, argv[i], std::wstring(argv[1]) + L"\\bare-" + std::to_wstring(i));
    ::InternetCloseHandle(session);
    ::QueryPerformanceCounter(&end);
    std::printf("%llu %.3f\n", total, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
