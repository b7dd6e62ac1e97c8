#include "transfer/modules/ModuleRecords.h"

#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "resources/container/ContainerLayout.h"

namespace transfer {

namespace {

constexpr int32_t kZeros = 40;

class In {
public:
    In(const uint8_t* bytes, int32_t size, bool little) : p_(bytes), n_(bytes ? size : 0), little_(little) {}

    int32_t Left() const { return n_ - at_; }
    bool Skip(int32_t n)
    {
        if (n < 0 || n > Left()) return false;
        at_ += n;
        return true;
    }
    bool U16(uint16_t* v)
    {
        if (Left() < 2) return false;
        const uint8_t* b = p_ + at_;
        *v = little_ ? uint16_t(b[0] | b[1] << 8) : uint16_t(b[0] << 8 | b[1]);
        at_ += 2;
        return true;
    }
    bool U32(uint32_t* v)
    {
        uint16_t a = 0, b = 0;
        if (Left() < 4) return false;
        U16(&a), U16(&b);
        *v = little_ ? uint32_t(b) << 16 | a : uint32_t(a) << 16 | b;
        return true;
    }
    // A toolbox string of at most `max` characters.
    bool String(VString* s, int32_t max)
    {
        uint32_t length = 0;
        if (!U32(&length)) return false;
        s->Clear();
        if (int32_t(length) <= 0) return true;
        uint32_t set = 0;
        if (!U32(&set) || int32_t(length) > max) return false;
        if (set == kCharSetUnicode) {
            if (Left() / 2 < int32_t(length) + 1) return false;
            char16_t units[256];
            for (uint32_t i = 0; i < length; ++i) {
                uint16_t u = 0;
                U16(&u);
                units[i] = char16_t(u);
            }
            s->FromUniBlock(units, 0, int32_t(length));
            return Skip(2);
        }
        if (set != kCharSetMac && set != kCharSetAnsi) return false;
        if (Left() < int32_t(length) + 1) return false;
        s->FromBlock(p_ + at_, 0, int32_t(length), int32_t(set));
        return Skip(int32_t(length) + 1);
    }
    int32_t Pos() const { return at_; }

private:
    const uint8_t* p_;
    int32_t n_;
    int32_t at_ = 0;
    bool little_;
};

class Out {
public:
    Out(std::vector<uint8_t>* out, bool little) : out_(out), little_(little) {}
    void U8(uint8_t v) { out_->push_back(v); }
    void U16(uint16_t v)
    {
        if (little_) U8(uint8_t(v)), U8(uint8_t(v >> 8));
        else U8(uint8_t(v >> 8)), U8(uint8_t(v));
    }
    void U32(uint32_t v)
    {
        if (little_) U16(uint16_t(v)), U16(uint16_t(v >> 16));
        else U16(uint16_t(v >> 16)), U16(uint16_t(v));
    }
    // Written as UTF-16, with its terminator.
    void String(const VString& s)
    {
        const int32_t length = s.GetLength();
        U32(uint32_t(length));
        if (length <= 0) return;
        U32(kCharSetUnicode);
        const auto* units = static_cast<const char16_t*>(s.LockAndGetCPointer());
        for (int32_t i = 0; i < length; ++i) U16(uint16_t(units[i]));
        U16(0);
    }

private:
    std::vector<uint8_t>* out_;
    bool little_;
};

// A copy of outside bytes in a platform block, freed on leaving.
class Block {
public:
    explicit Block(int32_t size) : p_(size > 0 ? platform::NewPtr(size) : nullptr), size_(size) {}
    ~Block()
    {
        if (p_) platform::DisposePtr(p_);
    }
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    bool Made() const { return size_ <= 0 || p_; }
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(p_); }

private:
    platform::Ptr p_;
    int32_t size_;
};

int16_t ReadLists(In& in, Module* module)
{
    for (int32_t l = 0; l < kModuleLists; ++l) {
        uint32_t count = 0;
        if (!in.U32(&count) || count > uint32_t(in.Left() / 8)) return 1;
        VArrayListOf<ObjetQz>* list = module->fLists[l];
        if (count > 0 && !list->xIncreaseSize(int32_t(count))) return platform::memFullErr;
        for (uint32_t i = 0; i < count; ++i) {
            uint16_t id = 0, state = 0;
            uint32_t key = 0;
            in.U16(&id), in.U16(&state), in.U32(&key);
            // A public member's resource is plain: whatever key is stored
            // there means nothing.
            list->Add(ObjetQz{int16_t(id), int16_t(state), int16_t(state) == 1 ? 0u : key});
        }
    }
    return 0;
}

int16_t ReadMap(const uint8_t* mapq, int32_t size, Module* module)
{
    if (!mapq) return 0;
    if (size < 1 || (mapq[0] != 1 && mapq[0] != 2)) return 1;
    In in(mapq + 1, size - 1, mapq[0] == 2);
    uint16_t version = 0;
    uint32_t count = 0;
    if (!in.U16(&version) || !in.U32(&count) || count > uint32_t(in.Left() / 8)) return 1;
    auto* map = new VArrayListOf<ResIDMap>;
    if (!map || (count > 0 && !map->xIncreaseSize(int32_t(count)))) {
        delete map;
        return platform::memFullErr;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t type = 0;
        uint16_t oldId = 0, newId = 0;
        in.U32(&type), in.U16(&oldId), in.U16(&newId);
        map->Add(ResIDMap{type, int16_t(oldId), int16_t(newId)});
    }
    delete module->fMap;
    module->fMap = map;
    return 0;
}

}  // namespace

int16_t ReadModule(const uint8_t* modq, int32_t modqSize, const uint8_t* mapq, int32_t mapqSize, Module* module)
{
    if (!module->Made()) return platform::memFullErr;
    if (!modq || modqSize < 1 || (modq[0] != 1 && modq[0] != 2)) return 1;
    const bool little = modq[0] == 2;
    In in(modq + 1, modqSize - 1, little);
    uint16_t format = 0;
    if (!in.U16(&format)) return 1;
    if (int16_t(format) < kModuleFormatFirst) return 1;
    if (int16_t(format) > kModuleFormatLast) return 2;
    module->fFormat = int16_t(format);
    if (!in.String(&module->fName, 31) || !in.String(&module->fSecond, 31) || !in.String(&module->fDate, 31) ||
        !in.String(&module->fVersion, 31) || !in.U32(&module->fVersionNb) || !in.String(&module->fComments, 255) ||
        !in.String(&module->fSeventh, 31))
        return 1;
    int16_t result = 0;
    if (module->fFormat < kModuleFormatCiphered) {
        result = ReadLists(in, module);
    } else {
        if (!in.Skip(kZeros)) return 1;
        const int32_t start = 1 + in.Pos();
        Block plain(modqSize - start);
        if (!plain.Made()) return platform::memFullErr;
        platform::BlockMoveData(modq + start, plain.Bytes(), modqSize - start);
        module->Shake(plain.Bytes(), modqSize - start);
        In lists(plain.Bytes(), modqSize - start, little);
        result = ReadLists(lists, module);
    }
    if (result == 0) result = ReadMap(mapq, mapqSize, module);
    return result;
}

int16_t EncodeModule(const Module& module, bool littleEndian, std::vector<uint8_t>* out)
{
    try {
        out->clear();
        Out o(out, littleEndian);
        o.U8(littleEndian ? 2 : 1);
        o.U16(uint16_t(module.fFormat));
        o.String(module.fName), o.String(module.fSecond), o.String(module.fDate), o.String(module.fVersion);
        o.U32(module.fVersionNb);
        o.String(module.fComments), o.String(module.fSeventh);
        const bool ciphered = module.fFormat >= kModuleFormatCiphered;
        if (ciphered)
            for (int32_t i = 0; i < kZeros; ++i) o.U8(0);
        const size_t start = out->size();
        for (auto* list : module.fLists) {
            const int32_t n = list ? list->GetCount() : 0;
            o.U32(uint32_t(n));
            for (int32_t i = 1; i <= n; ++i) {
                const ObjetQz e = list->GetNth(i);
                o.U16(uint16_t(e.id)), o.U16(uint16_t(e.state)), o.U32(e.state == 1 ? 0 : e.key);
            }
        }
        if (ciphered) module.Shake(out->data() + start, int32_t(out->size() - start));
        return 0;
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

int16_t EncodeResIDMap(VArrayListOf<ResIDMap>* map, bool littleEndian, std::vector<uint8_t>* out)
{
    try {
        out->clear();
        Out o(out, littleEndian);
        o.U8(littleEndian ? 2 : 1);
        o.U16(uint16_t(kModuleFormat));
        const int32_t n = map ? map->GetCount() : 0;
        o.U32(uint32_t(n));
        for (int32_t i = 1; i <= n; ++i) {
            const ResIDMap row = map->GetNth(i);
            o.U32(row.type), o.U16(uint16_t(row.oldId)), o.U16(uint16_t(row.newId));
        }
        return 0;
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

int16_t ReplaceStoreResource(platform::ResType type, int16_t id, const std::vector<uint8_t>& bytes)
{
    if (xget1res(type, id) && !rmveresbyid(type, id, true)) return reserr ? reserr : platform::ioErr;
    platform::Handle h = nullptr;
    if (platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())) != 0) return platform::memFullErr;
    if (!xaddres(h, type, id)) {
        platform::DisposeHandle(h);
        return reserr ? reserr : platform::ioErr;
    }
    return xwriteres(h) ? int16_t(0) : (reserr ? reserr : platform::ioErr);
}

void UpgradeCurrentFile()
{
    if (!g_resManager) return;
    if (CPseudoResFile* file = g_resManager->CurrentFile()) file->upgrade(container::kMagicLast);
}

}  // namespace transfer
