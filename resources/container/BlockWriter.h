// Writes the resource blocks of a commit: in order of their offsets, and
// blocks that follow one another in the file (no more than the padding of
// one unit apart) gathered into one write of up to about 4 MiB. A block's
// contents go to disk straight from the caller's memory; only contents that
// must be converted on the way are copied, into a buffer that lives for one
// write.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/MacTypes.h"
#include "resources/container/ContainerLayout.h"

namespace container {

class ContainerFork;

class BlockWriter {
public:
    struct Block {
        uint64_t offset = 0;
        uint32_t size = 0;  // of the contents, after the header
        int32_t tag = 0;    // the caller's name for the block
        bool staged = false;  // the contents are copied and converted
        uint8_t header[kBlockHeaderSize] = {};
    };
    // The contents of a block that is not staged, as they go to disk.
    using DirectFn = std::function<const void*(int32_t tag)>;
    // Fills `size` bytes with the converted contents of a staged block.
    using FillFn = std::function<void(int32_t tag, uint8_t* out)>;
    // Called for every block once the write holding it has succeeded.
    using DoneFn = std::function<void(int32_t tag)>;

    void Add(const Block& block) { blocks_.push_back(block); }
    size_t Count() const { return blocks_.size(); }

    // Writes every block; stops at the first failed write and returns its
    // error (the blocks of earlier writes have been reported done).
    platform::OSErr WriteAll(ContainerFork& fork, uint32_t logicalEnd, const DirectFn& direct, const FillFn& fill,
                             const DoneFn& done);

private:
    std::vector<Block> blocks_;
};

}  // namespace container
