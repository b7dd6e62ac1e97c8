// Mac Roman strings: in a fixed buffer (VMacStrInMem on its creator's
// buffer, VMacStr<N> with its own) or in a handle (VMacText).
#pragma once

#include "toolbox/foundation/ByteStringStorage.h"

class VMacString : public VByteString {
public:
    ~VMacString() override;
    CharSet GetCharSet() const override;

protected:
    VMacString() = default;
    VMacString(const VMacString&) = default;
};

class VMacStrInMem : public ByteStrInMemOf<VMacString, kStringMacInMem> {
public:
    // buffer: maxLength + 2 bytes, the first being the length; maxLength <= 255.
    VMacStrInMem(uint8_t* buffer, int32_t maxLength) : ByteStrInMemOf(buffer, maxLength) {}
    ~VMacStrInMem() override;
    VValue* Clone() const override;

protected:
    VMacStrInMem(const VMacStrInMem&) = default;
};

template <int32_t N>
class VMacStr : public ByteStrOf<VMacStrInMem, N> {
public:
    VMacStr() = default;
    // Takes the source's null flag and, when not null, its text.
    VMacStr(const VMacStr& source) : ByteStrOf<VMacStrInMem, N>(source) {}
    explicit VMacStr(const VString& source) : ByteStrOf<VMacStrInMem, N>(source) {}
    VMacStr& operator=(const VMacStr& source)
    {
        this->FromVString(source);
        return *this;
    }
    VMacStr& operator=(const VString& source)
    {
        this->FromVString(source);
        return *this;
    }
    ~VMacStr() override = default;

    VValue* Clone() const override
    {
        auto* copy = new VMacStr<N>;
        if (copy != nullptr) copy->FromString(*this);
        return copy;
    }
};

class VMacText : public ByteTextOf<VMacString, kStringMacText, 2> {
public:
    VMacText() = default;
    VMacText(const VMacText& source) : ByteTextOf(source) {}
    // Takes the source's null flag and, when not null, its text.
    explicit VMacText(const VString& source) : ByteTextOf(source) {}
    VMacText& operator=(const VMacText& source)
    {
        ByteTextOf::operator=(source);
        return *this;
    }
    ~VMacText() override;

    VValue* Clone() const override;
};
