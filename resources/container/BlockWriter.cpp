#include "resources/container/BlockWriter.h"

#include <algorithm>

#include "platform/core/Errors.h"
#include "resources/container/ContainerFork.h"
#include "resources/container/StoreIo.h"

namespace container {

using namespace platform;

namespace {

constexpr uint64_t kBatchBytes = 4u << 20;
// Pieces of one write: the system takes 1024 at most in one call.
constexpr size_t kMaxPieces = 1024;
const uint8_t kZeros[kUnitSize] = {};

}  // namespace

OSErr BlockWriter::WriteAll(ContainerFork& fork, uint32_t logicalEnd, const DirectFn& direct, const FillFn& fill,
                            const DoneFn& done)
{
    std::sort(blocks_.begin(), blocks_.end(), [](const Block& a, const Block& b) { return a.offset < b.offset; });
    std::vector<IoPiece> pieces;
    std::vector<std::vector<uint8_t>> staging;
    pieces.reserve(kMaxPieces);
    size_t first = 0;
    while (first < blocks_.size()) {
        // One run: blocks each starting where the one before ends, or in
        // the rest of its last unit (that padding is written as zeros).
        pieces.clear();
        staging.clear();
        const uint64_t start = blocks_[first].offset;
        uint64_t end = start;
        size_t next = first;
        while (next < blocks_.size() && pieces.size() + 3 <= kMaxPieces) {
            const Block& b = blocks_[next];
            if (next > first) {
                if (b.offset < end || b.offset > RoundUp(end, kUnitSize) || end - start >= kBatchBytes) break;
                if (b.offset > end) pieces.push_back({kZeros, uint32_t(b.offset - end)});
            }
            pieces.push_back({b.header, kBlockHeaderSize});
            if (b.size > 0) {
                const void* data = nullptr;
                if (b.staged) {
                    staging.emplace_back(b.size);
                    fill(b.tag, staging.back().data());
                    data = staging.back().data();
                } else {
                    data = direct(b.tag);
                }
                pieces.push_back({data, b.size});
            }
            end = b.offset + kBlockHeaderSize + b.size;
            ++next;
        }
        OSErr err = fork.WriteAt(start, pieces.data(), uint32_t(pieces.size()), logicalEnd);
        if (err != noErr) return err;
        for (size_t i = first; i < next; ++i) done(blocks_[i].tag);
        first = next;
    }
    return noErr;
}

}  // namespace container
