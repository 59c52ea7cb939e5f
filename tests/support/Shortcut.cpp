#include "support/Shortcut.h"

#include "platform/Errors.h"

#include <shobjidl.h>
#include <shlguid.h>
#include <wrl/client.h>

TShortcut ReadShortcut(const std::wstring& path)
{
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    platform::CheckHResult(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)), L"ShellLink");
    Microsoft::WRL::ComPtr<IPersistFile> file;
    platform::CheckHResult(link.As(&file), L"IPersistFile");
    platform::CheckHResult(file->Load(path.c_str(), STGM_READ), L"Load " + path);

    TShortcut shortcut;
    wchar_t text[MAX_PATH * 2] = {};
    link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH);
    shortcut.target = text;
    text[0] = 0;
    link->GetArguments(text, MAX_PATH * 2);
    shortcut.arguments = text;
    text[0] = 0;
    link->GetWorkingDirectory(text, MAX_PATH * 2);
    shortcut.workingDirectory = text;
    return shortcut;
}
