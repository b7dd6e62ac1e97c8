#include "toolbox/foundation/VEngine.h"

#include <cstring>

#include "toolbox/foundation/KernelTextHooks.h"
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

void VEngine::FormatReal(double value, const VString& format, VString& text)
{
    parm block;
    if (!gCallQz) {
        uint8_t own[256 + sizeof(double)] = {};
        if (gKernelTextHooks.realToText != nullptr) gKernelTextHooks.realToText(&value, own, 1);
        std::memcpy(block.text310, own, size_t(own[0]) + 1);
    } else {
        block.slot272.SetLong(1);
        block.real288 = value;
        constexpr int32_t kMaxFormatText = 80;
        format.ToPString(block.text310, kMaxFormatText, kCharSetMac);
        gCallQz(kSelFormatReal, &block);
    }
    text.FromMacPString(block.text310);
}

int32_t VEngine::GetCenturyInfo(int32_t& first, int32_t& second)
{
    first = 0;
    second = 0;
    if (gCallQz) {
        parm block;
        gCallQz(kSelCenturyInfo, &block);
        first = block.slot272.Long();
        second = block.slot276.Long();
    } else if (gKernelTextHooks.centuryInfo != nullptr) {
        gKernelTextHooks.centuryInfo(&first, &second);
    }
    return 0;
}
