#include "design/objects/Equality.h"

#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjQz.h"
#include "kernel/fields/FieldTypes.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

using platform::FourCC;

// A copy of one resource of a store file, released on leaving.
class Loaded {
public:
    Loaded(int16_t file, uint32_t type, int16_t id)
    {
        const int16_t saved = xcurres();
        useres(file);
        if (platform::Handle h = xget1res(type, id)) {
            bytes_ = reinterpret_cast<const uint8_t*>(*h);
            size_ = int32_t(platform::GetHandleSize(h));
            copy_.assign(bytes_, bytes_ + size_);
            bytes_ = copy_.data();
            unloadres(type, id);
        }
        useres(saved);
    }
    Loaded(platform::Handle h)
    {
        if (h && *h) copy_.assign(reinterpret_cast<const uint8_t*>(*h), reinterpret_cast<const uint8_t*>(*h) + platform::GetHandleSize(h));
        bytes_ = copy_.data();
        size_ = int32_t(copy_.size());
    }
    bool Has(int32_t at, int32_t n) const { return !copy_.empty() && at >= 0 && n >= 0 && at + n <= size_; }
    int16_t Word(int32_t at) const { return Has(at, 2) ? platform::ReadBES16(bytes_ + at) : 0; }
    // A length-prefixed string in a field of `width` bytes, cut to fit.
    void Str(int32_t at, int32_t width, unsigned char* out) const
    {
        out[0] = 0;
        if (!Has(at, width)) return;
        const uint8_t n = bytes_[at] < width ? bytes_[at] : uint8_t(width - 1);
        out[0] = n;
        std::memcpy(out + 1, bytes_ + at + 1, n);
    }
    uint8_t Byte(int32_t at) const { return Has(at, 1) ? bytes_[at] : 0; }
    bool Empty() const { return copy_.empty(); }

private:
    std::vector<uint8_t> copy_;
    const uint8_t* bytes_ = nullptr;
    int32_t size_ = 0;
};

constexpr int32_t kFieldsAt = 30, kFieldSize = 66;

bool SameCrits(int16_t fileA, int16_t fileB, const Loaded& a, const Loaded& b, int32_t depth)
{
    if (a.Empty() || b.Empty() || depth > kMaxSubtableDepth) return false;
    const int16_t count = a.Word(0);
    if (count != b.Word(0) || count < 0) return false;
    if (!a.Has(kFieldsAt, count * kFieldSize) || !b.Has(kFieldsAt, count * kFieldSize)) return false;
    for (int16_t k = 0; k < count; ++k) {
        const int32_t at = kFieldsAt + k * kFieldSize;
        unsigned char na[256], nb[256];
        a.Str(at, 32, na);
        b.Str(at, 32, nb);
        if (rel2str(na, nb) != kEqual || a.Byte(at + 32) != b.Byte(at + 32)) return false;
        if (a.Byte(at + 32) == fieldtype::kSubtable) {
            // A subtable naming one of its own owners would recurse for ever:
            // the depth bound ends such a chain as unequal.
            Loaded subA(fileA, FourCC("FIQz"), a.Word(at + 48));
            Loaded subB(fileB, FourCC("FIQz"), b.Word(at + 48));
            if (!SameCrits(fileA, fileB, subA, subB, depth + 1)) return false;
        }
    }
    return true;
}

int16_t FileOf(TObjQz* obj) { return obj && obj->owner ? obj->owner->fResFile : -1; }

bool SameExact(const unsigned char* a, const unsigned char* b) { return a[0] == b[0] && std::memcmp(a + 1, b + 1, a[0]) == 0; }

bool SameMenuRecords(const Loaded& a, const Loaded& b)
{
    if (a.Empty() || b.Empty()) return false;
    const int16_t n = a.Word(0);
    if (n != b.Word(0) || n < 0 || !a.Has(24, n * 86) || !b.Has(24, n * 86)) return false;
    unsigned char ta[256], tb[256];
    a.Str(2, 16, ta);
    b.Str(2, 16, tb);
    if (rel2str(ta, tb) != kEqual) return false;
    for (int16_t k = 0; k < n; ++k) {
        const int32_t at = 24 + 86 * k;
        for (int32_t field : {0, 32}) {
            a.Str(at + field, 32, ta);
            b.Str(at + field, 32, tb);
            if (rel2str(ta, tb) != kEqual) return false;
        }
    }
    return true;
}

}  // namespace

bool EqualCrits(int16_t fileA, int16_t fileB, platform::Handle a, platform::Handle b)
{
    return SameCrits(fileA, fileB, Loaded(a), Loaded(b), 0);
}

bool EqualFiles(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return false;
    Loaded ra(FileOf(a), FourCC("FIQz"), a->id);
    Loaded rb(FileOf(b), FourCC("FIQz"), b->id);
    return SameCrits(FileOf(a), FileOf(b), ra, rb, 0);
}

bool EqualMenu(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return false;
    return SameMenuRecords(Loaded(FileOf(a), FourCC("MENQ"), a->id), Loaded(FileOf(b), FourCC("MENQ"), b->id));
}

TObjQz* SearchEqualFile(TMainDoc* doc, TObjQz* table)
{
    if (!doc || !doc->fTypeList || !table) return nullptr;
    ObjListHdl list = doc->fTypeList->lists[0];
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TObjQz* t = list->At(i);
        if (t->kind == 1 && rel2str(t->name, table->name) == kEqual && EqualFiles(t, table)) return t;
    }
    return nullptr;
}

TObjQz* SearchEqualMBar(TMainDoc* doc, TObjQz* mbar)
{
    if (!doc || !doc->fTypeList || !mbar) return nullptr;
    ObjListHdl list = doc->fTypeList->lists[5 - 1];
    const int16_t srcFile = FileOf(mbar);
    const int16_t saved = xcurres();
    unsigned char srcName[256] = {0};
    useres(srcFile);
    xgetresname(FourCC("BAQz"), mbar->id, srcName, false);
    useres(saved);
    Loaded src(srcFile, FourCC("BAQz"), mbar->id);
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TObjQz* bar = list->At(i);
        unsigned char name[256] = {0};
        useres(doc->fResFile);
        xgetresname(FourCC("BAQz"), bar->id, name, false);
        useres(saved);
        Loaded dst(doc->fResFile, FourCC("BAQz"), bar->id);
        if (src.Empty() || dst.Empty() || !SameExact(srcName, name)) continue;
        const int16_t menus = src.Word(0);
        if (menus != dst.Word(0) || menus < 0 || !src.Has(6, 6 * menus + 2) || !dst.Has(6, 6 * menus + 2)) continue;
        bool equal = true;
        for (int32_t k = 1; k <= menus && equal; ++k) {
            Loaded ma(srcFile, FourCC("MENQ"), src.Word(6 * k + 6));
            Loaded mb(doc->fResFile, FourCC("MENQ"), dst.Word(6 * k + 6));
            equal = SameMenuRecords(ma, mb);
        }
        if (equal) return bar;
    }
    return nullptr;
}
