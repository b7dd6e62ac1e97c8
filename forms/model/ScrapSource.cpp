#include "forms/model/ScrapSource.h"

#include <random>

#include "platform/core/Endian.h"
#include "resources/CPseudoResManager.h"

namespace {

constexpr uint16_t kRecordVersion = 1;
uint16_t gRunNumber = 0;

}  // namespace

uint16_t ScrapRunNumber()
{
    while (gRunNumber == 0) gRunNumber = uint16_t(std::random_device{}());
    return gRunNumber;
}

void SetScrapRunNumber(uint16_t number) { gRunNumber = number; }

void MakeSourceRecord(int16_t fileNumber, int16_t formId, uint8_t out[kSourceRecordSize])
{
    platform::WriteBE16(out, kRecordVersion);
    platform::WriteBE32(out + 2, uint32_t(ScrapRunNumber()) << 16 | uint16_t(fileNumber));
    platform::WriteBE32(out + 6, 0);
    platform::WriteBE32(out + 10, 0);
    platform::WriteBE16(out + 14, uint16_t(formId));
}

int16_t SourceRecordFile(const uint8_t* record, int32_t size, int16_t* formId)
{
    if (formId) *formId = 0;
    if (!record || size != kSourceRecordSize || platform::ReadBE16(record) != kRecordVersion) return 0;
    const uint32_t token = platform::ReadBE32(record + 2);
    if (token >> 16 != ScrapRunNumber()) return 0;
    const int16_t file = int16_t(token & 0xFFFF);
    const int16_t savedError = reserr;
    const bool open = file > 0 && g_resManager && g_resManager->FindFile(file);
    reserr = savedError;
    if (!open) return 0;
    if (formId) *formId = int16_t(platform::ReadBE16(record + 14));
    return file;
}
