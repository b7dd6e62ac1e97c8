// Growable arrays of plain values in handles (rows, status entries and
// sub-lists of an item list); elements are copied, never cast in place.
// The handle holds a 32-bit count, then room for the elements, which grows
// by doubling so that appending stays cheap for long lists.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/core/Memory.h"

namespace forms {

constexpr int32_t kArrayHeader = int32_t(sizeof(int32_t));

template <typename T>
int32_t HandleCount(platform::Handle h)
{
    if (!h || platform::GetHandleSize(h) < kArrayHeader) return 0;
    int32_t n = 0;
    std::memcpy(&n, *h, sizeof n);
    return n;
}

template <typename T>
T HandleAt(platform::Handle h, int32_t index)
{
    T value{};
    if (index >= 0 && index < HandleCount<T>(h))
        std::memcpy(&value, *h + kArrayHeader + index * int32_t(sizeof(T)), sizeof(T));
    return value;
}

template <typename T>
void HandleSet(platform::Handle h, int32_t index, const T& value)
{
    if (index >= 0 && index < HandleCount<T>(h))
        std::memcpy(*h + kArrayHeader + index * int32_t(sizeof(T)), &value, sizeof(T));
}

// Appends one value, making the handle when there is none; false when out of memory.
template <typename T>
bool HandleAppend(platform::Handle* h, const T& value)
{
    if (!*h) {
        *h = platform::NewHandleClear(kArrayHeader);
        if (!*h) return false;
    }
    const int32_t n = HandleCount<T>(*h);
    const int32_t room = (platform::GetHandleSize(*h) - kArrayHeader) / int32_t(sizeof(T));
    if (n >= room) {
        const int64_t grown = kArrayHeader + int64_t(std::max(4, 2 * room)) * int64_t(sizeof(T));
        if (grown > INT32_MAX) return false;
        platform::SetHandleSize(*h, int32_t(grown));
        if (platform::MemError() != platform::noErr) return false;
    }
    std::memcpy(**h + kArrayHeader + n * int32_t(sizeof(T)), &value, sizeof(T));
    const int32_t count = n + 1;
    std::memcpy(**h, &count, sizeof count);
    return true;
}

inline void HandleDispose(platform::Handle* h)
{
    if (*h) platform::DisposeHandle(*h);
    *h = nullptr;
}

}  // namespace forms
