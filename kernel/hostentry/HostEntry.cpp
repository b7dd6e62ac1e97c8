#include "kernel/hostentry/HostEntry.h"

#include "kernel/compress/Lh5.h"
#include "kernel/compress/Lzrw3a.h"
#include "kernel/numtext/KernelTextServices.h"
#include "platform/resfiles/Resources.h"

namespace {

int16_t ChainCurResFile() { return platform::CurResFile(); }

CurResFileProc gCurResFileProc = ChainCurResFile;

void Compress(parm* b)
{
    const auto* src = b->slot272.Ptr<const uint8_t>();
    const int32_t srcLen = b->slot276.Long();
    auto* dst = b->slot280.Ptr<uint8_t>();
    const int32_t capacity = b->slot284.Long() > 0 ? b->slot284.Long() : srcLen;
    int32_t result;
    if (uint8_t(b->slot266.Long()) == kMethodLZ3A) {
        result = compLZ3A(src, dst, srcLen, capacity);
        if (result > 0 && dst[0] == 1) result = 0;  // the copy form gains nothing
    } else {
        result = ARCOMPACTE(src, dst, srcLen, capacity);
    }
    b->result304 = result < 0 ? 0 : result;
}

void Decompress(parm* b)
{
    const auto* src = b->slot280.Ptr<const uint8_t>();
    const int32_t srcLen = b->slot284.Long();
    auto* dst = b->slot272.Ptr<uint8_t>();
    const int32_t dstLen = b->slot276.Long();
    int32_t result;
    if (uint8_t(b->slot266.Long()) == kMethodLZ3A)
        result = decompLZ3A(src, dst, dstLen, srcLen);
    else
        result = ARDECOMPACTE(src, dst, dstLen, srcLen);
    b->result304 = result == kCompressNoMemory ? 0 : result;
}

}  // namespace

void ext_BlockCompressDecompress(parm* block)
{
    if (block->flag8)
        Compress(block);
    else
        Decompress(block);
}

void SetHostCurResFileProc(CurResFileProc proc)
{
    gCurResFileProc = proc ? proc : ChainCurResFile;
}

void entreeexterne(int16_t selector, parm* block)
{
    if (!block) return;
    switch (selector) {
    case kSelBlockCompress:
        ext_BlockCompressDecompress(block);
        break;
    case kSelEngineReset:
        block->result304 = gCurResFileProc();
        break;
    case kSelFreeStack:
        block->slot276 = block->slot272;
        break;
    case kSelFormatReal:
        ext_FormatReal(block);
        break;
    case kSelEvalTime:
        ext_EvalTime(block);
        break;
    case kSelCenturyInfo:
        ext_CenturyInfo(block);
        break;
    case kSelClearMethod:
        block->slot266.Clear();
        break;
    default:
        break;
    }
}
