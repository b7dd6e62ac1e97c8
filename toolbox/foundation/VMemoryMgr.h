// The toolbox's memory manager over the platform's relocatable blocks
// (handles) and fixed blocks (pointers), the process-wide instances and the
// overlap-safe block copy.
#pragma once

#include <cstdint>

class VString;
class VCppMemMgr;

class VMemoryMgr {
public:
    VMemoryMgr() = default;
    virtual ~VMemoryMgr();

    virtual char** NewHandle();
    virtual char** NewHandle(char* data, int32_t size) = 0;
    virtual char** NewHandle(char** source) = 0;
    virtual char** NewHandle(uint32_t size, uint16_t flags) = 0;
    virtual char** NewHandle(const VString& text);
    virtual char** NewHandleClear(uint32_t size, uint16_t flags) = 0;
    virtual void DisposeHandle(char** h) = 0;
    virtual char* LockHandle(char** h) = 0;
    virtual void UnlockHandle(char** h) = 0;
    virtual int32_t GetHandleSize(char** h) = 0;
    virtual uint8_t SetHandleSize(char** h, uint32_t size) = 0;
    virtual uint8_t SetHandleSizeClear(char** h, uint32_t size) = 0;
    virtual uint8_t IsLocked(char** h) = 0;
    virtual char** ForgetTrueHandle(char** h, uint8_t flag) = 0;
    virtual char** InsertTrueHandle(char** h, uint8_t flag) = 0;
    virtual char* NewPtr(char** source) = 0;
    virtual char* NewPtr(int32_t size) = 0;
    virtual char* NewPtrClear(int32_t size) = 0;
    virtual void DisposePtr(char* p) = 0;
    virtual int32_t GetFreeMemory() = 0;
    // Handles carry no count: a second reference is a second handle.
    virtual char** IncrementHandleRefCount(char** h);
    virtual void DecrementHandleRefCount(char** h);
    virtual int32_t GetHandleRefCount(char** h);

    int32_t GetLastError() const { return fLastError; }
    static void Fill(char* p, int32_t count, uint8_t value);

protected:
    int32_t fLastError = 0;
};

class VMemoryMgr_Mac : public VMemoryMgr {
public:
    using VMemoryMgr::NewHandle;

    char** NewHandle(char* data, int32_t size) override;
    char** NewHandle(char** source) override;
    char** NewHandle(uint32_t size, uint16_t flags) override;
    char** NewHandleClear(uint32_t size, uint16_t flags) override;
    void DisposeHandle(char** h) override;
    char* LockHandle(char** h) override;
    void UnlockHandle(char** h) override;
    int32_t GetHandleSize(char** h) override;
    uint8_t SetHandleSize(char** h, uint32_t size) override;
    uint8_t SetHandleSizeClear(char** h, uint32_t size) override;
    uint8_t IsLocked(char** h) override;
    char** ForgetTrueHandle(char** h, uint8_t flag) override;
    char** InsertTrueHandle(char** h, uint8_t flag) override;
    char* NewPtr(char** source) override;
    char* NewPtr(int32_t size) override;
    char* NewPtrClear(int32_t size) override;
    void DisposePtr(char* p) override;
    int32_t GetFreeMemory() override;
};

// The toolbox's handle memory; usable from the start of the run.
extern VMemoryMgr* gMemory;
// The small-block allocator; null until InitMemoryManagers.
extern VCppMemMgr* gCppMem;

// Creates gCppMem, then puts the platform manager in gMemory. Called first
// by the toolbox start-up; calling it again changes nothing.
void InitMemoryManagers();

// Copies count bytes; the two ranges may overlap.
void CopyBlock(const char* src, char* dst, uint32_t count);
void CopyBlock(const void* src, void* dst, uint32_t count);
