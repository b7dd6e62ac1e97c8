// The byte-order-aware stream: typed reads and writes over two primitive
// transfers that each concrete stream supplies, with a sticky error code
// and the byte order and real format of the data and of the host.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VFileError.h"
#include "toolbox/foundation/VObject.h"

class VValue;

// Byte order and real format: 0 68K (big-endian, 10-byte extended reals),
// 1 PowerPC (big-endian doubles), 2 Intel (little-endian doubles).
using CpuKind = int16_t;
constexpr CpuKind kCpu68K = 0;
constexpr CpuKind kCpuPowerPC = 1;
constexpr CpuKind kCpuIntel = 2;
// Selectors of SetCpuKind, never stored.
constexpr CpuKind kCpuSelectPowerPC = -1;
constexpr CpuKind kCpuSelectIntel = -2;
constexpr CpuKind kCpuUnchanged = -3;

// Stream error codes. From 201 up they describe the stream's state.
constexpr int16_t kStreamNoWriteAddress = 100;
constexpr int16_t kStreamNoReadAddress = 103;
constexpr int16_t kStreamEndOfData = 200;
constexpr int16_t kStreamNotOpen = 201;
constexpr int16_t kStreamAlreadyOpen = 202;
constexpr int16_t kStreamCannotGrow = 203;
constexpr int16_t kStreamHandleLocked = 204;
constexpr int16_t kStreamNotSupported = 205;
constexpr int16_t kStreamOpenForWriting = 206;
constexpr int16_t kStreamOpenForReading = 207;
constexpr int16_t kStreamNoHandle = 208;
constexpr int16_t kStreamStopped = 218;

// The stream form tag of values written with their kind.
constexpr int32_t kValueTag = 0x5656414C;  // 'VVAL'

// Watches typed transfers; answering true stops the transfer (218).
class VStreamMonitor {
public:
    virtual ~VStreamMonitor();
    virtual bool Query(uint32_t byteCount) = 0;
};

class VStream : public VObject {
public:
    VStream();
    ~VStream() override;
    VStream(const VStream&) = delete;
    VStream& operator=(const VStream&) = delete;

    virtual int16_t OpenReading() = 0;
    virtual int16_t OpenWriting() = 0;
    virtual int16_t CloseReading() = 0;
    // setSize: cut the handle or file to the data written.
    virtual int16_t CloseWriting(uint8_t setSize) = 0;
    virtual int16_t PutData(const void* data, uint32_t length) = 0;
    // length in: bytes asked for; out: bytes delivered.
    virtual int16_t GetData(void* buffer, uint32_t* length) = 0;
    virtual uint32_t GetSize() = 0;
    virtual int32_t GetPos() = 0;
    virtual int16_t SetSize(uint32_t size) = 0;
    virtual int16_t SetPos(uint32_t pos) = 0;
    virtual int16_t SetPosByOffset(uint32_t offset) = 0;
    // 1-based offset of the first match from the position on, or 0.
    virtual uint32_t FindByte(char value) = 0;
    virtual uint32_t FindWord(int16_t value) = 0;
    virtual uint32_t FindLong(int32_t value) = 0;

    int16_t SetCpuKind(CpuKind dataKind, CpuKind hostKind);
    CpuKind GetDataKind() const { return fDataKind; }
    // The sticky error of the last transfer.
    int16_t GetError() const { return fError; }
    CpuKind GetHostKind() const { return fHostKind; }

    uint8_t GetByte();
    int16_t GetWord();
    int32_t GetLong();
    double GetReal();
    int16_t GetByte(uint8_t& value);
    int16_t GetByte(char& value);
    int16_t GetWord(uint16_t& value);
    int16_t GetWord(int16_t& value);
    int16_t GetLong(uint32_t& value);
    int16_t GetLong(int32_t& value);
    int16_t GetBytes(char* data, int32_t* count);
    int16_t GetBytes(unsigned char* data, int32_t* count);
    int16_t GetWords(int16_t* words, int32_t* count);
    int16_t GetWords(uint16_t* words, int32_t* count);
    int16_t GetLongs(int32_t* longs, int32_t* count);
    int16_t GetLongs(uint32_t* longs, int32_t* count);
    // The value's data (its kind was read by the caller).
    int32_t GetValue(VValue& value);

    int16_t PutByte(char value);
    int16_t PutWord(int16_t value);
    VStream& operator<<(int16_t value);
    int16_t PutLong(int32_t value);
    int16_t PutReal(double value);
    VStream& operator<<(double value);
    int16_t PutBytes(const char* data, int32_t count);
    int16_t PutBytes(const unsigned char* data, int32_t count);
    int16_t PutWords(const int16_t* words, int32_t count);
    int16_t PutLongs(const int32_t* longs, int32_t count);
    // Each byte as two upper-case hexadecimal characters.
    int16_t PutHexBytes(const char* data, int32_t count);
    // withKind: write the 'VVAL' form (kind long first).
    int32_t PutValue(const VValue& value, uint8_t withKind);

    void SetMonitor(VStreamMonitor* monitor) { fMonitor = monitor; }
    VFileErrorStack& GetFileErrorStack() { return fErrorStack; }

protected:
    // Keeps a transfer's code as the stream's error, except the refusals
    // (unsupported, wrong direction), which leave the stream as it was.
    int16_t Record(int16_t code);
    // True (and error 218) when the monitor stops a transfer of count bytes.
    bool MonitorStops(uint32_t count);
    // Words and longs change order when exactly one side is Intel.
    bool NeedsSwap() const { return (fDataKind == kCpuIntel) != (fHostKind == kCpuIntel); }

    CpuKind fDataKind;
    CpuKind fHostKind;
    int16_t fError;
    VFileErrorStack fErrorStack;
    VStreamMonitor* fMonitor = nullptr;

private:
    // Reads a byte, word or long in host order; the value is untouched on failure.
    int16_t ReadScalar(void* value, uint32_t size);
    int16_t GetElements(void* data, int32_t* count, uint32_t elementSize);
    int16_t PutElements(const void* data, int32_t count, uint32_t elementSize);
    int16_t WriteReal(double value);
};

// '0'-'9', 'A'-'F' and 'a'-'f' give 0-15; every other character -1.
int32_t HexToByte(char c);
