#include "toolbox/foundation/VObject.h"

#include <new>

#include "toolbox/foundation/VHandleStream.h"
#include "toolbox/foundation/VPtrStream.h"

namespace {
constexpr int32_t kNotSupported = -2;
}

VObject::~VObject() = default;

int32_t VObject::ReadFromStream(VStream*, int32_t) { return kNotSupported; }

int32_t VObject::WriteToStream(VStream*, int32_t) const { return kNotSupported; }

int32_t VObject::ReadFromHandle(char** handle, int32_t tag)
{
    // Without a handle the stream makes (and later frees) an empty one.
    char** local = handle;
    VHandleStream stream(handle ? &local : nullptr);
    int32_t err = stream.OpenReading();
    if (err != 0) return err;
    int32_t result = ReadFromStream(&stream, tag);
    int32_t closed = stream.CloseReading();
    return result != 0 ? result : closed;
}

int32_t VObject::WriteToHandle(char*** handleRef, int32_t tag) const
{
    VHandleStream stream(handleRef);
    int32_t err = stream.OpenWriting();
    if (err != 0) return err;
    int32_t result = WriteToStream(&stream, tag);
    int32_t closed = stream.CloseWriting(true);
    return result != 0 ? result : closed;
}

int32_t VObject::ReadFromPtr(char* data, int32_t size, int32_t tag)
{
    VPtrStream stream(data, size);
    int32_t err = stream.OpenReading();
    if (err != 0) return err;
    int32_t result = ReadFromStream(&stream, tag);
    int32_t closed = stream.CloseReading();
    return result != 0 ? result : closed;
}

int32_t VObject::_DebugDump(char*, int32_t& length)
{
    length = 0;
    return 0;
}

void* VObject::operator new(size_t size) noexcept { return ::operator new(size, std::nothrow); }

void VObject::operator delete(void* p) noexcept { ::operator delete(p); }

IRefCountable::~IRefCountable() = default;

void IRefCountable::Retain() const { ++fRefCount; }

void IRefCountable::Release() const
{
    if (fRefCount - 1 > 0) {
        --fRefCount;
        return;
    }
    // The count stays as it was while the object is destroyed.
    delete const_cast<IRefCountable*>(this);
}
