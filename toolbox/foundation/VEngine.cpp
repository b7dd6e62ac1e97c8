#include "toolbox/foundation/VEngine.h"

#include "toolbox/foundation/VString.h"

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
    gCallQz(kSelBlockCompress, &block);
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
    gCallQz(kSelBlockCompress, &block);
    return block.result304;
}

int32_t VEngine::EvalTime(const VString& text)
{
    if (!gCallQz) return 0;
    parm block;
    block.slot272.SetLong(11);
    constexpr int32_t kMaxTimeText = 82;
    text.ToPString(block.text310, kMaxTimeText, kCharSetMac);
    gCallQz(kSelEvalTime, &block);
    return block.result304;
}
