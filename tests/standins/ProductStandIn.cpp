// Plays the installed product: records its start, command line and working
// folder, and shows a small window so that a person sees it was started.
#include "StandInLog.h"

namespace {

constexpr UINT_PTR LifetimeTimer = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT area;
        ::GetClientRect(window, &area);
        ::SetBkMode(dc, TRANSPARENT);
        HGDIOBJ previous = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::DrawTextW(dc, L"Lumivar foi iniciado pelo instalador.\n(programa de demonstração)", -1, &area,
                    DT_CENTER | DT_VCENTER | DT_WORDBREAK);
        ::SelectObject(dc, previous);
        ::EndPaint(window, &paint);
        return 0;
    }
    case WM_TIMER:
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
    standin::Record(L"product", L"started");

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"InstaladorProductStandIn";
    ::RegisterClassW(&windowClass);

    HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"Lumivar", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 360, 140, nullptr, nullptr, instance, nullptr);
    ::ShowWindow(window, show);
    if (UINT lifetime = standin::LifetimeMs(0))
        ::SetTimer(window, LifetimeTimer, lifetime, nullptr);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
