#include "InstallerDriver.h"

#include <wincodec.h>
#include <wrl/client.h>

#include <stdexcept>
#include <string>

namespace driver {
namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring WindowText(HWND window)
{
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

HWND FindDescendant(HWND root, const std::function<bool(HWND)>& match)
{
    struct TSearch {
        const std::function<bool(HWND)>* match;
        HWND found;
    } search{&match, nullptr};
    ::EnumChildWindows(
        root,
        [](HWND window, LPARAM state) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(state);
            if ((*s->match)(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TProcess::TProcess(const std::wstring& program, const std::wstring& folder)
{
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\"";
    std::wstring where = folder;
    if (where.empty())
        where = program.substr(0, program.find_last_of(L"\\/"));
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, where.c_str(), &startup, &info))
        throw std::runtime_error("cannot start " + Narrow(program));
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

TProcess::~TProcess()
{
    if (process_) {
        if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_, 1);
            ::WaitForSingleObject(process_, 5000);
        }
        ::CloseHandle(process_);
    }
}

bool TProcess::WaitForExit(milliseconds timeout)
{
    return ::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

std::optional<DWORD> TProcess::ExitCode() const
{
    DWORD code = 0;
    if (!::GetExitCodeProcess(process_, &code) || code == STILL_ACTIVE)
        return std::nullopt;
    return code;
}

bool TInstallerDriver::WaitUntil(const std::function<bool()>& condition, milliseconds timeout, milliseconds poll)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        ::Sleep(static_cast<DWORD>(poll.count()));
    }
}

HWND TInstallerDriver::WaitForMainWindow(milliseconds timeout)
{
    WaitUntil(
        [this] {
            // By class as well as caption: a message box has the same caption.
            for (HWND window = ::FindWindowW(L"TFAtualizar", L"Instalador do Lumivar"); window;
                 window = ::FindWindowExW(nullptr, window, L"TFAtualizar", L"Instalador do Lumivar")) {
                DWORD owner = 0;
                ::GetWindowThreadProcessId(window, &owner);
                if (owner == processId_ && ::IsWindowVisible(window)) {
                    main_ = window;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return main_;
}

HWND TInstallerDriver::Control(int id) const
{
    return main_ ? FindDescendant(main_, [id](HWND window) { return ::GetDlgCtrlID(window) == id; }) : nullptr;
}

std::wstring TInstallerDriver::Text(int id) const
{
    HWND control = Control(id);
    return control ? WindowText(control) : std::wstring();
}

std::wstring TInstallerDriver::HeaderTitle() const
{
    HWND header = main_ ? FindDescendant(main_, [](HWND window) { return ClassOf(window) == L"InstaladorWizardHeader"; }) : nullptr;
    return header ? WindowText(header) : std::wstring();
}

bool TInstallerDriver::IsVisible(int id) const
{
    HWND control = Control(id);
    return control && ::IsWindowVisible(control);
}

bool TInstallerDriver::IsEnabled(int id) const
{
    HWND control = Control(id);
    return control && ::IsWindowEnabled(control);
}

void TInstallerDriver::Click(int id)
{
    HWND control = Control(id);
    if (!control)
        throw std::runtime_error("no control with ID " + std::to_string(id));
    ::PostMessageW(control, BM_CLICK, 0, 0);
}

void TInstallerDriver::RequestClose()
{
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
}

std::optional<TMessageBox> TInstallerDriver::OpenMessageBox() const
{
    struct TSearch {
        DWORD process;
        HWND found;
    } search{processId_, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM state) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(state);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->process && ClassOf(window) == L"#32770" && ::IsWindowVisible(window)) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        return std::nullopt;
    // The message is the box's static text; its ID is 0xFFFF.
    HWND text = ::GetDlgItem(search.found, 0xFFFF);
    return TMessageBox{search.found, WindowText(search.found), text ? WindowText(text) : std::wstring()};
}

void TInstallerDriver::Answer(const TMessageBox& box, int buttonId)
{
    ::PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(box.window, buttonId)));
}

void SaveScreenshot(const std::wstring& path)
{
    using Microsoft::WRL::ComPtr;
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    auto* pixels = static_cast<BYTE*>(bits);
    for (size_t i = 3; i < static_cast<size_t>(width) * static_cast<size_t>(height) * 4; i += 4)
        pixels[i] = 0xFF; // the screen has no alpha; the picture is opaque

    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    bool saved = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
                 SUCCEEDED(factory->CreateStream(&stream)) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                 SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
                 SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
                 SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
                 SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)));
    if (saved) {
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        saved = SUCCEEDED(frame->SetPixelFormat(&format)) && format == GUID_WICPixelFormat32bppBGRA &&
                SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 4,
                                             static_cast<UINT>(width) * 4 * static_cast<UINT>(height), static_cast<BYTE*>(bits))) &&
                SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (!saved)
        throw std::runtime_error("cannot save a screenshot to " + Narrow(path));
}

} // namespace driver
