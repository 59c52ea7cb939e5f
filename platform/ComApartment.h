#pragma once

#include <objbase.h>

namespace platform {

// Initialises COM for the calling thread in a single-threaded apartment and
// uninitialises it only if this object's call succeeded.
class TComApartment {
public:
    TComApartment() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~TComApartment()
    {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    TComApartment(const TComApartment&) = delete;
    TComApartment& operator=(const TComApartment&) = delete;

    HRESULT Result() const noexcept { return result_; }

private:
    HRESULT result_;
};

} // namespace platform
