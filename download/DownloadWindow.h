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

protected:
    ~TDownloadWindow() = default;
};

} // namespace download
