// Tables for the store's I/O road (resources/container/StoreIo.h) used by
// the tests: one records every write, size change and flush of a session
// so the file can be rebuilt at any point of it; one makes the Nth write
// fail. Flushes are recorded but not carried out: the tests model the
// disk themselves, and thousands of fdatasync calls would only cost time.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/Errors.h"
#include "resources/container/StoreIo.h"

namespace storetest {

struct IoOp {
    enum Kind : uint8_t { Write, SetSize, Flush } kind = Write;
    uint64_t offset = 0;  // Write: where; SetSize: the new size
    std::vector<uint8_t> bytes;
};

// Applies a recorded operation to an image of the file.
inline void ApplyOp(std::vector<uint8_t>& file, const IoOp& op)
{
    if (op.kind == IoOp::SetSize) {
        file.resize(size_t(op.offset), 0);
    } else if (op.kind == IoOp::Write) {
        if (file.size() < op.offset + op.bytes.size()) file.resize(size_t(op.offset + op.bytes.size()), 0);
        std::copy(op.bytes.begin(), op.bytes.end(), file.begin() + int64_t(op.offset));
    }
}

class StoreIoTable {
public:
    // Installs this table; the previous behaviour returns with the object.
    StoreIoTable()
    {
        sActive = this;
        container::StoreIoHooks hooks;
        hooks.write = &WriteHook;
        hooks.setSize = &SetSizeHook;
        hooks.flush = &FlushHook;
        container::SetStoreIoHooks(hooks);
    }
    ~StoreIoTable()
    {
        container::ResetStoreIoHooks();
        sActive = nullptr;
    }
    StoreIoTable(const StoreIoTable&) = delete;
    StoreIoTable& operator=(const StoreIoTable&) = delete;

    void Record(bool on) { recording_ = on; }
    const std::vector<IoOp>& Ops() const { return ops_; }
    size_t OpCount() const { return ops_.size(); }

    // From now on, let `after` operations (writes, size changes, flushes)
    // pass, then fail the next one with err, or every later one when
    // `sticky` (a full disk stays full); noErr stops failing.
    void FailWritesAfter(int32_t after, platform::OSErr err, bool sticky)
    {
        failAfter_ = after;
        failWith_ = err;
        sticky_ = sticky;
        fired_ = false;
    }
    // True once the failure asked for has happened.
    bool Fired() const { return fired_; }
    int32_t OperationsSeen() const { return writesSeen_; }

private:
    bool ShouldFail()
    {
        ++writesSeen_;
        if (failWith_ == platform::noErr) return false;
        if (failAfter_ > 0) {
            --failAfter_;
            return false;
        }
        fired_ = true;
        if (!sticky_) failWith_ = platform::noErr;
        return true;
    }

    static platform::OSErr WriteHook(int16_t ref, uint64_t offset, const container::IoPiece* pieces, uint32_t count)
    {
        StoreIoTable& t = *sActive;
        if (platform::OSErr err = t.failWith_; t.ShouldFail()) return err;
        if (t.recording_) {
            IoOp op;
            op.offset = offset;
            for (uint32_t i = 0; i < count; ++i) {
                const auto* p = static_cast<const uint8_t*>(pieces[i].data);
                op.bytes.insert(op.bytes.end(), p, p + pieces[i].size);
            }
            t.ops_.push_back(std::move(op));
        }
        return container::PlatformWrite(ref, offset, pieces, count);
    }
    static platform::OSErr SetSizeHook(int16_t ref, uint64_t size)
    {
        StoreIoTable& t = *sActive;
        if (platform::OSErr err = t.failWith_; t.ShouldFail()) return err;
        if (t.recording_) t.ops_.push_back(IoOp{IoOp::SetSize, size, {}});
        return container::PlatformSetSize(ref, size);
    }
    static platform::OSErr FlushHook(int16_t)
    {
        StoreIoTable& t = *sActive;
        if (platform::OSErr err = t.failWith_; t.ShouldFail()) return err;
        if (t.recording_) t.ops_.push_back(IoOp{IoOp::Flush, 0, {}});
        return platform::noErr;
    }

    static inline StoreIoTable* sActive = nullptr;
    std::vector<IoOp> ops_;
    bool recording_ = false;
    int32_t failAfter_ = 0;
    platform::OSErr failWith_ = platform::noErr;
    bool sticky_ = false;
    bool fired_ = false;
    int32_t writesSeen_ = 0;
};

}  // namespace storetest
