// The UTF-16 strings (host order); storage is left to VStrInMem and VText.
#pragma once

#include "toolbox/foundation/VString.h"

class VUniString : public VString {
public:
    ~VUniString() override;

    CharSet GetCharSet() const override;
    int32_t GetCharSize() const override;
    void FromUniBlock(const char16_t* src, int32_t start, int32_t count, VIntlMgr* mgr = nullptr) override;
    void FromBlock(const uint8_t* src, int32_t start, int32_t count, CharSet set, VIntlMgr* mgr = nullptr) override;
    char16_t GetChar(int32_t index) const override;
    void SetChar(int32_t index, char16_t ch) override;

protected:
    VUniString() = default;
    VUniString(const VUniString&) = default;
};
