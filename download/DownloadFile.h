#pragma once

#include "download/DownloadWindow.h"

#include <chrono>
#include <string_view>

namespace download {

struct TDownloadOptions {
    // No network call may wait longer than this without progress.
    std::chrono::milliseconds StallBound{60'000};
    int Attempts = 11;
    // How often the window's bar and size line follow the transfer.
    std::chrono::milliseconds DisplayInterval{30};
};

// Fetches `url` into `fileName`, showing progress on `bar` and the window's
// size line. The file appears only complete: the transfer goes to a pending
// file beside it that replaces it at the end. Returns true when the file was
// fetched, false when the session, the request or the local file could not be
// opened, or when the window asked the download to stop. Errors of a transfer
// are retried; after the last attempt, or at once for a 4xx status, it tells
// the user and throws TSilentAbort, which abandons the installation run.
bool DownloadFile(TDownloadWindow& window, std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar,
                  const TDownloadOptions& options = {});

} // namespace download
