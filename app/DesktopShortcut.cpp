#include "app/UAtualizar.h"

#include "platform/Errors.h"
#include "platform/Registry.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::wstring_view ExplorerKey = L"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";

// The user's desktop folder as the registry gives it, else as the shell does;
// empty when neither knows it.
std::wstring DesktopFolder()
{
    platform::TRegistryIniFile explorer(HKEY_CURRENT_USER, ExplorerKey);
    std::wstring folder = explorer.ReadString(L"Shell Folders", L"Desktop", L"");
    if (!folder.empty())
        return folder;
    PWSTR known = nullptr;
    if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &known)))
        folder = known;
    ::CoTaskMemFree(known);
    return folder;
}

} // namespace

void TFAtualizar::CreateDesktopShortcut(std::wstring_view target, std::wstring_view arguments, std::wstring_view workingDir,
                                        std::wstring_view linkName)
{
    ComPtr<IShellLinkW> link;
    platform::CheckHResult(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)),
                           L"Não foi possível criar o atalho (ShellLink)");
    ComPtr<IPersistFile> file;
    platform::CheckHResult(link.As(&file), L"Não foi possível criar o atalho (IPersistFile)");

    link->SetArguments(std::wstring(arguments).c_str());
    link->SetPath(std::wstring(target).c_str());
    link->SetWorkingDirectory(std::wstring(workingDir).c_str());

    const std::wstring desktop = DesktopFolder();
    if (desktop.empty())
        return;
    const std::wstring path = desktop + L"\\" + std::wstring(linkName) + L".lnk";
    file->Save(path.c_str(), FALSE);
}
