// A component's properties 'moQz' and its name-code table 'cdQz'.
//
// 'moQz' (id and name = the component's), written big-endian:
//   u8  byte order: 1 big-endian, 2 little-endian (always written as 1)
//   i16 date[3]; u32 versionNb; u32 two further values
//   i16 public, protected, private folder ids (-1: none)
//   version, comments: streamed string values (i32 length; when above 0,
//       i32 character set, then the characters and a terminator)
//   i16 format: 2, or 3 in a component document; 200 an old record (0)
//   format > 0: u32 prefix (its characters in order); format > 1: u8
//   prefixSet; format > 2: the three folder ids again; u8 generated
#include <cstring>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/Groups.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/NameTables.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

namespace {

// Reads the record in either byte order, never past its end.
class PropsReader {
public:
    PropsReader(const uint8_t* p, int32_t size) : p_(p), size_(size) {}
    bool Little() const { return little_; }
    void SetLittle(bool little) { little_ = little; }
    bool Byte(uint8_t* v)
    {
        if (!Has(1)) return false;
        *v = p_[at_++];
        return true;
    }
    bool Word(int16_t* v)
    {
        if (!Has(2)) return false;
        *v = int16_t(little_ ? platform::ReadLE16(p_ + at_) : platform::ReadBE16(p_ + at_));
        at_ += 2;
        return true;
    }
    bool Long(uint32_t* v)
    {
        if (!Has(4)) return false;
        *v = little_ ? platform::ReadLE32(p_ + at_) : platform::ReadBE32(p_ + at_);
        at_ += 4;
        return true;
    }
    bool Raw(uint8_t* dest, int32_t n)
    {
        if (!Has(n)) return false;
        std::memcpy(dest, p_ + at_, size_t(n));
        at_ += n;
        return true;
    }
    // A streamed string value; text beyond 255 characters is dropped.
    bool String(unsigned char* out)
    {
        out[0] = 0;
        uint32_t length = 0, set = 0;
        if (!Long(&length)) return false;
        if (int32_t(length) <= 0) return true;
        if (!Long(&set)) return false;
        const int64_t unit = set == 2 ? 2 : 1;
        if (set > 2 || int64_t(length) + 1 > (size_ - at_) / unit) return false;
        const int32_t keep = length > 255 ? 255 : int32_t(length);
        for (int32_t i = 0; i < keep; ++i) {
            if (unit == 1) {
                out[i + 1] = p_[at_ + i];
            } else {
                const uint16_t c = little_ ? platform::ReadLE16(p_ + at_ + 2 * i) : platform::ReadBE16(p_ + at_ + 2 * i);
                out[i + 1] = c < 0x80 ? uint8_t(c) : uint8_t('?');
            }
        }
        out[0] = uint8_t(keep);
        at_ += int32_t((int64_t(length) + 1) * unit);
        return true;
    }

private:
    bool Has(int32_t n) const { return n >= 0 && at_ <= size_ - n; }
    const uint8_t* p_;
    int32_t size_;
    int32_t at_ = 0;
    bool little_ = false;
};

void PutWord(std::vector<uint8_t>& out, int16_t v)
{
    out.push_back(uint8_t(uint16_t(v) >> 8));
    out.push_back(uint8_t(v));
}

void PutLong(std::vector<uint8_t>& out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void PutString(std::vector<uint8_t>& out, const unsigned char* text)
{
    PutLong(out, text[0]);
    if (text[0] == 0) return;
    PutLong(out, 0);  // Mac Roman
    out.insert(out.end(), text + 1, text + 1 + text[0]);
    out.push_back(0);
}

int16_t FolderId(TGroupObjQz* folder) { return folder ? folder->id : -1; }

// The companion file's copy, removed.
void RemoveCompanionCopy(TMainDoc* doc, int16_t id)
{
    if (!doc || doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(doc->fRsrFile);
    if (platform::Handle h = platform::Get1Resource(FourCC("moQz"), id)) {
        platform::RemoveResource(h);
        platform::UpdateResFile(doc->fRsrFile);
        platform::DisposeHandle(h);
    }
    platform::UseResFile(saved);
}

}  // namespace

int16_t TModuleObjQz::ReadProperties()
{
    if (!owner) return kResourceMissing;
    std::vector<uint8_t> bytes;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    if (platform::Handle h = xget1res(FourCC("moQz"), id)) {
        bytes.assign(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
        RemoveCompanionCopy(owner, id);
    } else if (reserr == platform::memFullErr) {
        useres(saved);
        return platform::memFullErr;
    } else if (owner->fRsrFile >= 0 && platform::IsResFileOpen(owner->fRsrFile)) {
        const int16_t platformSaved = platform::CurResFile();
        platform::UseResFile(owner->fRsrFile);
        bool lost = false;
        if (platform::Handle c = platform::Get1Resource(FourCC("moQz"), id)) {
            bytes.assign(reinterpret_cast<uint8_t*>(*c), reinterpret_cast<uint8_t*>(*c) + platform::GetHandleSize(c));
            platform::ReleaseResource(c);
        } else {
            lost = platform::ResError() == platform::memFullErr;
        }
        platform::UseResFile(platformSaved);
        if (lost) {
            useres(saved);
            return platform::memFullErr;
        }
    }
    useres(saved);
    if (bytes.empty()) return 0;

    PropsReader r(bytes.data(), int32_t(bytes.size()));
    uint8_t order = 0;
    if (!r.Byte(&order) || (order != 1 && order != 2)) return kResourceMissing;
    r.SetLittle(order == 2);
    int16_t d[3], ids[3], format = 0;
    uint32_t nb = 0, x1 = 0, x2 = 0;
    unsigned char ver[256], com[256];
    if (!r.Word(&d[0]) || !r.Word(&d[1]) || !r.Word(&d[2]) || !r.Long(&nb) || !r.Long(&x1) || !r.Long(&x2) ||
        !r.Word(&ids[0]) || !r.Word(&ids[1]) || !r.Word(&ids[2]) || !r.String(ver) || !r.String(com) ||
        !r.Word(&format))
        return kResourceMissing;
    if (format == 200) format = 0;
    uint8_t pre[4] = {}, preSet = 0, gen = 0;
    if (format > 0) {
        if (!r.Raw(pre, 4)) return kResourceMissing;
        // Written as a 32-bit value: a little-endian record holds the
        // characters reversed.
        if (r.Little()) std::swap(pre[0], pre[3]), std::swap(pre[1], pre[2]);
        preSet = 1;
    }
    if (format > 1 && !r.Byte(&preSet)) return kResourceMissing;
    if (format > 2 && (!r.Word(&ids[0]) || !r.Word(&ids[1]) || !r.Word(&ids[2]))) return kResourceMissing;
    if (!r.Byte(&gen)) return kResourceMissing;

    std::memcpy(date, d, sizeof date);
    versionNb = nb, extra1 = x1, extra2 = x2;
    // An installed component's two words are its install's start and end.
    dateFrom = x1, dateTo = x2;
    std::memcpy(version, ver, size_t(ver[0]) + 1);
    std::memcpy(comments, com, size_t(com[0]) + 1);
    propsFormat = format;
    std::memcpy(prefix, pre, 4);
    prefixSet = preSet;
    generated = gen;
    hasRecord = true;
    TGroupObjQz** folders[3] = {&publicFolder, &protectedFolder, &privateFolder};
    for (int i = 0; i < 3; ++i) {
        *folders[i] = nullptr;
        for (int32_t m = 0; members && m < members->Size(); ++m)
            if (members->At(m)->kind == 33 && members->At(m)->id == ids[i] && ids[i] != -1)
                *folders[i] = static_cast<TGroupObjQz*>(members->At(m));
        if (*folders[i]) static_cast<TModuleGroupObjQz*>(*folders[i])->folderKind = int16_t(i + 1);
    }
    return 0;
}

int16_t TModuleObjQz::Read(void* record)
{
    if (const int16_t err = TGroupObjQz::Read(record)) return err;
    if (const int16_t err = ReadProperties()) return err;
    IModuleManager* manager = owner->fModuleManager;
    if (manager && members) {
        for (int32_t m = 0; m < members->Size(); ++m) {
            TObjQz* folder = members->At(m);
            if (folder->kind != 33) continue;
            const int16_t state = manager->GetObjState(FourCC("#GMO"), folder->id);
            TGroupObjQz* target = state == 1 ? publicFolder : state == 2 ? protectedFolder : state == 3 ? privateFolder : nullptr;
            if (target) static_cast<TModuleGroupObjQz*>(target)->SetModuleGroupState(state);
        }
    }
    if (publicFolder && publicFolder->TstFlag(kFlagInComponent)) {
        SetModuleState(1, false);
        SetFlag(kFlagDocReadOnly, true);
        IModule* module = manager ? manager->GetNamedModule(name) : nullptr;
        if (!module) return kComponentsRemoved;
        module->SetObject(this);
    }
    return 0;
}

int16_t TModuleObjQz::WriteProperties()
{
    if (!owner) return platform::memFullErr;
    const int16_t format = owner->IsModuleDoc() ? 3 : 2;
    std::vector<uint8_t> out;
    out.push_back(1);
    for (int16_t w : date) PutWord(out, w);
    PutLong(out, versionNb), PutLong(out, extra1), PutLong(out, extra2);
    PutWord(out, FolderId(publicFolder)), PutWord(out, FolderId(protectedFolder)), PutWord(out, FolderId(privateFolder));
    PutString(out, version);
    PutString(out, comments);
    PutWord(out, format);
    out.insert(out.end(), prefix, prefix + 4);
    out.push_back(prefixSet);
    if (format > 2)
        PutWord(out, FolderId(publicFolder)), PutWord(out, FolderId(protectedFolder)), PutWord(out, FolderId(privateFolder));
    out.push_back(generated);

    const int16_t saved = xcurres();
    useres(owner->fResFile);
    platform::Handle h = xget1res(FourCC("moQz"), id);
    bool added = false;
    if (!h) {
        if (platform::PtrToHand(out.data(), &h, platform::Size(out.size())) != 0) {
            useres(saved);
            return platform::memFullErr;
        }
        if (!xaddres(h, FourCC("moQz"), id)) {
            const int16_t err = reserr ? reserr : platform::memFullErr;
            platform::DisposeHandle(h);
            useres(saved);
            return err;
        }
        added = true;
    } else {
        platform::SetHandleSize(h, platform::Size(out.size()));
        if (platform::MemError() != 0) {
            useres(saved);
            return platform::memFullErr;
        }
        std::memcpy(*h, out.data(), out.size());
    }
    int16_t result = 0;
    xsetresname(FourCC("moQz"), id, name, false);
    if (!xwriteres(h)) result = reserr ? reserr : platform::ioErr;
    if (result == 0 && !(added ? updateres(owner->fResFile) : updateresNoMap(owner->fResFile)))
        result = reserr ? reserr : platform::ioErr;
    // The companion's copy goes only once the container holds its own.
    if (result == 0 && added) RemoveCompanionCopy(owner, id);
    if (result == 0) propsFormat = format;
    useres(saved);
    return result;
}

int16_t TModuleObjQz::Write()
{
    if (const int16_t err = TGroupObjQz::Write()) return err;
    return WriteProperties();
}

platform::Handle TModuleObjQz::GetNameCodeHandle()
{
    if (!owner) return nullptr;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    platform::Handle table = xget1res(FourCC("cdQz"), id);
    if (!table) {
        if (NewNameCode(&table, 30) != 0 || !table) {
            useres(saved);
            return nullptr;
        }
        if (!xaddres(table, FourCC("cdQz"), id)) {
            platform::DisposeHandle(table);
            useres(saved);
            return nullptr;
        }
    } else if (propsFormat < 2) {
        SortNameCode(table);
        xwriteres(table);
        WriteProperties();
        useres(owner->fResFile);
    }
    updateres(owner->fResFile);
    useres(saved);
    return table;
}

int16_t TModuleObjQz::SetNameCodeHandle(platform::Handle table)
{
    if (!owner || !table) return platform::paramErr;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    int16_t result = 0;
    if (!xwriteres(table) || !updateresNoMap(owner->fResFile)) result = reserr;
    useres(saved);
    return result;
}

void TModuleObjQz::DeleteNameCodeHandle()
{
    if (!owner) return;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    if (rmveresbyid(FourCC("cdQz"), id, true)) updateres(owner->fResFile);
    useres(saved);
}
