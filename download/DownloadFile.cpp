#include "download/DownloadFile.h"

#include "download/DownloadMessages.h"
#include "download/FormatByteSize.h"
#include "download/HttpTransfer.h"
#include "platform/BackgroundTask.h"
#include "platform/Errors.h"
#include "platform/EventWait.h"
#include "platform/FileSystem.h"
#include "platform/ScopeExit.h"

#include <cmath>
#include <functional>
#include <memory>

namespace download {
namespace {

using Clock = std::chrono::steady_clock;

// An error of one attempt: retried, or the end of the installation run.
struct TAttemptError {
    std::wstring message;
    bool retry = true;
    // Shown before the final message when the run is given up at once.
    bool tellWhenGivingUp = false;
};

// The server could not prove who it is. Another attempt, or another file,
// would meet the same certificate.
bool IsCertificateError(DWORD error)
{
    switch (error) {
    case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
    case ERROR_INTERNET_SEC_CERT_CN_INVALID:
    case ERROR_INTERNET_INVALID_CA:
    case ERROR_INTERNET_SEC_CERT_ERRORS:
    case ERROR_INTERNET_SEC_CERT_NO_REV:
    case ERROR_INTERNET_SEC_CERT_REV_FAILED:
    case ERROR_INTERNET_SEC_CERT_REVOKED:
    case ERROR_INTERNET_SEC_INVALID_CERT:
        return true;
    default:
        return false;
    }
}

enum class TWaitEnd { Finished, Stopped, Stalled };

class TAttempt {
public:
    TAttempt(TDownloadWindow& window, std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar,
             const TDownloadOptions& options)
        : window_(window), url_(url), fileName_(fileName), bar_(bar), options_(options),
          displayName_(platform::FileNameOf(fileName))
    {
    }

    // Returns the download's result, or throws TAttemptError.
    bool Run();

private:
    platform::TApplication& Application() { return window_.Application(); }
    bool StopRequested()
    {
        return window_.TransferState().AbortTransfer || window_.CloseRequested() || Application().Terminated();
    }

    TWaitEnd WaitFor(const platform::TBackgroundTask& task, const std::function<std::uint64_t()>& progress, bool showProgress);
    void ShowProgress(std::uint64_t received);
    void CheckResponse();
    bool ReceiveBody();

    TDownloadWindow& window_;
    std::wstring url_;
    std::wstring fileName_;
    platform::TProgressBar& bar_;
    const TDownloadOptions& options_;
    std::wstring displayName_;
    std::shared_ptr<TTransferJob> job_ = std::make_shared<TTransferJob>();
};

// Waits for a worker step while the window handles its events. The worker is
// let go when the window asks to stop or it makes no progress for the bound.
TWaitEnd TAttempt::WaitFor(const platform::TBackgroundTask& task, const std::function<std::uint64_t()>& progress,
                           bool showProgress)
{
    std::uint64_t lastProgress = progress();
    auto lastProgressTime = Clock::now();
    TWaitEnd end = TWaitEnd::Finished;
    bool finished = platform::WaitProcessingEvents(Application(), task.Done(), options_.DisplayInterval, [&] {
        if (StopRequested()) {
            end = TWaitEnd::Stopped;
            return false;
        }
        if (std::uint64_t now = progress(); now != lastProgress) {
            lastProgress = now;
            lastProgressTime = Clock::now();
        } else if (Clock::now() - lastProgressTime > options_.StallBound) {
            end = TWaitEnd::Stalled;
            return false;
        }
        if (showProgress)
            ShowProgress(job_->received.load(std::memory_order_relaxed));
        return true;
    });
    if (finished)
        return StopRequested() ? TWaitEnd::Stopped : TWaitEnd::Finished;
    if (end == TWaitEnd::Finished)
        end = TWaitEnd::Stopped; // the application is ending
    job_->Abandon();
    return end;
}

void TAttempt::ShowProgress(std::uint64_t received)
{
    const auto shown = static_cast<std::uint32_t>(received);
    if (job_->expectedLength && *job_->expectedLength > 0) {
        const std::uint32_t total = *job_->expectedLength;
        bar_.SetPosition(static_cast<int>(std::nearbyint(static_cast<double>(shown) * 100.0 / total)));
        window_.SizeLine().SetText(L"Tamanho: " + FormatByteSize(shown) + L" de " + FormatByteSize(total));
    } else {
        bar_.SetPosition(0);
        window_.SizeLine().SetText(L"Tamanho: " + FormatByteSize(shown));
    }
}

void TAttempt::CheckResponse()
{
    if (job_->tooManyRedirects)
        throw TAttemptError{messages::TooManyRedirects(displayName_)};
    const DWORD status = job_->status;
    if (status == 200)
        return;
    // A missing or forbidden file stays so however often it is asked for.
    throw TAttemptError{messages::HttpStatus(displayName_, status), !(status >= 400 && status < 500)};
}

// Returns false when the window asked to stop.
bool TAttempt::ReceiveBody()
{
    platform::TBackgroundTask reading(Application().Workers(), [job = job_] { ReadBody(*job); });
    switch (WaitFor(reading, [this] { return job_->reads.load(std::memory_order_relaxed); }, true)) {
    case TWaitEnd::Stopped:
        return false;
    case TWaitEnd::Stalled:
        throw TAttemptError{messages::Stalled(displayName_, options_.StallBound)};
    case TWaitEnd::Finished:
        break;
    }
    reading.Rethrow();

    const std::uint64_t received = job_->received.load();
    ShowProgress(received);
    if (job_->stopped)
        return false;
    if (job_->writeFailed)
        throw TAttemptError{messages::WriteFailed(displayName_, job_->writeError)};
    if (job_->readFailed)
        throw TAttemptError{messages::ConnectionLost(displayName_, job_->readError)};
    if (job_->tooLong)
        throw TAttemptError{messages::TooLong(displayName_)};
    if (job_->expectedLength && received != *job_->expectedLength)
        throw TAttemptError{messages::EndedEarly(displayName_, received, *job_->expectedLength)};
    return true;
}

bool TAttempt::Run()
{
    job_->url = url_;
    job_->session.reset(::InternetOpenW(L"atualizar", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!job_->session) {
        window_.ShowMessage(messages::SessionFailed);
        return false;
    }

    platform::TBackgroundTask opening(Application().Workers(), [job = job_] { OpenRequest(*job); });
    switch (WaitFor(opening, [] { return std::uint64_t{0}; }, false)) {
    case TWaitEnd::Stopped:
        return false;
    case TWaitEnd::Stalled:
        throw TAttemptError{messages::NoAnswer(displayName_, options_.StallBound)};
    case TWaitEnd::Finished:
        break;
    }
    opening.Rethrow();
    if (!job_->opened && IsCertificateError(job_->openError))
        throw TAttemptError{messages::InsecureServer(displayName_, job_->openError), false, true};
    if (!job_->opened) {
        window_.ShowMessage(messages::SessionFailed);
        return false;
    }
    CheckResponse();

    if (fileName_.empty() || platform::DirectoryExists(fileName_)) {
        window_.ShowMessage(messages::CannotCreateLocalFile);
        return false;
    }
    try {
        job_->file.emplace(fileName_);
    } catch (const platform::TWin32Error&) {
        window_.ShowMessage(messages::CannotCreateLocalFile);
        return false;
    }

    bool lengthPresent = false;
    job_->expectedLength = QueryContentLength(job_->request.get(), lengthPresent);
    if (lengthPresent && !job_->expectedLength)
        throw TAttemptError{messages::BadLength(displayName_)};

    window_.FileProgressBar().SetVisible(true);
    window_.SizeLine().SetVisible(true);
    if (!ReceiveBody())
        return false;

    try {
        job_->file->Commit();
    } catch (const platform::TWin32Error&) {
        window_.ShowMessage(messages::CannotCreateLocalFile);
        return false;
    }
    return true;
}

} // namespace

bool DownloadFile(TDownloadWindow& window, std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar,
                  const TDownloadOptions& options)
{
    TTransferState& state = window.TransferState();
    for (int attempt = 0;; ++attempt) {
        if (window.CloseRequested())
            return false;
        TAttemptError failure;
        {
            state.TransferrignData = true;
            state.AbortTransfer = false;
            platform::ScopeExit endOfAttempt([&] {
                state = TTransferState{};
                window.SizeLine().SetVisible(false);
            });
            try {
                return TAttempt(window, url, fileName, bar, options).Run();
            } catch (TAttemptError& error) {
                failure = std::move(error);
            }
        }
        if (!failure.retry || attempt + 1 >= options.Attempts) {
            if (failure.tellWhenGivingUp)
                window.ShowMessage(failure.message);
            window.ShowMessage(messages::GiveUp);
            throw platform::TSilentAbort();
        }
        if (fileName.empty())
            window.ShowMessage(messages::UnnamedFile);
        window.ShowMessage(failure.message);
    }
}

} // namespace download
