// The root of the typed values: one interface through which booleans,
// longs, reals, hours, dates, strings and arrays of them are read, converted,
// compared, copied, streamed and packed into raw memory.
//
// The trailing index argument is the element index of arrays; single values
// ignore it (callers pass -1). A value reads and writes its stored form
// through a stream with the tag 'VVAL' (leading kind long) or any other tag
// (data only).
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VString;
class VBigLongInMem;

// A date as stored: day, month (1-12), year (counted from 0).
struct DateBlock {
    int16_t day = 0;
    int16_t month = 0;
    int16_t year = 0;
};

// Value kinds answered by GetValueKind.
using ValueKind = int32_t;
constexpr ValueKind kValueEmpty = 0;
constexpr ValueKind kValueBoolean = 1;
constexpr ValueKind kValueWord = 2;  // array elements only
constexpr ValueKind kValueLong = 3;
constexpr ValueKind kValueReal = 5;
constexpr ValueKind kValueHour = 6;
constexpr ValueKind kValueDate = 7;
constexpr ValueKind kValueString = 8;
constexpr ValueKind kValuePicture = 10;
constexpr ValueKind kValueBooleanArray = 100;
constexpr ValueKind kValueWordArray = 101;
constexpr ValueKind kValueLongArray = 102;
constexpr ValueKind kValueStringArray = 107;

// CompareTo's answer for values that cannot be compared.
constexpr int32_t kValuesNotComparable = -1000;

class VValue : public VObject {
public:
    VValue() = default;
    ~VValue() override;

    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;

    virtual VValue* Clone() const = 0;
    virtual bool CanBeEvaluated() const = 0;
    virtual bool IsAnArray() const;
    virtual bool IsNumeric() const;
    virtual void SetDirty(uint8_t dirty);
    virtual bool IsDirty() const;
    virtual void SetNull(uint8_t null, int32_t index = -1);
    virtual bool IsNull(int32_t index = -1) const;
    virtual void Clear();
    virtual ValueKind GetValueKind() const = 0;

    virtual bool GetBoolean(int32_t index = -1) const;
    virtual int16_t GetWord(int32_t index = -1) const;
    virtual int32_t GetLong(int32_t index = -1) const;
    virtual int64_t GetLong8(int32_t index = -1) const;
    virtual int32_t GetHour(int32_t index = -1) const;
    virtual double GetReal(int32_t index = -1) const;
    virtual void ToBigLong(VBigLongInMem& target, int32_t index = -1) const;
    virtual void ToDate(DateBlock& date, int32_t index = -1) const;
    // format: a numeric or string format text, or for hours and dates a
    // value whose GetLong is the format number; null for none.
    virtual void ToString(VString& target, VString* format = nullptr, int32_t index = -1) const;
    virtual void ToValue(VValue& target, int32_t index = -1) const;

    virtual void FromBoolean(uint8_t value, int32_t index = -1);
    virtual void FromWord(int16_t value, int32_t index = -1);
    virtual void FromLong(int32_t value, int32_t index = -1);
    virtual void FromLong8(int64_t value, int32_t index = -1);
    virtual void FromHour(int32_t value, int32_t index = -1);
    virtual void FromReal(double value, int32_t index = -1);
    virtual void FromBigLong(const VBigLongInMem& value, int32_t index = -1);
    virtual void FromDate(const DateBlock& date, int32_t index = -1);
    virtual void FromString(const VString& text, int32_t index = -1);
    virtual void FromValue(const VValue& value, int32_t index = -1);

    // -1, 0 or 1 after converting other to this value's kind, or
    // kValuesNotComparable. The byte is used by strings only.
    virtual int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const = 0;

    // The raw storage in memory order; each returns the address just past it.
    virtual void* LoadFromPtr(void* data, uint8_t swap = 0);
    virtual void* WriteToPtr(void* data, uint8_t swap = 0) const;
    // Bytes of the pointer form.
    virtual int32_t GetSpace() const;

protected:
    VValue(const VValue&) = default;
    VValue& operator=(const VValue&) = default;

    uint8_t fIsNull = 0;
};
