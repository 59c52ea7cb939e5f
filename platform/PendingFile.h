#pragma once

#include "platform/UniqueHandle.h"

#include <string>

namespace platform {

// A new file beside its target that only becomes the target when Commit()
// says so. Until then it is marked for deletion, so the system removes it
// when the handle closes for any reason, the process dying included.
class TPendingFile {
public:
    // Throws TWin32Error when the file cannot be created.
    explicit TPendingFile(std::wstring target);

    HANDLE Handle() const noexcept { return file_.get(); }
    const std::wstring& Path() const noexcept { return path_; }

    // Writes the data through, then puts the file in the target's place,
    // replacing what was there. Throws TWin32Error on failure, and the file
    // stays marked for deletion.
    void Commit();

private:
    std::wstring target_;
    std::wstring path_;
    UniqueFile file_;
};

} // namespace platform
