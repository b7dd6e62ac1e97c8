// The date value, in memory it does not own (VDateInMem) or in itself
// (VDate), with the day arithmetic. Without storage it reads as the zero
// date and writes nothing.
#pragma once

#include "toolbox/foundation/VValueSingle.h"

class VDateInMem : public VValueSingle {
public:
    explicit VDateInMem(DateBlock* storage = nullptr) : fStorage(storage) {}
    ~VDateInMem() override;

    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    VValue* Clone() const override;
    bool CanBeEvaluated() const override;
    void Clear() override;
    ValueKind GetValueKind() const override;
    void ToBigLong(VBigLongInMem& target, int32_t index = -1) const override;
    void ToDate(DateBlock& date, int32_t index = -1) const override;
    void ToString(VString& target, VString* format = nullptr, int32_t index = -1) const override;
    void ToValue(VValue& target, int32_t index = -1) const override;
    void FromDate(const DateBlock& date, int32_t index = -1) override;
    void FromString(const VString& text, int32_t index = -1) override;
    void FromValue(const VValue& value, int32_t index = -1) override;
    int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const override;
    void* LoadFromPtr(void* data, uint8_t swap = 0) override;
    void* WriteToPtr(void* data, uint8_t swap = 0) const override;
    int32_t GetSpace() const override;

    // Today's date from the clock; not null.
    void FromToday();
    // Rolls an overflowing date forward (31/4 → 1/5, day 0 → the last day
    // of the previous month, month 13 → January of the next year).
    void Check();
    // Seconds from 1 January of year 0 to the start of the date; dates
    // before year 0 give the mirror image, negated.
    int64_t GetSecondsSinceYear0() const;
    int32_t CompareTo(const DateBlock& date) const;

    DateBlock* GetStorage() const { return fStorage; }
    void SetStorage(DateBlock* storage) { fStorage = storage; }

protected:
    DateBlock Get() const { return fStorage ? *fStorage : DateBlock{}; }
    void Set(const DateBlock& date)
    {
        if (fStorage) *fStorage = date;
    }

    DateBlock* fStorage;
};

class VDate : public VDateInMem {
public:
    VDate() : VDateInMem(&fValue) {}
    explicit VDate(const DateBlock& date) : VDateInMem(&fValue), fValue(date) {}
    VDate(int16_t day, int16_t month, int16_t year) : VDateInMem(&fValue), fValue{day, month, year} {}
    VDate(const VDate& other) : VDateInMem(&fValue), fValue(other.fValue) { fIsNull = other.fIsNull; }
    VDate& operator=(const VDate& other)
    {
        fValue = other.fValue;
        fIsNull = other.fIsNull;
        return *this;
    }
    ~VDate() override;

private:
    DateBlock fValue;
};
