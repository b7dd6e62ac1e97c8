#include "platform/textedit/StyleLayouts.h"

#include "platform/core/Endian.h"
#include "platform/drawing/TextRuns.h"

namespace platform {

namespace {

void WriteAttributes(uint8_t* p, const TextAttributes& a)
{
    WriteBE16(p, uint16_t(a.font));
    p[2] = a.face;
    p[3] = 0;
    WriteBE16(p + 4, uint16_t(a.size));
    WriteBE16(p + 6, a.color.red);
    WriteBE16(p + 8, a.color.green);
    WriteBE16(p + 10, a.color.blue);
}

TextAttributes ReadAttributes(const uint8_t* p)
{
    TextAttributes a;
    a.font = ReadBES16(p);
    a.face = p[2];
    a.size = ReadBES16(p + 4);
    if (a.size <= 0 || a.size > 512) a.size = 12;
    a.color = {ReadBE16(p + 6), ReadBE16(p + 8), ReadBE16(p + 10)};
    return a;
}

void Metrics(const TextAttributes& a, int16_t* height, int16_t* ascent)
{
    const FontInfo fi = StyleFontInfo(MakeTextStyle(a.font, a.size, a.face, 0));
    *height = int16_t(fi.ascent + fi.descent + fi.leading);
    *ascent = fi.ascent;
}

}  // namespace

std::vector<uint8_t> WriteStyleRecord(const std::vector<StyleRun>& runs, int32_t length, uint32_t refCon,
                                      int32_t styleCount)
{
    std::vector<uint8_t> out(kStyleRecordFixedSize + kStyleRunSize * (runs.size() + 1), 0);
    WriteBE16(out.data(), uint16_t(runs.size()));
    WriteBE16(out.data() + 2, uint16_t(styleCount));
    WriteBE32(out.data() + 12, refCon);
    uint8_t* p = out.data() + kStyleRecordFixedSize;
    for (const StyleRun& r : runs) {
        WriteBE16(p, uint16_t(r.start));
        WriteBE16(p + 2, uint16_t(r.style));
        p += kStyleRunSize;
    }
    WriteBE16(p, uint16_t(length + 1));
    WriteBE16(p + 2, 0);
    return out;
}

std::vector<uint8_t> WriteStyleTable(const std::vector<StyleSlot>& table)
{
    std::vector<uint8_t> out(kStyleTableEntrySize * table.size(), 0);
    uint8_t* p = out.data();
    for (const StyleSlot& s : table) {
        WriteBE16(p, uint16_t(s.count));
        WriteBE16(p + 2, uint16_t(s.height));
        WriteBE16(p + 4, uint16_t(s.ascent));
        WriteAttributes(p + 6, s.attr);
        p += kStyleTableEntrySize;
    }
    return out;
}

bool ReadStoredStyles(const uint8_t* record, size_t recordSize, const uint8_t* table, size_t tableSize,
                      int32_t length, std::vector<StyleRun>* runs, std::vector<StyleSlot>* slots,
                      uint32_t* refCon)
{
    if (!record || recordSize < kStyleRecordFixedSize || (!table && tableSize > 0)) return false;
    const int32_t nRuns = ReadBES16(record);
    const int32_t nStyles = ReadBES16(record + 2);
    const size_t entries = tableSize / kStyleTableEntrySize;
    if (nRuns < 1 || nStyles < 1 || size_t(nStyles) > entries) return false;
    // The runs and the closing one must lie inside the record.
    if (kStyleRecordFixedSize + kStyleRunSize * (size_t(nRuns) + 1) > recordSize) return false;
    std::vector<StyleRun> r;
    r.reserve(size_t(nRuns));
    const uint8_t* p = record + kStyleRecordFixedSize;
    for (int32_t i = 0; i < nRuns; ++i, p += kStyleRunSize) {
        const int32_t start = ReadBES16(p);
        const int32_t style = ReadBES16(p + 2);
        if (style < 0 || style >= nStyles) return false;
        if (i == 0 ? start != 0 : (start <= r.back().start || start >= length)) return false;
        r.push_back({start, int16_t(style)});
    }
    // The closing run marks the end of the text (the published form puts it
    // one past; the length itself is taken too).
    const int32_t close = ReadBES16(p);
    if (close != length + 1 && close != length) return false;
    std::vector<StyleSlot> t;
    t.reserve(size_t(nStyles));
    for (int32_t i = 0; i < nStyles; ++i) {
        const uint8_t* e = table + size_t(i) * kStyleTableEntrySize;
        StyleSlot s;
        s.count = ReadBES16(e);
        s.height = ReadBES16(e + 2);
        s.ascent = ReadBES16(e + 4);
        s.attr = ReadAttributes(e + 6);
        t.push_back(s);
    }
    *runs = std::move(r);
    *slots = std::move(t);
    if (refCon) *refCon = ReadBE32(record + 12);
    return true;
}

std::vector<uint8_t> WriteStyleScrap(const StyledFragment& fragment)
{
    std::vector<uint8_t> out(2 + kScrapStyleElementSize * fragment.runs.size(), 0);
    WriteBE16(out.data(), uint16_t(fragment.runs.size()));
    uint8_t* p = out.data() + 2;
    for (const auto& [start, attr] : fragment.runs) {
        int16_t height = 0, ascent = 0;
        Metrics(attr, &height, &ascent);
        WriteBE32(p, uint32_t(start));
        WriteBE16(p + 4, uint16_t(height));
        WriteBE16(p + 6, uint16_t(ascent));
        WriteAttributes(p + 8, attr);
        p += kScrapStyleElementSize;
    }
    return out;
}

bool ReadStyleScrap(const uint8_t* bytes, size_t size, int32_t length,
                    std::vector<std::pair<int32_t, TextAttributes>>* runs)
{
    runs->clear();
    if (!bytes || size < 2) return false;
    const int32_t n = ReadBES16(bytes);
    if (n < 1 || 2 + kScrapStyleElementSize * size_t(n) > size) return false;
    std::vector<std::pair<int32_t, TextAttributes>> out;
    const uint8_t* p = bytes + 2;
    for (int32_t i = 0; i < n; ++i, p += kScrapStyleElementSize) {
        const int32_t start = ReadBES32(p);
        if (i == 0 ? start != 0 : (start <= out.back().first || start > length)) return false;
        // A run starting at the end styles nothing.
        if (start == length && length > 0) continue;
        out.emplace_back(start, ReadAttributes(p + 8));
    }
    *runs = std::move(out);
    return true;
}

}  // namespace platform
