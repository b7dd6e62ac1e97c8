#include "design/forms/FormTable.h"

#include <algorithm>
#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/documents/DocResources.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TableDescriptions.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int32_t kCountAt = 0, kPositionsAt = 2, kFormTableIdAt = 4;

int32_t EntriesHeld(const std::vector<uint8_t>& t)
{
    if (t.size() < size_t(kFormTableHeader)) return 0;
    const int32_t held = int32_t((t.size() - kFormTableHeader) / kFormEntrySize);
    return std::clamp<int32_t>(int16_t(platform::ReadBE16(&t[kCountAt])), 0, held);
}

}  // namespace

int32_t FindFormEntry(const std::vector<uint8_t>& table, int16_t formId)
{
    const int32_t n = EntriesHeld(table);
    for (int32_t i = 0; i < n; ++i)
        if (int16_t(platform::ReadBE16(&table[size_t(kFormTableHeader + i * kFormEntrySize + kFormEntryIdAt)])) ==
            formId)
            return i;
    return -1;
}

std::vector<uint8_t> WithoutFormEntry(const std::vector<uint8_t>& table, int32_t index)
{
    if (index < 0 || index >= EntriesHeld(table)) return table;
    std::vector<uint8_t> out(table);
    const auto at = out.begin() + kFormTableHeader + index * kFormEntrySize;
    out.erase(at, at + kFormEntrySize);
    const int16_t count = int16_t(int16_t(platform::ReadBE16(&out[kCountAt])) - 1);
    platform::WriteBE16(&out[kCountAt], uint16_t(count));
    for (int32_t p = kPositionsAt; p < kFormTableHeader; p += 2)
        if (int16_t(platform::ReadBE16(&out[size_t(p)])) > count) platform::WriteBE16(&out[size_t(p)], uint16_t(count));
    return out;
}

std::vector<uint8_t> WithFormName(const std::vector<uint8_t>& table, int32_t index, const unsigned char* name)
{
    if (index < 0 || index >= EntriesHeld(table)) return table;
    std::vector<uint8_t> out(table);
    uint8_t* field = &out[size_t(kFormTableHeader + index * kFormEntrySize)];
    const uint8_t n = std::min<uint8_t>(name[0], kFormEntryNameMax);
    std::memset(field, 0, kFormEntryNameMax + 1);
    field[0] = n;
    std::memcpy(field + 1, name + 1, n);
    return out;
}

int16_t FormTableIdOf(TObjQz* table)
{
    if (!table) return -1;
    platform::Handle def = xget1res(platform::FourCC("FIQz"), table->id);
    if (!def || !*def || platform::GetHandleSize(def) < kFormTableIdAt + 2) return -1;
    return int16_t(platform::ReadBE16(*def + kFormTableIdAt));
}

DocTables::DocTables(TMainDoc* doc) : savedContainer_(numresfalse), savedFile_(xcurres()), savedParams_(hparam)
{
    if (doc) UseQzRes(doc->fResFile);
    Init_ef();
}

DocTables::~DocTables()
{
    DisposeTableRecords();
    if (savedContainer_ > 0) UseQzRes(savedContainer_);
    else numresfalse = savedContainer_, hparam = savedParams_;
    useres(savedFile_);
}
