// Windows ANSI strings: in a fixed buffer (VAnsiStrInMem on its creator's
// buffer, VAnsiStr<N> with its own) or in a handle (VAnsiText).
#pragma once

#include "toolbox/foundation/TextHandle.h"
#include "toolbox/foundation/VByteString.h"

class VAnsiString : public VByteString {
public:
    ~VAnsiString() override;
    CharSet GetCharSet() const override;

protected:
    VAnsiString() = default;
    VAnsiString(const VAnsiString&) = default;
};

class VAnsiStrInMem : public VAnsiString {
public:
    // buffer: maxLength + 2 bytes, the first being the length; maxLength <= 255.
    VAnsiStrInMem(uint8_t* buffer, int32_t maxLength);
    ~VAnsiStrInMem() override;

    VValue* Clone() const override;
    bool IsInHandle() const override;
    StringKind GetStringKind() const override;
    void ClearString(uint8_t release) override;
    int32_t GetLength() const override;
    void AdjustCString() override;
    void* LockAndGetCPointer() const override;
    bool SetLength(int32_t length) override;

protected:
    VAnsiStrInMem(const VAnsiStrInMem&) = default;

    uint8_t* fBuffer;
};

template <int32_t N>
class VAnsiStr : public VAnsiStrInMem {
    static_assert(N > 0 && N <= 255, "the length is one byte");

public:
    VAnsiStr() : VAnsiStrInMem(fBytes, N) {}
    // Takes the source's null flag and, when not null, its text.
    VAnsiStr(const VAnsiStr& source) : VAnsiStrInMem(fBytes, N) { FromVString(source); }
    explicit VAnsiStr(const VString& source) : VAnsiStrInMem(fBytes, N) { FromVString(source); }
    VAnsiStr& operator=(const VAnsiStr& source)
    {
        FromVString(source);
        return *this;
    }
    VAnsiStr& operator=(const VString& source)
    {
        FromVString(source);
        return *this;
    }
    ~VAnsiStr() override = default;

    VValue* Clone() const override
    {
        auto* copy = new VAnsiStr<N>;
        if (copy != nullptr) copy->FromString(*this);
        return copy;
    }

private:
    uint8_t fBytes[N + 2];
};

class VAnsiText : public VAnsiString {
public:
    VAnsiText();
    VAnsiText(const VAnsiText& source);
    // Takes the source's null flag and, when not null, its text.
    explicit VAnsiText(const VString& source);
    VAnsiText& operator=(const VAnsiText& source);
    ~VAnsiText() override;

    VValue* Clone() const override;
    bool IsInHandle() const override;
    StringKind GetStringKind() const override;
    void ClearString(uint8_t release) override;
    int32_t GetLength() const override;
    void AdjustCString() override;
    void* LockAndGetCPointer() const override;
    void Unlock() const override;
    bool SetLength(int32_t length) override;

private:
    TextHandle fText;
};
