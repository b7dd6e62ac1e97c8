// The two storages of the 8-bit strings, shared by the Mac Roman and the
// Windows character sets: a fixed buffer whose first byte is the length
// (the creator's buffer, or the string's own in the sized template), or a
// handle. Base is the character set's class; Kind the storage kind it reports.
#pragma once

#include "toolbox/foundation/TextHandle.h"
#include "toolbox/foundation/VByteString.h"

template <class Base, StringKind Kind>
class ByteStrInMemOf : public Base {
public:
    bool IsInHandle() const override { return false; }
    StringKind GetStringKind() const override { return Kind; }
    void ClearString(uint8_t) override { ByteBuffer::Clear(fBuffer); }
    int32_t GetLength() const override { return fBuffer[0]; }
    void AdjustCString() override { fBuffer[1 + fBuffer[0]] = 0; }
    void* LockAndGetCPointer() const override { return fBuffer + 1; }
    bool SetLength(int32_t length) override { return ByteBuffer::SetLength(fBuffer, this->fMaxLength, length); }

protected:
    // buffer: maxLength + 2 bytes, the first being the length; maxLength <= 255.
    ByteStrInMemOf(uint8_t* buffer, int32_t maxLength) : fBuffer(buffer)
    {
        this->fMaxLength = maxLength < 0 ? 0 : (maxLength > 255 ? 255 : maxLength);
        ByteBuffer::Clear(fBuffer);
    }
    ByteStrInMemOf(const ByteStrInMemOf&) = default;

    uint8_t* fBuffer;
};

// ReleasedBytes: the size of the handle of a string emptied with release.
template <class Base, StringKind Kind, uint32_t ReleasedBytes>
class ByteTextOf : public Base {
public:
    bool IsInHandle() const override { return true; }
    StringKind GetStringKind() const override { return Kind; }
    void ClearString(uint8_t release) override { fText.Clear(release != 0, ReleasedBytes); }
    int32_t GetLength() const override { return fText.GetLength(); }
    void AdjustCString() override { fText.Terminate(); }
    void* LockAndGetCPointer() const override { return fText.Lock(); }
    void Unlock() const override { fText.Unlock(); }
    bool SetLength(int32_t length) override { return length <= this->fMaxLength && fText.SetLength(length); }

protected:
    ByteTextOf() : fText(1, ReleasedBytes)
    {
        this->fMaxLength = 0x7FFFFFFF;
        this->SetNull(false);
    }
    ByteTextOf(const ByteTextOf& source) : Base(source), fText(source.fText) { this->fMaxLength = 0x7FFFFFFF; }
    // Takes the source's null flag and, when not null, its text.
    explicit ByteTextOf(const VString& source) : fText(1, 1)
    {
        this->fMaxLength = 0x7FFFFFFF;
        this->FromVString(source);
    }
    ByteTextOf& operator=(const ByteTextOf& source)
    {
        if (this != &source) {
            fText = source.fText;
            this->fIsNull = source.fIsNull;
        }
        return *this;
    }

    TextHandle fText;
};

// A string with its own buffer of N characters.
template <class InMem, int32_t N>
class ByteStrOf : public InMem {
    static_assert(N > 0 && N <= 255, "the length is one byte");

protected:
    ByteStrOf() : InMem(fBytes, N) {}
    ByteStrOf(const ByteStrOf& source) : InMem(fBytes, N) { this->FromVString(source); }
    explicit ByteStrOf(const VString& source) : InMem(fBytes, N) { this->FromVString(source); }

private:
    uint8_t fBytes[N + 2];
};
