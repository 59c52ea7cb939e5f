#include "support/VendorServer.h"

#include "support/TestEnvironment.h"

#include "platform/InternetHandle.h"
#include "platform/Text.h"

#include <sstream>
#include <stdexcept>

namespace vendor {
namespace {

std::string Get(const std::wstring& path)
{
    platform::UniqueInternet session{::InternetOpenW(L"instalador-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0)};
    const std::wstring url = testing_env::VendorUrl() + path;
    platform::UniqueInternet request{::InternetOpenUrlW(session.get(), url.c_str(), nullptr, 0,
                                                        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)};
    if (!request)
        throw std::runtime_error("vendor server control call failed: " + platform::ToUtf8(url));
    DWORD status = 0, size = sizeof status, index = 0;
    ::HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index);
    std::string body;
    char buffer[8192];
    DWORD got = 0;
    while (::InternetReadFile(request.get(), buffer, sizeof buffer, &got) && got)
        body.append(buffer, got);
    if (status != 200)
        throw std::runtime_error("vendor server control call " + platform::ToUtf8(url) + " answered " + std::to_string(status) + ": " + body);
    return body;
}

std::vector<std::string> SplitTabs(const std::string& line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field == "-" ? "" : field);
    return fields;
}

} // namespace

void Reset()
{
    Get(L"/_control/reset");
}

void SetFault(std::string_view name, const TFault& fault)
{
    std::string query = "/_control/fault?name=" + std::string(name) + "&kind=" + fault.kind + "&times=" + std::to_string(fault.times);
    if (fault.arg)
        query += "&arg=" + std::to_string(*fault.arg);
    if (fault.after)
        query += "&after=" + std::to_string(*fault.after);
    Get(platform::FromUtf8(query));
}

std::vector<TRequest> Log()
{
    std::vector<TRequest> requests;
    std::istringstream lines(Get(L"/_control/log.tsv"));
    for (std::string line; std::getline(lines, line);) {
        auto f = SplitTabs(line);
        if (f.size() < 10)
            continue;
        TRequest r;
        r.seq = std::stoi(f[0]);
        r.method = f[1];
        r.name = f[2];
        r.status = f[3].empty() ? 0 : std::stoi(f[3]);
        r.fault = f[4];
        r.completed = f[5] == "1";
        r.bytesSent = std::stoll(f[6]);
        r.userAgent = f[7];
        r.pragma = f[8];
        r.cacheControl = f[9];
        requests.push_back(r);
    }
    return requests;
}

std::vector<std::string> RequestedNames()
{
    std::vector<std::string> names;
    for (const TRequest& request : Log())
        names.push_back(request.name);
    return names;
}

} // namespace vendor
