#include "platform/PendingFile.h"

#include "platform/Errors.h"

#include <cwchar>
#include <cstring>
#include <vector>

namespace platform {
namespace {

bool MarkForDeletion(HANDLE file, bool deleteOnClose)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(deleteOnClose)};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// Process and clock make the name unique enough; CREATE_NEW catches the rest.
std::wstring UniqueSuffix()
{
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    wchar_t suffix[48];
    swprintf(suffix, 48, L".%lx-%llx.part", ::GetCurrentProcessId(), static_cast<unsigned long long>(now.QuadPart) & 0xFFFFFFFFFFull);
    return suffix;
}

} // namespace

TPendingFile::TPendingFile(std::wstring target) : target_(std::move(target))
{
    for (int tries = 0; tries < 16; ++tries) {
        path_ = target_ + UniqueSuffix();
        file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_)
            break;
        if (::GetLastError() != ERROR_FILE_EXISTS)
            ThrowLastError(L"CreateFile " + path_);
    }
    if (!file_)
        ThrowLastError(L"CreateFile " + path_);
    if (!MarkForDeletion(file_.get(), true)) {
        DWORD error = ::GetLastError();
        file_.reset();
        ::DeleteFileW(path_.c_str());
        ThrowWin32Error(L"SetFileInformationByHandle " + path_, error);
    }
}

void TPendingFile::Commit()
{
    if (!::FlushFileBuffers(file_.get()))
        ThrowLastError(L"FlushFileBuffers " + path_);
    if (!MarkForDeletion(file_.get(), false))
        ThrowLastError(L"SetFileInformationByHandle " + path_);

    const size_t nameBytes = target_.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(rename->FileName, target_.data(), nameBytes);
    if (!::SetFileInformationByHandle(file_.get(), FileRenameInfo, rename, static_cast<DWORD>(buffer.size()))) {
        DWORD error = ::GetLastError();
        MarkForDeletion(file_.get(), true);
        ThrowWin32Error(L"MoveFile " + target_, error);
    }
    file_.reset();
}

} // namespace platform
