#include "kernel/helpers/KernelHandles.h"

#include <cstdlib>

#include "platform/core/Memory.h"

using namespace platform;

int16_t erreure = 0;
uint8_t iscritic = 1;

Handle nouvhandle(int32_t size)
{
    Handle h = NewHandle(size);
    erreure = MemError();
    return h;
}

Handle nouv2handle(int32_t size)
{
    iscritic = 0;
    Handle h = nouvhandle(size);
    iscritic = 1;
    return h;
}

int16_t sethsize(Handle h, int32_t size)
{
    SetHandleSize(h, size);
    erreure = MemError();
    return erreure;
}

int16_t set2hsize(Handle h, int32_t size)
{
    iscritic = 0;
    sethsize(h, size);
    iscritic = 1;
    return erreure;
}

void effhandle(Handle* h)
{
    Handle old = *h;
    *h = nullptr;
    effhandle(old);
}

int16_t effhandle(Handle h)
{
    DisposeHandle(h);
    erreure = MemError();
    return erreure;
}

void myDisposeHandle(Handle* h)
{
    if (*h) DisposeHandle(*h);
    *h = nullptr;
}

void handle2handle(Handle source, Handle* copy)
{
    int32_t size = GetHandleSize(source);
    *copy = nouv2handle(size);
    if (*copy) BlockMoveData(*source, **copy, size);
}

void handletohandle(Handle source, Handle* copy)
{
    int32_t size = GetHandleSize(source);
    *copy = nouvhandle(size);
    if (*copy) BlockMoveData(*source, **copy, size);
}

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
