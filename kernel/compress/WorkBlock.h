// A zero-filled block of working memory from the platform allocator, freed
// when it goes out of scope. Allocation failures (and injected faults) show
// as a null data().
#pragma once

#include <cstdint>

#include "platform/core/Memory.h"

template <typename T>
class WorkBlock {
public:
    explicit WorkBlock(int32_t count)
        : data_(reinterpret_cast<T*>(platform::NewPtrClear(platform::Size(count * int32_t(sizeof(T))))))
    {
    }
    ~WorkBlock()
    {
        if (data_) platform::DisposePtr(reinterpret_cast<platform::Ptr>(data_));
    }
    WorkBlock(const WorkBlock&) = delete;
    WorkBlock& operator=(const WorkBlock&) = delete;

    T* data() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    T* data_;
};
