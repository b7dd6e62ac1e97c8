// The toolbox's bridge to its host: every host service is reached through
// the host entry gCallQz with a selector and a parameter block.
#pragma once

#include <cstdint>

#include "toolbox/foundation/HostParm.h"
#include "toolbox/foundation/VObject.h"

class VString;

// The host entry; null until an engine is made.
extern HostEntryProc gCallQz;

class VEngine : public VObject {
public:
    explicit VEngine(HostEntryProc entry);
    ~VEngine() override;

    // Compresses srcLen bytes into dst (which holds at least srcLen bytes)
    // with the method (1 LZRW3-A, other values the -lh5- coder). The
    // compressed length, or 0 when compression gains nothing or memory ran
    // out: the caller then stores the block as it is.
    static int32_t Compress(int32_t method, const void* src, int32_t srcLen, void* dst);
    // Expands a block of srcLen bytes into dst of dstSize bytes. The bytes
    // written; 0 when memory ran out; negative when the block is damaged.
    static int32_t Decompress(int32_t method, const void* src, int32_t srcLen, void* dst,
                              int32_t dstSize);

    // The text evaluated as a time of day by the host (seconds); 0 without
    // a host.
    static int32_t EvalTime(const VString& text);
    // The host's text of the real under the format (at most 80 characters;
    // empty for the default form). Without a host, the toolbox's own text.
    static void FormatReal(double value, const VString& format, VString& text);
    // The host's two-digit-year window: first the pivot, second the century
    // (pivot 0: this century). Without a host both are the kernel's values
    // when it has installed them, else 0. Answers 0.
    static int32_t GetCenturyInfo(int32_t& first, int32_t& second);
};
