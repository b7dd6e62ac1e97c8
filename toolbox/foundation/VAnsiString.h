// Windows ANSI strings: in a fixed buffer (VAnsiStrInMem on its creator's
// buffer, VAnsiStr<N> with its own) or in a handle (VAnsiText).
#pragma once

#include "toolbox/foundation/ByteStringStorage.h"

class VAnsiString : public VByteString {
public:
    ~VAnsiString() override;
    CharSet GetCharSet() const override;

protected:
    VAnsiString() = default;
    VAnsiString(const VAnsiString&) = default;
};

class VAnsiStrInMem : public ByteStrInMemOf<VAnsiString, kStringAnsiInMem> {
public:
    // buffer: maxLength + 2 bytes, the first being the length; maxLength <= 255.
    VAnsiStrInMem(uint8_t* buffer, int32_t maxLength) : ByteStrInMemOf(buffer, maxLength) {}
    ~VAnsiStrInMem() override;
    VValue* Clone() const override;

protected:
    VAnsiStrInMem(const VAnsiStrInMem&) = default;
};

template <int32_t N>
class VAnsiStr : public ByteStrOf<VAnsiStrInMem, N> {
public:
    VAnsiStr() = default;
    // Takes the source's null flag and, when not null, its text.
    VAnsiStr(const VAnsiStr& source) : ByteStrOf<VAnsiStrInMem, N>(source) {}
    explicit VAnsiStr(const VString& source) : ByteStrOf<VAnsiStrInMem, N>(source) {}
    VAnsiStr& operator=(const VAnsiStr& source)
    {
        this->FromVString(source);
        return *this;
    }
    VAnsiStr& operator=(const VString& source)
    {
        this->FromVString(source);
        return *this;
    }
    ~VAnsiStr() override = default;

    VValue* Clone() const override
    {
        auto* copy = new VAnsiStr<N>;
        if (copy != nullptr) copy->FromString(*this);
        return copy;
    }
};

class VAnsiText : public ByteTextOf<VAnsiString, kStringAnsiText, 1> {
public:
    VAnsiText() = default;
    VAnsiText(const VAnsiText& source) : ByteTextOf(source) {}
    // Takes the source's null flag and, when not null, its text.
    explicit VAnsiText(const VString& source) : ByteTextOf(source) {}
    VAnsiText& operator=(const VAnsiText& source)
    {
        ByteTextOf::operator=(source);
        return *this;
    }
    ~VAnsiText() override;

    VValue* Clone() const override;
};
