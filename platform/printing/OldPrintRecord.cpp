#include "platform/printing/OldPrintRecord.h"

#include <cmath>
#include <cstring>

#include "platform/core/Endian.h"

namespace platform {

namespace {

constexpr double kUnitsPerPoint = 120.0 / 72.0;  // the style's paper size unit

void PutRect(uint8_t* at, const PMRect& r)
{
    // Toward zero, as the page rectangle is read everywhere else.
    WriteBE16(at, uint16_t(int16_t(std::trunc(r.top))));
    WriteBE16(at + 2, uint16_t(int16_t(std::trunc(r.left))));
    WriteBE16(at + 4, uint16_t(int16_t(std::trunc(r.bottom))));
    WriteBE16(at + 6, uint16_t(int16_t(std::trunc(r.right))));
}

int16_t S16(const uint8_t* record, size_t at) { return int16_t(ReadBE16(record + at)); }

// The paper and orientation whose size in 1/120 inch is (height, width).
bool PaperFromStyle(int32_t height, int32_t width, PMFormatObject* f)
{
    for (PMPaper paper : {PMPaper::Letter, PMPaper::A4}) {
        double w, h;
        PaperSize(paper, &w, &h);
        int32_t pw = int32_t(std::lround(w * kUnitsPerPoint)), ph = int32_t(std::lround(h * kUnitsPerPoint));
        for (PMOrientation o : {kPMPortrait, kPMLandscape}) {
            int32_t eh = o == kPMPortrait ? ph : pw, ew = o == kPMPortrait ? pw : ph;
            if (std::abs(height - eh) <= 2 && std::abs(width - ew) <= 2) {
                f->paper = paper;
                f->orientation = o;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void MakeOldPrintRecord(const PMSettingsObject& s, const PMFormatObject& f, uint8_t record[120])
{
    std::memset(record, 0, 120);
    PMFormatObject format = f;
    PMRect page, paper;
    PMGetAdjustedPageRect(&format, &page);
    PMGetAdjustedPaperRect(&format, &paper);
    WriteBE16(record + 0, uint16_t(kOldPrintRecordVersion));
    WriteBE16(record + 4, 72);
    WriteBE16(record + 6, 72);
    PutRect(record + 8, page);
    PutRect(record + 16, paper);
    double w, h;
    SheetSize(format, &w, &h);
    WriteBE16(record + 26, uint16_t(std::lround(h * kUnitsPerPoint)));
    WriteBE16(record + 28, uint16_t(std::lround(w * kUnitsPerPoint)));
    std::memcpy(record + 32, record + 2, 14);
    WriteBE16(record + 62, uint16_t(s.firstPage > 9998 ? 9998 : s.firstPage));
    WriteBE16(record + 64, uint16_t(s.lastPage >= kOldPrintLastPageAll ? kOldPrintLastPageAll : s.lastPage));
    WriteBE16(record + 66, uint16_t(s.copies));
}

void ReadOldPrintRecord(const uint8_t record[120], PMSettingsObject* s, PMFormatObject* f)
{
    DefaultSettings(s);
    DefaultFormat(f);

    // Paper and orientation from the style's paper size; scale from the
    // paper rectangle, which is the sheet in the page's units.
    if (PaperFromStyle(S16(record, 26), S16(record, 28), f)) {
        int32_t top = S16(record, 16), left = S16(record, 18), bottom = S16(record, 20), right = S16(record, 22);
        double w, h;
        SheetSize(*f, &w, &h);
        if (top <= 0 && left <= 0 && bottom > top && right > left) {
            double scale = std::round(h * 100.0 / double(bottom - top));
            double across = std::round(w * 100.0 / double(right - left));
            if (scale >= 25.0 && scale <= 400.0 && std::abs(scale - across) <= 2.0)
                f->scale = scale;
        }
        // The page rectangle must be the one that paper gives.
        PMRect page;
        PMGetAdjustedPageRect(f, &page);
        if (S16(record, 8) != 0 || S16(record, 10) != 0 || std::abs(S16(record, 12) - int32_t(page.bottom)) > 2 ||
            std::abs(S16(record, 14) - int32_t(page.right)) > 2)
            DefaultFormat(f);
    }

    int32_t copies = S16(record, 66);
    if (copies >= 1 && copies <= 999)
        s->copies = uint32_t(copies);
    int32_t first = S16(record, 62), last = S16(record, 64);
    if (first >= 1 && first < kOldPrintLastPageAll) {
        s->firstPage = uint32_t(first);
        if (last >= first && last < kOldPrintLastPageAll)
            s->lastPage = uint32_t(last);
    }
}

}  // namespace platform
