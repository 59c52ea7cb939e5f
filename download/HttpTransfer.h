#pragma once

#include "platform/InternetHandle.h"
#include "platform/PendingFile.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace download {

// One HTTP GET into a pending file. The blocking steps (OpenRequest, ReadBody)
// run on worker threads; the job is shared with them, so that a worker the
// window stopped waiting for closes its handles and drops its file when its
// call finally returns. Fields other than the atomics are read by the window's
// thread only after the worker has finished.
struct TTransferJob {
    static constexpr int MaxRedirects = 10;

    platform::UniqueInternet session;
    platform::UniqueInternet request;
    std::wstring url;

    // Set by OpenRequest.
    bool opened = false;
    DWORD openError = 0;
    DWORD status = 0;
    bool tooManyRedirects = false;

    // Set by the window's thread before ReadBody.
    std::optional<platform::TPendingFile> file;
    std::optional<std::uint32_t> expectedLength;

    // Progress, published by ReadBody while it runs.
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> reads{0};
    // The window asked to stop, or gave up waiting.
    std::atomic<bool> stop{false};
    // Held while the worker writes, so that Abandon() can close the file
    // under it.
    std::mutex fileLock;

    // How ReadBody ended.
    bool endOfData = false; // a successful read of 0 bytes, or all of expectedLength
    bool stopped = false;
    bool readFailed = false;
    DWORD readError = 0;
    bool writeFailed = false;
    DWORD writeError = 0;
    bool tooLong = false; // more bytes than expectedLength, or than 32 bits count

    std::array<char, 4096> buffer{};

    // Called by the window's thread when it stops waiting: the worker does no
    // further work, and the pending file goes at once, not when a blocked
    // call returns.
    void Abandon();
};

// Opens job.url on job.session, following redirects (at most MaxRedirects,
// never from https to http) so that a redirect loop cannot go on forever.
void OpenRequest(TTransferJob& job);

// Reads the body in 4096-byte chunks into job.file until the data ends (a
// read of 0 bytes, or the whole Content-Length), a read fails, the body
// outgrows its length, or job.stop is set. A stop seen after a read drops
// that read's bytes.
void ReadBody(TTransferJob& job);

// Content-Length as the 4-byte query gives it. `present` tells whether the
// header was there at all (it is, and the query fails, beyond 32 bits).
std::optional<std::uint32_t> QueryContentLength(HINTERNET request, bool& present);

} // namespace download
