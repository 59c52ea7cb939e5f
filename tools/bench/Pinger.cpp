// Measures the installer window from outside.
//
//   Pinger.exe latency SECONDS   WM_NULL through SendMessageTimeout every 50 ms
//                                to the window; prints "count p50 p99 max" in ms
//   Pinger.exe startup EXE RUNS  time from starting EXE to its window being
//                                visible; prints "median min max" in ms
#include <windows.h>

#include <algorithm>
#include <string>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return double(counter.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

HWND FindInstaller(DWORD process = 0)
{
    for (HWND window = ::FindWindowW(L"TFAtualizar", L"Instalador do Lumivar"); window;
         window = ::FindWindowExW(nullptr, window, L"TFAtualizar", L"Instalador do Lumivar")) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        if ((!process || owner == process) && ::IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min(values.size() - 1, static_cast<size_t>(fraction * double(values.size())))];
}

int Latency(double seconds)
{
    HWND window = nullptr;
    for (double until = Now() + 30'000; !window && Now() < until; ::Sleep(10))
        window = FindInstaller();
    if (!window)
        return 1;
    std::vector<double> replies;
    for (double until = Now() + seconds * 1000; Now() < until && ::IsWindow(window);) {
        const double sent = Now();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result);
        replies.push_back(Now() - sent);
        const double next = sent + 50 - Now();
        if (next > 0)
            ::Sleep(static_cast<DWORD>(next));
    }
    std::printf("%zu %.1f %.1f %.1f\n", replies.size(), Percentile(replies, 0.5), Percentile(replies, 0.99),
                replies.empty() ? 0 : *std::max_element(replies.begin(), replies.end()));
    return 0;
}

int Startup(const wchar_t* program, int runs)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        STARTUPINFOW startup{sizeof startup};
        PROCESS_INFORMATION info{};
        std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
        const double started = Now();
        if (!::CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            return 1;
        HWND window = nullptr;
        while (!window && Now() - started < 30'000) {
            window = FindInstaller(info.dwProcessId);
            if (!window)
                ::Sleep(1);
        }
        times.push_back(Now() - started);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(info.hProcess, 10'000);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    std::printf("%.1f %.1f %.1f\n", Percentile(times, 0.5), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && std::wcscmp(argv[1], L"latency") == 0)
        return Latency(std::wcstod(argv[2], nullptr));
    if (argc >= 4 && std::wcscmp(argv[1], L"startup") == 0)
        return Startup(argv[2], static_cast<int>(std::wcstol(argv[3], nullptr, 10)));
    std::fwprintf(stderr, L"usage: Pinger latency SECONDS | Pinger startup EXE RUNS\n");
    return 2;
}
