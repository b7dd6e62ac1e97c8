// Stacks of fixed-size numbers in one growable block of gMemory that stays
// locked from its creation to the stack's end, so push and pop are plain
// memory accesses.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VStack : public VObject {
public:
    ~VStack() override;
    VStack(const VStack&) = delete;
    VStack& operator=(const VStack&) = delete;

    bool IsEmpty() const { return fCount == 0; }
    // Keeps the block for reuse.
    void EmptyIt() { fCount = 0; }

protected:
    explicit VStack(int32_t elementSize) : fElementSize(elementSize) {}

    // Room for one more element, at byte (count - 1) x size; null when the
    // block cannot grow, and then the stack is unchanged.
    char* PushSlot();
    // The top element's address, then one element less; null when empty.
    const char* PopSlot();

private:
    char** fHandle = nullptr;
    char* fElements = nullptr;
    int32_t fElementSize;
    int32_t fCount = 0;
    int32_t fCapacity = 0;
};

class VByteStack : public VStack {
public:
    VByteStack() : VStack(1) {}
};

class VWordStack : public VStack {
public:
    VWordStack() : VStack(2) {}
    // A push that cannot grow the block is dropped.
    void Push(int16_t value);
    // 0 when empty.
    int16_t Pop();
};

class VLongStack : public VStack {
public:
    VLongStack() : VStack(4) {}
    void Push(int32_t value);
    int32_t Pop();
};

class VRealStack : public VStack {
public:
    VRealStack() : VStack(8) {}
};
