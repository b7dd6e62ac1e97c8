// Growable arrays of plain values in handles (rows, status entries and
// sub-lists of an item list); elements are copied, never cast in place.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/core/Memory.h"

namespace forms {

template <typename T>
int32_t HandleCount(platform::Handle h)
{
    return h ? int32_t(platform::GetHandleSize(h) / int32_t(sizeof(T))) : 0;
}

template <typename T>
T HandleAt(platform::Handle h, int32_t index)
{
    T value{};
    if (index >= 0 && index < HandleCount<T>(h)) std::memcpy(&value, *h + index * int32_t(sizeof(T)), sizeof(T));
    return value;
}

template <typename T>
void HandleSet(platform::Handle h, int32_t index, const T& value)
{
    if (index >= 0 && index < HandleCount<T>(h)) std::memcpy(*h + index * int32_t(sizeof(T)), &value, sizeof(T));
}

// Appends one value, making the handle when there is none; false when out of memory.
template <typename T>
bool HandleAppend(platform::Handle* h, const T& value)
{
    if (!*h) {
        *h = platform::NewHandle(0);
        if (!*h) return false;
    }
    const int32_t n = HandleCount<T>(*h);
    platform::SetHandleSize(*h, (n + 1) * int32_t(sizeof(T)));
    if (platform::MemError() != platform::noErr) return false;
    std::memcpy(**h + n * int32_t(sizeof(T)), &value, sizeof(T));
    return true;
}

inline void HandleDispose(platform::Handle* h)
{
    if (*h) platform::DisposeHandle(*h);
    *h = nullptr;
}

}  // namespace forms
