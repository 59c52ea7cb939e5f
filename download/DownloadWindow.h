#pragma once

#include "download/TransferState.h"
#include "platform/Application.h"
#include "platform/Label.h"
#include "platform/ProgressBar.h"

namespace download {

// What a download needs from the window it reports to.
class TDownloadWindow {
public:
    virtual platform::TApplication& Application() = 0;
    virtual TTransferState& TransferState() = 0;
    virtual platform::TLabel& SizeLine() = 0;            // "Tamanho: ..."
    virtual platform::TProgressBar& FileProgressBar() = 0; // shown while a file downloads
    virtual void ShowMessage(std::wstring_view text) = 0;
    // The window is closing: a download stops as for AbortTransfer.
    virtual bool CloseRequested() const = 0;

protected:
    ~TDownloadWindow() = default;
};

} // namespace download
