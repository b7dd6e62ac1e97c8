// Mac Roman strings: in a fixed buffer (VMacStrInMem on its creator's
// buffer, VMacStr<N> with its own) or in a handle (VMacText).
#pragma once

#include "toolbox/foundation/TextHandle.h"
#include "toolbox/foundation/VByteString.h"

class VMacString : public VByteString {
public:
    ~VMacString() override;
    CharSet GetCharSet() const override;

protected:
    VMacString() = default;
    VMacString(const VMacString&) = default;
};

class VMacStrInMem : public VMacString {
public:
    // buffer: maxLength + 2 bytes, the first being the length; maxLength <= 255.
    VMacStrInMem(uint8_t* buffer, int32_t maxLength);
    ~VMacStrInMem() override;

    VValue* Clone() const override;
    bool IsInHandle() const override;
    StringKind GetStringKind() const override;
    void ClearString(uint8_t release) override;
    int32_t GetLength() const override;
    void AdjustCString() override;
    void* LockAndGetCPointer() const override;
    bool SetLength(int32_t length) override;

protected:
    VMacStrInMem(const VMacStrInMem&) = default;

    uint8_t* fBuffer;
};

template <int32_t N>
class VMacStr : public VMacStrInMem {
    static_assert(N > 0 && N <= 255, "the length is one byte");

public:
    VMacStr() : VMacStrInMem(fBytes, N) {}
    // Takes the source's null flag and, when not null, its text.
    VMacStr(const VMacStr& source) : VMacStrInMem(fBytes, N) { FromVString(source); }
    explicit VMacStr(const VString& source) : VMacStrInMem(fBytes, N) { FromVString(source); }
    VMacStr& operator=(const VMacStr& source)
    {
        FromVString(source);
        return *this;
    }
    VMacStr& operator=(const VString& source)
    {
        FromVString(source);
        return *this;
    }
    ~VMacStr() override = default;

    VValue* Clone() const override
    {
        auto* copy = new VMacStr<N>;
        if (copy != nullptr) copy->FromString(*this);
        return copy;
    }

private:
    uint8_t fBytes[N + 2];
};

class VMacText : public VMacString {
public:
    VMacText();
    VMacText(const VMacText& source);
    // Takes the source's null flag and, when not null, its text.
    explicit VMacText(const VString& source);
    VMacText& operator=(const VMacText& source);
    ~VMacText() override;

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
