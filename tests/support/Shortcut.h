#pragma once

#include <string>

// A shell link read back through IShellLinkW.
struct TShortcut {
    std::wstring target, arguments, workingDirectory;
};

TShortcut ReadShortcut(const std::wstring& path);
