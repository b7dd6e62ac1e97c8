#include "toolbox/foundation/VEngine.h"

HostEntryProc gCallQz = nullptr;

VEngine::VEngine(HostEntryProc entry) { gCallQz = entry; }

VEngine::~VEngine() = default;

int32_t VEngine::Compress(int32_t method, const void* src, int32_t srcLen, void* dst)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot266.SetLong(method);
    block.flag8 = 1;
    block.slot272.SetPtr(src);
    block.slot276.SetLong(srcLen);
    block.slot280.SetPtr(dst);
    block.slot284.SetLong(0);
    gCallQz(kSelCompressBlock, &block);
    return block.result304;
}

int32_t VEngine::Decompress(int32_t method, const void* src, int32_t srcLen, void* dst, int32_t dstSize)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot266.SetLong(method);
    block.flag8 = 0;
    block.slot272.SetPtr(dst);
    block.slot276.SetLong(dstSize);
    block.slot280.SetPtr(src);
    block.slot284.SetLong(srcLen);
    gCallQz(kSelCompressBlock, &block);
    return block.result304;
}
