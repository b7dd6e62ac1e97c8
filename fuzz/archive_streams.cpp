// The reading side of each archive stream on hostile bytes, read in pieces
// of a chosen size: compression, redundancy, interlacing, and the part-file
// splitter over up to three part files.
// Input: kind byte (0-3), factor byte, 16-bit piece size, then the inner
// bytes (for the splitter: three 16-bit-length slices, the parts).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/hostentry/HostEntry.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/ColonPath.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VCompressStream.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStreamCutter.h"
#include "toolbox/files/VInterlacingStream.h"
#include "toolbox/files/VRedundancyStream.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VPtrStream.h"
#include "toolbox/foundation/VText.h"

namespace {

constexpr uint32_t kMostDelivered = 1u << 22;

void Drain(VStream& s, uint32_t piece)
{
    if (s.OpenReading() != 0) return;
    std::vector<uint8_t> buffer(piece);
    uint32_t total = 0;
    while (total < kMostDelivered) {
        uint32_t n = piece;
        const int16_t err = s.GetData(buffer.data(), &n);
        if (n > piece) std::abort();
        total += n;
        if (err != 0 || n == 0) break;
    }
    s.CloseReading();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    gCallQz = entreeexterne;
    platform::ClearFileDialogAnswers();
    fuzz::FuzzBytes in(data, size);
    const uint8_t kind = in.Byte() % 4;
    const uint32_t factor = in.Byte() % 9;  // 0 and 8 ask for refusals and big blocks
    const uint32_t piece = in.U16() % 40000 + 1;
    if (kind == 3) {
        fuzz::ClearScratchFolder();
        const std::string root = fuzz::ScratchFolder();
        for (int part = 1; part <= 3; ++part) {
            char name[32];
            std::snprintf(name, sizeof name, "/A.part%03d.zip", part);
            if (!fuzz::WriteFile(root + name, in.Slice(4096))) return 0;
        }
        std::string colon;
        platform::PosixPathToColon(root + "/A.part001.zip", &colon);
        VText path;
        FromUtf8(colon, path);
        VFile first(path);
        VFileStreamCutter cutter(&first, 0);
        Drain(cutter, piece);
        return 0;
    }
    fuzz::Bytes inner = in.Rest();
    VPtrStream source(reinterpret_cast<char*>(inner.data()), int32_t(inner.size()));
    if (kind == 0) {
        VCompressStream s(&source, 0);
        Drain(s, piece);
    } else if (kind == 1) {
        VRedundancyStream s(&source, factor);
        Drain(s, piece);
    } else {
        VInterlacingStream s(&source, factor);
        Drain(s, piece);
    }
    return 0;
}
