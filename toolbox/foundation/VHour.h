// The hour value, in memory it does not own (VHourInMem) or in itself
// (VHour). Without storage it reads as zero and writes nothing.
#pragma once

#include "toolbox/foundation/VValueSingle.h"

class VHourInMem : public VValueSingle {
public:
    explicit VHourInMem(int32_t* storage = nullptr) : fStorage(storage) {}
    ~VHourInMem() override;

    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
    VValue* Clone() const override;
    bool CanBeEvaluated() const override;
    bool IsNumeric() const override;
    void Clear() override;
    ValueKind GetValueKind() const override;
    bool GetBoolean(int32_t index = -1) const override;
    int16_t GetWord(int32_t index = -1) const override;
    int32_t GetLong(int32_t index = -1) const override;
    int64_t GetLong8(int32_t index = -1) const override;
    int32_t GetHour(int32_t index = -1) const override;
    double GetReal(int32_t index = -1) const override;
    void ToBigLong(VBigLongInMem& target, int32_t index = -1) const override;
    void ToString(VString& target, VString* format = nullptr, int32_t index = -1) const override;
    void ToValue(VValue& target, int32_t index = -1) const override;
    void FromBoolean(uint8_t value, int32_t index = -1) override;
    void FromWord(int16_t value, int32_t index = -1) override;
    void FromLong(int32_t value, int32_t index = -1) override;
    void FromLong8(int64_t value, int32_t index = -1) override;
    void FromHour(int32_t value, int32_t index = -1) override;
    void FromReal(double value, int32_t index = -1) override;
    void FromBigLong(const VBigLongInMem& value, int32_t index = -1) override;
    void FromString(const VString& text, int32_t index = -1) override;
    void FromValue(const VValue& value, int32_t index = -1) override;
    int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const override;
    void* LoadFromPtr(void* data, uint8_t swap = 0) override;
    void* WriteToPtr(void* data, uint8_t swap = 0) const override;
    int32_t GetSpace() const override;

    int32_t* GetStorage() const { return fStorage; }
    void SetStorage(int32_t* storage) { fStorage = storage; }

protected:
    int32_t Get() const { return fStorage ? *fStorage : 0; }
    void Set(int32_t value)
    {
        if (fStorage) *fStorage = value;
    }

    int32_t* fStorage;
};

class VHour : public VHourInMem {
public:
    explicit VHour(int32_t value = 0) : VHourInMem(&fValue), fValue(value) {}
    VHour(const VHour& other) : VHourInMem(&fValue), fValue(other.fValue) { fIsNull = other.fIsNull; }
    VHour& operator=(const VHour& other)
    {
        fValue = other.fValue;
        fIsNull = other.fIsNull;
        return *this;
    }
    ~VHour() override;

    // The text is evaluated as a time by the host.
    void FromString(const VString& text, int32_t index = -1) override;

private:
    int32_t fValue;
};
