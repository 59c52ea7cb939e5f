#pragma once

#include "platform/UniqueHandle.h"

#include <string>
#include <string_view>

namespace platform {

// A registry key read like an INI file: its subkeys are sections and their
// values are entries. Names are compared without regard to case, as the
// registry does.
class TRegistryIniFile {
public:
    // Opens `path` under `root` with full access, creating it when it is missing.
    TRegistryIniFile(HKEY root, std::wstring_view path);

    // A missing section or entry gives `fallback`; an entry that is not text
    // throws TException. Reading never creates the section.
    std::wstring ReadString(std::wstring_view section, std::wstring_view entry, std::wstring_view fallback) const;

private:
    UniqueRegistryKey key_;
};

} // namespace platform
