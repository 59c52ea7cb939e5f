#pragma once

#include <chrono>
#include <string_view>

// Fixed when the program is built (see DOWNLOAD_HOST and DOWNLOAD_SCHEME).
namespace app::build {

// scheme + "://" + host + "/download/"
std::wstring_view DownloadBaseUrl();
// The longest a network call may wait without progress.
std::chrono::milliseconds NetworkStallBound();

} // namespace app::build
