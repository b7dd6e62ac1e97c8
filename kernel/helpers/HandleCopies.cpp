#include "kernel/helpers/HandleCopies.h"

#include <cstdlib>

#include "platform/core/Memory.h"

using namespace platform;

void myDisposeHandle(Handle* h)
{
    if (*h) DisposeHandle(*h);
    *h = nullptr;
}

namespace {

// A copy of source through `make`; a null or purged source has none.
void CopyHandle(Handle source, Handle* copy, Handle (*make)(int32_t))
{
    *copy = nullptr;
    if (source == nullptr || *source == nullptr) {
        erreure = nilHandleErr;
        return;
    }
    int32_t size = GetHandleSize(source);
    *copy = make(size);
    if (*copy) BlockMoveData(*source, **copy, size);
}

}  // namespace

void handle2handle(Handle source, Handle* copy) { CopyHandle(source, copy, nouv2handle); }

void handletohandle(Handle source, Handle* copy) { CopyHandle(source, copy, nouvhandle); }

void effcalc(Handle* list, int16_t* count)
{
    if (*list) {
        // Never past the handles the list really holds.
        int32_t n = std::abs(int32_t(*count));
        int32_t held = GetHandleSize(*list) / int32_t(sizeof(Handle));
        if (n > held) n = held;
        for (int32_t i = 0; i < n; ++i) {
            Handle item = reinterpret_cast<Handle*>(**list)[i];
            if (item) DisposeHandle(item);
        }
        DisposeHandle(*list);
    }
    *list = nullptr;
    *count = 0;
}

void unpurgeres(Handle) {}
void wlock(Handle) {}
void wunlock(Handle) {}
