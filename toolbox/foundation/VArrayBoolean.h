// An array of booleans packed 8 to a byte, least significant bit first.
#pragma once

#include "toolbox/foundation/VArrayValue.h"

class VArrayBoolean : public VArrayValue {
public:
    explicit VArrayBoolean(int32_t count = 0);
    VArrayBoolean(const VArrayBoolean& source);

    VValue* Clone() const override;
    ValueKind GetValueKind() const override;
    ValueKind GetElemValueKind() const override;
    int32_t SetCount(int32_t n, uint8_t shrink) override;
    int32_t Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const override;
    int32_t Find(uint8_t value, int32_t start, uint8_t forward, CompareMethod method) const;
    void Sort(uint8_t descending) override;
    void Unsort() override;
    void ReOrder(const int32_t* perm) override;
    void MoveElements(int32_t from, int32_t to, int32_t count) override;
    int32_t CompareElements(const void* a, const void* b) const override;

    bool GetBoolean(int32_t index = -1) const override;
    int16_t GetWord(int32_t index = -1) const override;
    int32_t GetLong(int32_t index = -1) const override;
    int64_t GetLong8(int32_t index = -1) const override;
    int32_t GetHour(int32_t index = -1) const override;
    double GetReal(int32_t index = -1) const override;
    void ToBigLong(VBigLongInMem& target, int32_t index = -1) const override;
    void ToDate(DateBlock& date, int32_t index = -1) const override;
    void ToString(VString& target, VString* format = nullptr, int32_t index = -1) const override;
    void ToValue(VValue& target, int32_t index = -1) const override;
    void FromBoolean(uint8_t value, int32_t index = -1) override;
    void FromWord(int16_t value, int32_t index = -1) override;
    void FromLong(int32_t value, int32_t index = -1) override;
    void FromLong8(int64_t value, int32_t index = -1) override;
    void FromHour(int32_t value, int32_t index = -1) override;
    void FromReal(double value, int32_t index = -1) override;
    void FromBigLong(const VBigLongInMem& value, int32_t index = -1) override;
    void FromDate(const DateBlock& date, int32_t index = -1) override;
    void FromString(const VString& text, int32_t index = -1) override;
    void FromValue(const VValue& value, int32_t index = -1) override;
    int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const override;

protected:
    int64_t MinimumStreamBytes(int32_t count) const override;
    int32_t WriteElements(VStream* stream) const override;
    int32_t ReadElements(VStream* stream) override;

private:
    bool Bit(int32_t i) const;  // 1-based, inside the block
    void SetBit(int32_t i, bool on);
};
