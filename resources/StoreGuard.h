// Memory running out inside the store (a map growing, an index rebuilt, a
// block copied) surfaces as std::bad_alloc. Every entry point of the store
// runs its body through Guarded, which turns that, or any other exception,
// into -108 in the last error and the entry's failure value: nothing is
// thrown out of the store. The operations below take what may throw first,
// so a body cut short leaves the store and the file as they were.
#pragma once

#include <utility>

// Records -108 as the store's last error.
void NoteStoreMemoryFull() noexcept;

template <class R, class Body>
R Guarded(R failed, Body&& body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        NoteStoreMemoryFull();
        return failed;
    }
}

template <class Body>
void GuardedVoid(Body&& body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (...) {
        NoteStoreMemoryFull();
    }
}
