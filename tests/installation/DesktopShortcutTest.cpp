#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "support/Shortcut.h"
#include "support/TestEnvironment.h"
#include "support/WindowTest.h"

#include <shlobj.h>

#include <optional>
#include <vector>

namespace {

constexpr const wchar_t* ShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
// Where the shell looks first; it copies what it finds to "Shell Folders".
constexpr const wchar_t* UserShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Puts a "Desktop" value back as it was when the test ends.
class TDesktopValueGuard {
public:
    explicit TDesktopValueGuard(const wchar_t* key) : key_(key)
    {
        DWORD size = 0;
        if (::RegGetValueW(HKEY_CURRENT_USER, key_, L"Desktop", RRF_RT_ANY | RRF_NOEXPAND, &type_, nullptr, &size) == ERROR_SUCCESS) {
            data_.emplace(size);
            ::RegGetValueW(HKEY_CURRENT_USER, key_, L"Desktop", RRF_RT_ANY | RRF_NOEXPAND, &type_, data_->data(), &size);
        }
    }
    ~TDesktopValueGuard()
    {
        if (data_)
            ::RegSetKeyValueW(HKEY_CURRENT_USER, key_, L"Desktop", type_, data_->data(), static_cast<DWORD>(data_->size()));
        else
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, key_, L"Desktop");
    }

private:
    const wchar_t* key_;
    DWORD type_ = 0;
    std::optional<std::vector<BYTE>> data_;
};

void SetDesktopValues(const std::wstring& folder)
{
    for (const wchar_t* key : {UserShellFolders, ShellFolders})
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Desktop", REG_SZ, folder.c_str(),
                                    static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
}

std::wstring ShellDesktop()
{
    PWSTR folder = nullptr;
    ::SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &folder);
    std::wstring path = folder ? folder : L"";
    ::CoTaskMemFree(folder);
    return path;
}

class DesktopShortcutTest : public WindowTest {
protected:
    TDesktopValueGuard userShellFolder{UserShellFolders};
    TDesktopValueGuard shellFolder{ShellFolders};
    testing_env::TScratchFolder desktop;
};

TEST_F(DesktopShortcutTest, WritesTheLinkToTheRegisteredDesktopAndReplacesAnOldOne)
{
    SetDesktopValues(desktop.Path());

    window->CreateDesktopShortcut(L"C:\\Programa\\Antigo.exe", L"/antigo", L"C:\\Programa", L"Teste");
    window->CreateDesktopShortcut(L"C:\\Brenvalt\\Lumivar\\Lumivar.exe", L"", L"C:\\Brenvalt\\Lumivar", L"Teste");

    TShortcut link = ReadShortcut(desktop / L"Teste.lnk");
    EXPECT_EQ(link.target, L"C:\\Brenvalt\\Lumivar\\Lumivar.exe");
    EXPECT_EQ(link.arguments, L"");
    EXPECT_EQ(link.workingDirectory, L"C:\\Brenvalt\\Lumivar");
    EXPECT_EQ(testing_env::ListFolder(desktop.Path()), std::vector<std::wstring>{L"Teste.lnk"});
}

TEST_F(DesktopShortcutTest, StoresArguments)
{
    SetDesktopValues(desktop.Path());
    window->CreateDesktopShortcut(L"C:\\Brenvalt\\Lumivar\\Lumivar.exe", L"/config \"a b\"", L"C:\\Brenvalt\\Lumivar", L"Teste");
    EXPECT_EQ(ReadShortcut(desktop / L"Teste.lnk").arguments, L"/config \"a b\"");
}

// Under Wine the shell writes "Shell Folders" back while the link is set up,
// so this shows where the link lands rather than which way it got there.
TEST_F(DesktopShortcutTest, WithoutARegisteredDesktopAsksTheShellNotTheDriveRoot)
{
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, ShellFolders, L"Desktop");
    const std::wstring expected = ShellDesktop() + L"\\TesteSemRegistro.lnk";
    ::DeleteFileW(expected.c_str());

    window->CreateDesktopShortcut(L"C:\\Brenvalt\\Lumivar\\Lumivar.exe", L"", L"C:\\Brenvalt\\Lumivar", L"TesteSemRegistro");

    EXPECT_TRUE(platform::FileExists(expected)) << platform::ToUtf8(expected);
    EXPECT_FALSE(platform::FileExists(L"C:\\TesteSemRegistro.lnk"));
    EXPECT_FALSE(platform::FileExists(L"\\TesteSemRegistro.lnk"));
    ::DeleteFileW(expected.c_str());
}

TEST_F(DesktopShortcutTest, ADesktopValueThatIsNotTextIsAnError)
{
    DWORD number = 7;
    SetDesktopValues(desktop.Path());
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, ShellFolders, L"Desktop", REG_DWORD, &number, sizeof number), ERROR_SUCCESS);
    try {
        window->CreateDesktopShortcut(L"C:\\Brenvalt\\Lumivar\\Lumivar.exe", L"", L"C:\\Brenvalt\\Lumivar", L"Teste");
        FAIL() << "no error";
    } catch (const platform::TException& error) {
        EXPECT_EQ(error.Message(), L"Tipo de dado inválido para 'Desktop'");
    }
}

} // namespace
