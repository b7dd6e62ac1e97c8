#include "kernel/collation/CustRecord.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

platform::Handle cust = nullptr;

void DisposeCust()
{
    if (cust != nullptr) platform::DisposeHandle(cust);
    cust = nullptr;
}

bool LoadCust()
{
    using namespace platform;
    DisposeCust();
    cust = NewHandleClear(kCustSize);
    if (cust == nullptr) return false;
    Handle stored = GetResource(platform::FourCC("CUST"), 0);
    if (stored == nullptr || *stored == nullptr) return true;
    const int32_t size = GetHandleSize(stored);
    if (size > kCustSize) {
        SetHandleSize(cust, size);
        if (MemError() != 0) {
            DisposeCust();
            return false;
        }
    }
    std::memcpy(*cust, *stored, static_cast<size_t>(std::max(size, 0)));
    return true;
}

int16_t CustWord(int32_t offset)
{
    if (cust == nullptr || *cust == nullptr || offset < 0) return 0;
    if (offset + 2 > platform::GetHandleSize(cust)) return 0;
    return platform::ReadBES16(*cust + offset);
}
