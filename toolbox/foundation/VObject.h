// The root of the toolbox classes and the reference-count mixin.
#pragma once

#include <cstddef>
#include <cstdint>

class VStream;

class VObject {
public:
    VObject() = default;
    virtual ~VObject();

    // Stream forms; a class without its own answers -2 (not supported).
    virtual int32_t ReadFromStream(VStream* stream, int32_t tag);
    virtual int32_t WriteToStream(VStream* stream, int32_t tag) const;
    // Read or write the stream form through a handle or pointer stream.
    virtual int32_t ReadFromHandle(char** handle, int32_t tag);
    virtual int32_t WriteToHandle(char*** handleRef, int32_t tag) const;
    virtual int32_t ReadFromPtr(char* data, int32_t size, int32_t tag);
    virtual int32_t _DebugDump(char* buffer, int32_t& length);

    // Allocation never throws: a failed new-expression yields null.
    static void* operator new(size_t size) noexcept;
    static void operator delete(void* p) noexcept;
};

// Gives a shared object a reference count, 1 when made; the last Release
// destroys it.
class IRefCountable {
public:
    IRefCountable() = default;
    IRefCountable(const IRefCountable&) : fRefCount(1) {}
    IRefCountable& operator=(const IRefCountable&) { return *this; }
    virtual ~IRefCountable();

    void Retain() const;
    void Release() const;
    int32_t GetRefCount() const { return fRefCount; }

private:
    mutable int32_t fRefCount = 1;
};
