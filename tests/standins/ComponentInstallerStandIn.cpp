// Plays the component installer: a window titled with its own path, as a
// console window would be, that records its start and the WM_CLOSE the
// installer sends it.
#include "StandInLog.h"

namespace {

constexpr UINT_PTR LifetimeTimer = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        standin::Record(L"component-installer", L"closed");
        ::DestroyWindow(window);
        return 0;
    case WM_TIMER:
        standin::Record(L"component-installer", L"timeout");
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    standin::Record(L"component-installer", L"started");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"InstaladorComponentInstallerStandIn";
    ::RegisterClassW(&windowClass);

    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, path, WS_OVERLAPPEDWINDOW, 40, 40, 420, 160, nullptr,
                                    nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    ::SetTimer(window, LifetimeTimer, standin::LifetimeMs(120'000), nullptr);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
