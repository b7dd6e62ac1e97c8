#include "design/documentation/GetTe.h"

#include <cstring>
#include <utility>
#include <vector>

#include "app/documents/DocHooks.h"
#include "app/documents/Documentation.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/StyleLayouts.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr int16_t kDamaged = 1003;
constexpr uint32_t kStreamTag = FourCC("HECO");
constexpr uint32_t kStreamMark = 128;

TETextStyle FromAttributes(const TextAttributes& a)
{
    TETextStyle s{};
    s.tsFont = a.font;
    s.tsFace = a.face;
    s.tsSize = a.size;
    s.tsColor = a.color;
    return s;
}

OSErr LastTextError() { return TEGetLastError() == memFullErr ? memFullErr : noErr; }

// A version-1 body without the hooks' reader: the text alone.
int16_t ReadBodyText(Handle doc, TEHandle te)
{
    std::string text;
    if (!ReadPlainDocBody(reinterpret_cast<const uint8_t*>(*doc), size_t(GetHandleSize(doc)), &text))
        return kDamaged;
    TESetText(text.data(), int32_t(text.size()), te);
    return LastTextError();
}

}  // namespace

bool IsDocumentationType(uint32_t type)
{
    if ((type >> 16) == (uint32_t('H') << 8 | 'E')) return true;
    static constexpr uint32_t kTypes[] = {FourCC("GRHE"), FourCC("CCHE"), FourCC("BAHE"), FourCC("QzHE"),
                                          FourCC("FOHE"), FourCC("FIHE"), FourCC("MEHE"), FourCC("IHHE")};
    for (uint32_t t : kTypes)
        if (type == t) return true;
    return false;
}

int16_t InsertStyledText(TEHandle te, const uint8_t* text, size_t length, const uint8_t* scrap, size_t scrapSize)
{
    if (!te || (!text && length > 0)) return paramErr;
    if (length > size_t(kTEMaxLength)) return kDamaged;
    std::vector<std::pair<int32_t, TextAttributes>> runs;
    try {
        if (scrap && scrapSize >= 2) {
            std::vector<uint8_t> fixed(scrap, scrap + scrapSize);
            for (size_t at = 2; at + kScrapStyleElementSize <= fixed.size(); at += kScrapStyleElementSize)
                if (fixed[at + 10] == 0) fixed[at + 10] = fixed[at + 11];
            ReadStyleScrap(fixed.data(), fixed.size(), int32_t(length), &runs);
        }
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    const int32_t at = (**te).selStart;
    TEInsert(text, int32_t(length), te);
    if (OSErr err = LastTextError()) return err;
    for (size_t i = 0; i < runs.size(); ++i) {
        const int32_t from = at + runs[i].first;
        const int32_t to = at + (i + 1 < runs.size() ? runs[i + 1].first : int32_t(length));
        if (from >= to) continue;
        TESetSelect(from, to, te);
        const TETextStyle s = FromAttributes(runs[i].second);
        TESetStyle(doAll, &s, false, te);
    }
    TESetSelect(at + int32_t(length), at + int32_t(length), te);
    return LastTextError();
}

int16_t ReadDocStream(const uint8_t* bytes, size_t size, TEHandle te)
{
    if (!bytes || size < 8 || ReadBE32(bytes) != kStreamTag || ReadBE32(bytes + 4) != kStreamMark) return 0;
    if (size < 12) return kDamaged;
    const size_t scrapLength = ReadBE32(bytes + 8);
    if (scrapLength > size - 12) return kDamaged;
    const size_t textAt = 12 + scrapLength + 4;
    if (textAt > size) return kDamaged;
    const size_t textLength = ReadBE32(bytes + textAt - 4);
    if (textLength > size - textAt || textLength > size_t(kTEMaxLength)) return kDamaged;
    if (const int16_t err = InsertStyledText(te, bytes + textAt, textLength, bytes + 12, scrapLength)) return err;
    const size_t tail = textAt + textLength;
    if (size - tail >= 16) {
        const uint8_t* p = bytes + tail;
        (**te).selPoint = Point{int16_t(ReadBE32(p + 4)), int16_t(ReadBE32(p))};
        TESetSelect(int32_t(ReadBE32(p + 8)), int32_t(ReadBE32(p + 12)), te);
    }
    return 0;
}

int16_t GetTe(TEHandle te, int16_t resFile, uint32_t type, int16_t id)
{
    if (!te) return paramErr;
    if (type == FourCC("TEXT") || type == FourCC("styl")) {
        const int16_t saved = CurResFile();
        UseResFile(resFile);
        Handle text = Get1Resource(FourCC("TEXT"), id);
        Handle scrap = type == FourCC("styl") ? Get1Resource(FourCC("styl"), id) : nullptr;
        UseResFile(saved);
        if (!text || !*text) return 0;
        HLock(text);
        const size_t length = size_t(GetHandleSize(text));
        int16_t err = 0;
        if (scrap && *scrap) {
            HLock(scrap);
            err = InsertStyledText(te, reinterpret_cast<const uint8_t*>(*text), length,
                                   reinterpret_cast<const uint8_t*>(*scrap), size_t(GetHandleSize(scrap)));
            HUnlock(scrap);
        } else {
            TESetText(*text, int32_t(length), te);
            err = LastTextError();
        }
        HUnlock(text);
        TECalText(te);
        return err;
    }
    if (!IsDocumentationType(type)) return 0;
    // The whole record in the documentation's own face; a body with its
    // styles replaces them.
    TESetSelect(0, kTEMaxLength, te);
    TETextStyle face{};
    face.tsFont = 1;
    face.tsFace = bold;
    face.tsSize = 9;
    TESetStyle(doFont | doFace | doSize, &face, false, te);
    TECalText(te);
    Handle doc = xget1res(type, id);
    if (!doc || !*doc || GetHandleSize(doc) < 4) return 0;
    HLock(doc);
    int16_t err = 0;
    const uint32_t first = ReadBE32(*doc);
    const uint16_t version = uint16_t(first >> 16);
    if (version == 0) {
        // An older body holds no text of its own.
    } else if (version == 1) {
        if (GetHandleSize(doc) > 4)
            err = DocHooks().styleResToHte ? DocHooks().styleResToHte(doc, te) : ReadBodyText(doc, te);
    } else {
        err = ReadDocStream(reinterpret_cast<const uint8_t*>(*doc), size_t(GetHandleSize(doc)), te);
    }
    HUnlock(doc);
    TECalText(te);
    return err;
}
