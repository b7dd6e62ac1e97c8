// The 8-bit strings: Mac Roman (VMacString.h) and Windows ANSI
// (VAnsiString.h). Fixed kinds keep a length byte, up to 255 bytes and a 0
// byte; handle kinds the bytes and a 0 byte.
#pragma once

#include "toolbox/foundation/VString.h"

class VByteString : public VString {
public:
    ~VByteString() override;

    int32_t GetCharSize() const override;
    void FromUniBlock(const char16_t* src, int32_t start, int32_t count, VIntlMgr* mgr = nullptr) override;
    void FromBlock(const uint8_t* src, int32_t start, int32_t count, CharSet set, VIntlMgr* mgr = nullptr) override;
    char16_t GetChar(int32_t index) const override;
    void SetChar(int32_t index, char16_t ch) override;

protected:
    VByteString() = default;
    VByteString(const VByteString&) = default;
};

// The fixed buffer of the 8-bit kinds: a length byte, the bytes, a 0 byte.
struct ByteBuffer {
    static void Clear(uint8_t* buffer)
    {
        buffer[0] = 0;
        buffer[1] = 0;
    }
    static bool SetLength(uint8_t* buffer, int32_t maxLength, int32_t length)
    {
        if (length < 0 || length > maxLength) return false;
        buffer[0] = static_cast<uint8_t>(length);
        buffer[1 + length] = 0;
        return true;
    }
};
