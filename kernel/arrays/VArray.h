// A growable array of fixed-size elements in one handle, optionally kept
// sorted, with binary search, sorting and nested locking. Subclasses give
// the element comparison.
#pragma once

#include <cstdint>

#include "kernel/arrays/VStreamableObject.h"

class VArray : public VStreamableObject {
public:
    // Flag bit 0: keep the elements sorted.
    static constexpr uint16_t kSorted = 0x0001;

    VArray(int16_t elementSize, int16_t growthStep, uint16_t flags);
    ~VArray() override;
    VArray(const VArray&) = delete;
    VArray& operator=(const VArray&) = delete;

    int32_t oReadFromStream(VStream* stream, int32_t length) override;
    int32_t oWriteToStream(VStream* stream) override;
    // Both arrays must have the same element size (false otherwise); copying
    // from itself changes nothing.
    virtual uint8_t CopyFrom(VArray* source);
    virtual int32_t oAddElem(const void* element);
    virtual int32_t oAddNSpaces(int32_t number, uint8_t clear);
    virtual uint8_t oInsertElem(const void* element, int32_t index);
    // Outside 0..count-1 the destination is zero-filled.
    virtual void oGetElem(int32_t index, void* destination);
    virtual void oDeleteElem(int32_t index);
    virtual void oDeleteNElems(int32_t first, int32_t number);
    virtual void oDeleteLastElem();
    virtual void oReinitArray();
    virtual int32_t oFindElem(const void* key);
    virtual void oReserveRoom(int32_t number, uint8_t addStep);
    virtual int32_t oGetNbElem();
    virtual void oLockArray();
    virtual void oUnlockArray();
    virtual void oSort(uint8_t ascending);
    virtual int32_t aGetMemUsage();
    virtual int32_t _oCompare(const void* a, const void* b);
    virtual int32_t _oAddElem(const void* element);
    virtual void _oSortAscending(int32_t from, int32_t to);
    virtual void _oSortDescending(int32_t from, int32_t to);

    void* oGetPtrOnFirstElem();
    const void* oGetPtrOnFirstElem() const;

protected:
    char* ElementAt(int32_t index) const { return *fBlock + int64_t(index) * fElementSize; }
    bool xAddOneSlot();
    // Index of an equal element (true) or of the place that keeps the order.
    bool xDicoFind(const void* key, int32_t* index);
    void xSwapElements(int32_t a, int32_t b);

    int32_t fCount = 0;
    int32_t fCapacity = 0;
    char** fBlock = nullptr;
    int16_t fGrowthStep;
    int16_t fElementSize;
    int16_t fLockCount = 0;
    uint16_t fFlags;

private:
    // Resizes the block to the given number of slots; false on failure.
    bool ResizeSlots(int64_t slots);
};
