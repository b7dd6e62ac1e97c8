// The storage of the handle string kinds: length characters of unitSize
// bytes and a 0 terminator in a gMemory handle. Without a handle (a failed
// allocation) it reads as empty.
#pragma once

#include <cstdint>

class TextHandle {
public:
    TextHandle(int32_t unitSize, uint32_t initialBytes);
    TextHandle(const TextHandle& other);
    TextHandle& operator=(const TextHandle& other);
    ~TextHandle();

    int32_t GetLength() const { return fLength; }
    // False when the handle cannot take length + 1 units.
    bool SetLength(int32_t length);
    // Length 0; with release the handle shrinks to releasedBytes.
    void Clear(bool release, uint32_t releasedBytes);
    void Terminate();
    void* Lock() const;
    void Unlock() const;

private:
    char** fHandle = nullptr;
    int32_t fLength = 0;
    int32_t fUnitSize;
};
