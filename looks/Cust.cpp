#include "looks/Cust.h"

#include "kernel/startup/StartupServices.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

void ReadCust()
{
    if (cust) platform::DisposeHandle(cust);
    cust = nullptr;
    platform::Handle h = platform::GetResource(platform::FourCC("CUST"), 0);
    if (h) platform::DetachResource(h);
    if (!h) {
        cust = platform::NewHandleClear(kCustMinSize);
        return;
    }
    const platform::Size size = platform::GetHandleSize(h);
    if (size < kCustMinSize) {
        platform::SetHandleSize(h, kCustMinSize);
        if (platform::MemError() != platform::noErr) {
            platform::DisposeHandle(h);
            cust = platform::NewHandleClear(kCustMinSize);
            return;
        }
        for (platform::Size i = size; i < kCustMinSize; ++i) (*h)[i] = 0;
    }
    cust = h;
}
