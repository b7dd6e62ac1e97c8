// Arrays of signed 16- or 32-bit numbers in host byte order: the common part
// of VArrayWord and VArrayLong.
#pragma once

#include "toolbox/foundation/VArrayValue.h"

template <class T>
class VArrayNumber : public VArrayValue {
public:
    bool IsNumeric() const override { return true; }
    int32_t Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const override;
    // From `start`, forward or backward, the first element that meets the
    // method's test (0 =, 1 <, 2 <=, -1 >, -2 >=); -1 when none. An auto-sorted
    // array answers an equality search from 1 forward by binary search.
    int32_t Find(T value, int32_t start, uint8_t forward, CompareMethod method) const;
    int32_t _QuickFind(T value) const;
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
    VArrayNumber() : VArrayValue(int32_t(sizeof(T))) {}
    VArrayNumber(const VArrayNumber& source) = default;

    T Element(int32_t i) const;  // 1-based, inside the block
    // Stores into the element the index names, then sorts when the array sorts itself.
    void Store(T value, int32_t index);
    int32_t WriteElements(VStream* stream) const override;
    int32_t ReadElements(VStream* stream) override;
};

class VArrayWord : public VArrayNumber<int16_t> {
public:
    explicit VArrayWord(int32_t count = 0);
    VArrayWord(const VArrayWord& source);
    VValue* Clone() const override;
    ValueKind GetValueKind() const override;
    ValueKind GetElemValueKind() const override;
};

class VArrayLong : public VArrayNumber<int32_t> {
public:
    explicit VArrayLong(int32_t count = 0);
    VArrayLong(const VArrayLong& source);
    VValue* Clone() const override;
    ValueKind GetValueKind() const override;
    ValueKind GetElemValueKind() const override;
};
