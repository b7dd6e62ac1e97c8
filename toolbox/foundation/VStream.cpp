#include "toolbox/foundation/VStream.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "toolbox/foundation/ByteSwap.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VValue.h"

using platform::ReverseBytes;

VStreamMonitor::~VStreamMonitor() = default;

VStream::VStream() : fDataKind(kCpuPowerPC), fHostKind(platform::kHostCpuKind), fError(kStreamNotOpen) {}

VStream::~VStream() = default;

namespace {

CpuKind SelectKind(CpuKind requested, CpuKind current)
{
    switch (requested) {
    case kCpuSelectPowerPC:
        return kCpuPowerPC;
    case kCpuSelectIntel:
        return kCpuIntel;
    case kCpuUnchanged:
        return current;
    default:
        return requested;
    }
}

}  // namespace

int16_t VStream::SetCpuKind(CpuKind dataKind, CpuKind hostKind)
{
    fDataKind = SelectKind(dataKind, fDataKind);
    fHostKind = SelectKind(hostKind, fHostKind);
    return fError;
}

int16_t VStream::Record(int16_t code)
{
    if (code != kStreamNotSupported && code != kStreamOpenForWriting && code != kStreamOpenForReading)
        fError = code;
    return code;
}

bool VStream::MonitorStops(uint32_t count)
{
    if (fMonitor && fMonitor->Query(count)) {
        fError = kStreamStopped;
        return true;
    }
    return false;
}

// --- reads -------------------------------------------------------------

int16_t VStream::ReadScalar(void* value, uint32_t size)
{
    if (MonitorStops(size)) return fError;
    uint8_t bytes[4] = {};
    uint32_t length = size;
    const int16_t err = Record(GetData(bytes, &length));
    if (err == 0) {
        if (size > 1 && NeedsSwap()) ReverseBytes(bytes, size);
        std::memcpy(value, bytes, size);
    }
    return err;
}

uint8_t VStream::GetByte()
{
    uint8_t value = 0;
    if (fError > 0) return 0;
    return ReadScalar(&value, 1) == 0 ? value : 0;
}

int16_t VStream::GetWord()
{
    int16_t value = 0;
    if (fError > 0) return 0;
    return ReadScalar(&value, 2) == 0 ? value : 0;
}

int32_t VStream::GetLong()
{
    int32_t value = 0;
    if (fError > 0) return 0;
    return ReadScalar(&value, 4) == 0 ? value : 0;
}

double VStream::GetReal()
{
    if (fError > 0) return 0.0;
    const uint32_t storedSize = fDataKind == kCpu68K ? 10 : 8;
    if (MonitorStops(storedSize)) return 0.0;
    uint8_t stored[10] = {};
    uint32_t length = storedSize;
    if (Record(GetData(stored, &length)) != 0 || length != storedSize) return 0.0;

    uint8_t memory[8];
    if (fDataKind == kCpu68K) {
        Real10toReal8(stored, memory);
        if (fHostKind == kCpuIntel) ReverseBytes(memory, 8);
    } else {
        std::memcpy(memory, stored, 8);
        if (NeedsSwap()) ReverseBytes(memory, 8);
    }
    double value;
    std::memcpy(&value, memory, 8);
    return value;
}

int16_t VStream::GetByte(uint8_t& value) { return fError != 0 ? fError : ReadScalar(&value, 1); }
int16_t VStream::GetByte(char& value) { return fError != 0 ? fError : ReadScalar(&value, 1); }
int16_t VStream::GetWord(uint16_t& value) { return fError != 0 ? fError : ReadScalar(&value, 2); }
int16_t VStream::GetWord(int16_t& value) { return fError != 0 ? fError : ReadScalar(&value, 2); }
int16_t VStream::GetLong(uint32_t& value) { return fError != 0 ? fError : ReadScalar(&value, 4); }
int16_t VStream::GetLong(int32_t& value) { return fError != 0 ? fError : ReadScalar(&value, 4); }

int16_t VStream::GetElements(void* data, int32_t* count, uint32_t elementSize)
{
    if (fError != 0 || *count <= 0) {
        *count = 0;
        return fError;
    }
    // Never more than a 32-bit byte count can say.
    const uint32_t wanted = uint32_t(*count) > UINT32_MAX / elementSize ? UINT32_MAX / elementSize
                                                                          : uint32_t(*count);
    if (MonitorStops(wanted * elementSize)) {
        *count = 0;
        return fError;
    }
    uint32_t length = wanted * elementSize;
    const int16_t err = Record(GetData(data, &length));
    const uint32_t delivered = length / elementSize;
    if (elementSize > 1 && err < kStreamNotOpen && NeedsSwap()) {
        auto* bytes = static_cast<uint8_t*>(data);
        for (uint32_t i = 0; i < delivered; ++i) ReverseBytes(bytes + i * elementSize, elementSize);
    }
    *count = int32_t(delivered);
    return err;
}

int16_t VStream::GetBytes(char* data, int32_t* count) { return GetElements(data, count, 1); }
int16_t VStream::GetBytes(unsigned char* data, int32_t* count) { return GetElements(data, count, 1); }
int16_t VStream::GetWords(int16_t* words, int32_t* count) { return GetElements(words, count, 2); }
int16_t VStream::GetWords(uint16_t* words, int32_t* count) { return GetElements(words, count, 2); }
int16_t VStream::GetLongs(int32_t* longs, int32_t* count) { return GetElements(longs, count, 4); }
int16_t VStream::GetLongs(uint32_t* longs, int32_t* count) { return GetElements(longs, count, 4); }

int32_t VStream::GetValue(VValue& value)
{
    if (fError > 0) return fError;
    const int32_t result = value.ReadFromStream(this, 0);
    return result != 0 ? result : fError;
}

// --- writes ------------------------------------------------------------

int16_t VStream::PutByte(char value)
{
    if (fError != 0) return fError;
    if (MonitorStops(1)) return fError;
    return Record(PutData(&value, 1));
}

int16_t VStream::PutWord(int16_t value)
{
    if (fError != 0) return fError;
    if (MonitorStops(2)) return fError;
    if (NeedsSwap()) ReverseBytes(&value, 2);
    return Record(PutData(&value, 2));
}

VStream& VStream::operator<<(int16_t value)
{
    if (fError > 0 || MonitorStops(2)) return *this;
    if (NeedsSwap()) ReverseBytes(&value, 2);
    Record(PutData(&value, 2));
    return *this;
}

int16_t VStream::PutLong(int32_t value)
{
    if (fError != 0) return fError;
    if (MonitorStops(4)) return fError;
    if (NeedsSwap()) ReverseBytes(&value, 4);
    return Record(PutData(&value, 4));
}

int16_t VStream::WriteReal(double value)
{
    uint8_t memory[8];
    std::memcpy(memory, &value, 8);
    if (fDataKind == kCpu68K) {
        if (MonitorStops(10)) return fError;
        if (fHostKind == kCpuIntel) ReverseBytes(memory, 8);
        uint8_t extended[10];
        Real8toReal10(memory, extended);
        return Record(PutData(extended, 10));
    } else {
        if (MonitorStops(8)) return fError;
        if (NeedsSwap()) ReverseBytes(memory, 8);
        return Record(PutData(memory, 8));
    }
}

int16_t VStream::PutReal(double value)
{
    if (fError > 0) return fError;
    return WriteReal(value);
}

VStream& VStream::operator<<(double value)
{
    if (fError <= 0) WriteReal(value);
    return *this;
}

int16_t VStream::PutBytes(const char* data, int32_t count) { return PutElements(data, count, 1); }
int16_t VStream::PutBytes(const unsigned char* data, int32_t count) { return PutElements(data, count, 1); }
int16_t VStream::PutWords(const int16_t* words, int32_t count) { return PutElements(words, count, 2); }
int16_t VStream::PutLongs(const int32_t* longs, int32_t count) { return PutElements(longs, count, 4); }

int16_t VStream::PutElements(const void* data, int32_t count, uint32_t elementSize)
{
    if (fError != 0 || count <= 0) return fError;
    if (uint32_t(count) > uint32_t(INT32_MAX) / elementSize) {
        fError = kStreamCannotGrow;
        return fError;
    }
    const uint32_t bytes = uint32_t(count) * elementSize;
    if (MonitorStops(bytes)) return fError;
    if (elementSize == 1 || !NeedsSwap()) {
        return Record(PutData(data, bytes));
    }
    // The caller's array stays as it is: swap a copy.
    char* copy = gMemory->NewPtr(int32_t(bytes));
    if (!copy) {
        fError = kStreamCannotGrow;
        return fError;
    }
    std::memcpy(copy, data, bytes);
    for (uint32_t i = 0; i < bytes; i += elementSize) ReverseBytes(copy + i, elementSize);
    const int16_t err = Record(PutData(copy, bytes));
    gMemory->DisposePtr(copy);
    return err;
}

int16_t VStream::PutHexBytes(const char* data, int32_t count)
{
    static const char kDigits[] = "0123456789ABCDEF";
    if (fError != 0 || count <= 0) return fError;
    if (MonitorStops(uint32_t(count) * 2)) return fError;
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t byte = uint8_t(data[i]);
        int16_t err = Record(PutData(&kDigits[byte >> 4], 1));
        if (err == 0) err = Record(PutData(&kDigits[byte & 0x0F], 1));
        if (err != 0) return err;
    }
    return 0;
}

int32_t VStream::PutValue(const VValue& value, uint8_t withKind)
{
    if (fError != 0) return fError;
    const int32_t result = value.WriteToStream(this, withKind ? kValueTag : 0);
    return result != 0 ? result : fError;
}

int32_t HexToByte(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
