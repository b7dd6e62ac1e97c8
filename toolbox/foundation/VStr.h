// UTF-16 strings in a fixed buffer: a 16-bit length, the units, a 0 unit.
// VStrInMem works on a buffer of its creator; VStr<N> holds its own.
#pragma once

#include "toolbox/foundation/VUniString.h"

class VStrInMem : public VUniString {
public:
    // buffer: maxLength + 2 units, the first being the length.
    VStrInMem(char16_t* buffer, int32_t maxLength);
    ~VStrInMem() override;

    VValue* Clone() const override;
    bool IsInHandle() const override;
    StringKind GetStringKind() const override;
    void ClearString(uint8_t release) override;
    int32_t GetLength() const override;
    void AdjustCString() override;
    void* LockAndGetCPointer() const override;
    bool SetLength(int32_t length) override;

protected:
    VStrInMem(const VStrInMem& other) = default;
    void SetBuffer(char16_t* buffer) { fBuffer = buffer; }

    char16_t* fBuffer;
};

template <int32_t N>
class VStr : public VStrInMem {
    static_assert(N > 0 && N <= 0xFFFF, "the length is a 16-bit count");

public:
    VStr() : VStrInMem(fUnits, N) {}
    // Takes the source's null flag and, when not null, its text.
    VStr(const VStr& source) : VStrInMem(fUnits, N) { FromVString(source); }
    explicit VStr(const VString& source) : VStrInMem(fUnits, N) { FromVString(source); }
    VStr& operator=(const VStr& source)
    {
        FromVString(source);
        return *this;
    }
    VStr& operator=(const VString& source)
    {
        FromVString(source);
        return *this;
    }
    ~VStr() override = default;

    VValue* Clone() const override
    {
        auto* copy = new VStr<N>;
        if (copy != nullptr) copy->FromString(*this);
        return copy;
    }

private:
    char16_t fUnits[N + 2];
};
