#include "download/HttpTransfer.h"

#include <limits>
#include <vector>

namespace download {
namespace {

// Bypass every cache; redirects are followed here, not by WinInet.
constexpr DWORD OpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                               INTERNET_FLAG_NO_AUTO_REDIRECT;

DWORD QueryStatus(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof status;
    DWORD index = 0;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
        return 0;
    return status;
}

std::optional<std::wstring> QueryText(HINTERNET request, DWORD query)
{
    DWORD size = 0;
    DWORD index = 0;
    ::HttpQueryInfoW(request, query, nullptr, &size, &index);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return std::nullopt;
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    index = 0;
    if (!::HttpQueryInfoW(request, query, buffer.data(), &size, &index))
        return std::nullopt;
    return std::wstring(buffer.data());
}

bool IsRedirect(DWORD status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

INTERNET_SCHEME SchemeOf(const std::wstring& url)
{
    URL_COMPONENTSW parts{sizeof parts};
    parts.dwSchemeLength = 1;
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts))
        return INTERNET_SCHEME_UNKNOWN;
    return parts.nScheme;
}

std::optional<std::wstring> RedirectTarget(const std::wstring& from, const std::wstring& location)
{
    DWORD length = 0;
    ::InternetCombineUrlW(from.c_str(), location.c_str(), nullptr, &length, ICU_NO_ENCODE);
    std::vector<wchar_t> combined(length + 2, L'\0');
    length = static_cast<DWORD>(combined.size());
    if (!::InternetCombineUrlW(from.c_str(), location.c_str(), combined.data(), &length, ICU_NO_ENCODE))
        return std::nullopt;
    std::wstring target(combined.data());
    INTERNET_SCHEME scheme = SchemeOf(target);
    bool allowed = scheme == INTERNET_SCHEME_HTTPS || (scheme == INTERNET_SCHEME_HTTP && SchemeOf(from) == INTERNET_SCHEME_HTTP);
    return allowed ? std::optional(target) : std::nullopt;
}

} // namespace

void OpenRequest(TTransferJob& job)
{
    std::wstring url = job.url;
    for (int redirects = 0;; ++redirects) {
        job.request.reset(::InternetOpenUrlW(job.session.get(), url.c_str(), nullptr, 0, OpenUrlFlags, 0));
        if (!job.request) {
            job.openError = ::GetLastError();
            return;
        }
        job.opened = true;
        job.status = QueryStatus(job.request.get());
        if (!IsRedirect(job.status) || job.stop.load())
            return;
        auto location = QueryText(job.request.get(), HTTP_QUERY_LOCATION);
        auto next = location ? RedirectTarget(url, *location) : std::nullopt;
        if (!next)
            return; // the redirect itself is the answer
        if (redirects == TTransferJob::MaxRedirects) {
            job.tooManyRedirects = true;
            return;
        }
        url = *next;
    }
}

void ReadBody(TTransferJob& job)
{
    const std::uint64_t limit = job.expectedLength.value_or(std::numeric_limits<std::uint32_t>::max());
    std::uint64_t received = 0;
    for (;;) {
        DWORD got = 0;
        BOOL ok = ::InternetReadFile(job.request.get(), job.buffer.data(), static_cast<DWORD>(job.buffer.size()), &got);
        job.reads.fetch_add(1, std::memory_order_relaxed);
        if (!ok) {
            job.readFailed = true;
            job.readError = ::GetLastError();
            return;
        }
        std::lock_guard lock(job.fileLock);
        if (job.stop.load(std::memory_order_relaxed)) {
            job.stopped = true;
            return;
        }
        if (got == 0) {
            job.endOfData = true;
            return;
        }
        if (received + got > limit) {
            job.tooLong = true;
            return;
        }
        DWORD written = 0;
        if (!::WriteFile(job.file->Handle(), job.buffer.data(), got, &written, nullptr) || written != got) {
            job.writeFailed = true;
            job.writeError = written != got && ::GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : ::GetLastError();
            return;
        }
        received += got;
        job.received.store(received, std::memory_order_relaxed);
        // The whole body is here. Under Wine a read past its end has been
        // seen to hang now and then instead of saying so.
        if (job.expectedLength && received == *job.expectedLength) {
            job.endOfData = true;
            return;
        }
    }
}

void TTransferJob::Abandon()
{
    std::lock_guard lock(fileLock);
    stop.store(true);
    file.reset();
}

std::optional<std::uint32_t> QueryContentLength(HINTERNET request, bool& present)
{
    DWORD length = 0;
    DWORD size = sizeof length;
    DWORD index = 0;
    if (::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, &index)) {
        present = true;
        return length;
    }
    present = QueryText(request, HTTP_QUERY_CONTENT_LENGTH).has_value();
    return std::nullopt;
}

} // namespace download
