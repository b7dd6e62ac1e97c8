#include "kernel/handles/KernelHandles.h"

#include "platform/core/Memory.h"

int16_t erreure = 0;
uint8_t iscritic = 1;

platform::Handle nouvhandle(int32_t size)
{
    if (size < 0) {
        // Said here: the last memory call may well have succeeded.
        erreure = platform::memSCErr;
        return nullptr;
    }
    platform::Handle h = platform::NewHandle(size);
    erreure = platform::MemError();
    return h;
}

platform::Handle nouv2handle(int32_t size)
{
    iscritic = 0;
    platform::Handle h = nouvhandle(size);
    iscritic = 1;
    return h;
}

int16_t sethsize(platform::Handle h, int32_t size)
{
    platform::SetHandleSize(h, size);
    erreure = platform::MemError();
    return erreure;
}

int16_t set2hsize(platform::Handle h, int32_t size)
{
    iscritic = 0;
    sethsize(h, size);
    iscritic = 1;
    return erreure;
}

void effhandle(platform::Handle* h)
{
    platform::Handle old = *h;
    *h = nullptr;
    effhandle(old);
}

int16_t effhandle(platform::Handle h)
{
    platform::DisposeHandle(h);
    erreure = platform::MemError();
    return erreure;
}
