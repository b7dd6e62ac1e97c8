// A table of addresses with a value each, held in one array (open
// addressing, linear probing, removal by shifting back). The memory
// manager keeps every block it handed out here, the resource store every
// loaded resource: a node-based map cost an allocation per entry and a
// cache miss per step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

template <typename Value>
class AddressTableOf {
public:
    // Adds or replaces the address's value (a null address is never held).
    // Throws std::bad_alloc when the table cannot grow; it is then unchanged.
    void Put(const void* address, Value value)
    {
        if (!address) return;
        if (Value* held = Find(address)) {
            *held = value;
            return;
        }
        if ((used_ + 1) * 2 > slots_.size()) Regrow(slots_.empty() ? 64 : slots_.size() * 2);
        slots_[Place(Key(address))] = {Key(address), value};
        ++used_;
    }

    // The address's value, or null when it is not in the table.
    Value* Find(const void* address)
    {
        if (!address || slots_.empty()) return nullptr;
        Slot& s = slots_[Place(Key(address))];
        return s.key ? &s.value : nullptr;
    }

    bool Contains(const void* address) { return Find(address) != nullptr; }

    // False when the address is not in the table.
    bool Remove(const void* address)
    {
        if (!address || slots_.empty()) return false;
        size_t hole = Place(Key(address));
        if (slots_[hole].key == 0) return false;
        // Entries after the hole that would not be found past it move in.
        const size_t mask = slots_.size() - 1;
        for (size_t next = (hole + 1) & mask; slots_[next].key != 0; next = (next + 1) & mask) {
            const size_t home = Home(slots_[next].key);
            if (((next - home) & mask) >= ((next - hole) & mask)) {
                slots_[hole] = slots_[next];
                hole = next;
            }
        }
        slots_[hole] = Slot{};
        --used_;
        return true;
    }

    size_t Count() const { return used_; }

    void Clear() noexcept
    {
        slots_.clear();
        used_ = 0;
    }

private:
    struct Slot {
        uintptr_t key = 0;
        Value value{};
    };

    static uintptr_t Key(const void* address) { return reinterpret_cast<uintptr_t>(address); }

    size_t Home(uintptr_t key) const
    {
        // Blocks are 16-byte aligned: the low bits carry nothing.
        const uint64_t mixed = (uint64_t(key) >> 4) * 0x9E3779B97F4A7C15ull;
        return size_t(mixed >> (64 - shift_));
    }

    // The slot holding the key, or the empty slot where it would go.
    size_t Place(uintptr_t key) const
    {
        const size_t mask = slots_.size() - 1;
        size_t at = Home(key);
        while (slots_[at].key != 0 && slots_[at].key != key) at = (at + 1) & mask;
        return at;
    }

    void Regrow(size_t size)
    {
        std::vector<Slot> old(size);
        old.swap(slots_);
        shift_ = 0;
        while ((size_t(1) << shift_) < size) ++shift_;
        for (const Slot& s : old)
            if (s.key != 0) slots_[Place(s.key)] = s;
    }

    std::vector<Slot> slots_;
    size_t used_ = 0;
    int shift_ = 0;
};

using AddressTable = AddressTableOf<int32_t>;

}  // namespace platform
