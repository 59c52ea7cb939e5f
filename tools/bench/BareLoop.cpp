// The floor for the installer's transfer: WinInet read in 4096-byte chunks
// straight into a file, nothing else.
//
//   BareLoop.exe URL FILE   -> prints "bytes seconds"
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: BareLoop URL FILE\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    HINTERNET session = ::InternetOpenW(L"atualizar", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET request = ::InternetOpenUrlW(session, argv[1], nullptr, 0,
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE, 0);
    if (!request) {
        std::fwprintf(stderr, L"cannot open %ls\n", argv[1]);
        return 1;
    }
    HANDLE file = ::CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    ::InternetCloseHandle(session);
    ::QueryPerformanceCounter(&end);
    std::printf("%llu %.3f\n", total, double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    return 0;
}
