// An array of strings: each element is a toolbox string the array owns, or
// null (read as an empty string).
#pragma once

#include "toolbox/foundation/VArrayValue.h"

class VString;

class VArrayString : public VArrayValue {
public:
    explicit VArrayString(int32_t count = 0);
    VArrayString(const VArrayString& source);
    ~VArrayString() override;

    VValue* Clone() const override;
    ValueKind GetValueKind() const override;
    ValueKind GetElemValueKind() const override;
    int32_t SetCount(int32_t n, uint8_t shrink) override;
    int32_t Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const override;
    // Methods: 0 equal, 1 greater, 2 greater or equal (null elements
    // skipped), -1 smaller, -2 smaller or equal (a null element stops too).
    int32_t Find(const VString& value, int32_t start, uint8_t forward, CompareMethod method) const;
    int32_t _QuickFind(const VString& value) const;
    void CopyElements() override;
    void DeleteElements(int32_t from, int32_t count) override;
    int32_t CompareElements(const void* a, const void* b) const override;

    // The element (still owned by the array) or null.
    VString* GetVString(int32_t index) const;
    // Stores a string the caller gives up (deleted when the index names no element).
    void FromVString(VString* text, int32_t index);
    int32_t AppendVString(VString* text, uint8_t all);

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
    VString*& Slot(int32_t i) const { return *reinterpret_cast<VString**>(ElementAt(i)); }
    // The element's string, made with `make` when there is none; null when
    // the index names no element. *existed tells which.
    template <class Make>
    VString* Target(int32_t index, Make make, bool* existed);
};
