#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The test run's vendor server, driven through its control API.
namespace vendor {

struct TRequest {
    int seq = 0;
    std::string method, name, fault, userAgent, pragma, cacheControl;
    int status = 0;
    bool completed = false;
    long long bytesSent = 0;
};

struct TFault {
    std::string kind;
    int times = 0; // 0: every request
    std::optional<long long> arg;
    std::optional<long long> after;
};

void Reset();
void SetFault(std::string_view name, const TFault& fault);
std::vector<TRequest> Log();
std::vector<std::string> RequestedNames();

} // namespace vendor
