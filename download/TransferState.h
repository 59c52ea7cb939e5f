#pragma once

namespace download {

// Shared between a running download and the window's Cancel handling.
struct TTransferState {
    bool TransferrignData = false; // a download attempt is running
    bool AbortTransfer = false;    // the running download is to stop
};

} // namespace download
