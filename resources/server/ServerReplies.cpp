#include "resources/server/ServerReplies.h"

#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/server/ServerConnection.h"

using platform::Handle;
using platform::OSErr;

namespace {

constexpr OSErr kMapFailedErr = -2;

class Reader {
public:
    Reader(const uint8_t* data, int32_t length, bool otherOrder)
        : data_(data), length_(length < 0 ? 0 : length), little_(otherOrder)
    {
    }
    bool Has(int32_t n) const { return n >= 0 && n <= length_ - at_; }
    int32_t At() const { return at_; }
    uint16_t U16()
    {
        uint16_t v = little_ ? platform::ReadLE16(data_ + at_) : platform::ReadBE16(data_ + at_);
        at_ += 2;
        return v;
    }
    uint32_t U32()
    {
        uint32_t v = little_ ? platform::ReadLE32(data_ + at_) : platform::ReadBE32(data_ + at_);
        at_ += 4;
        return v;
    }
    uint8_t U8() { return data_[at_++]; }
    const uint8_t* Take(int32_t n)
    {
        const uint8_t* p = data_ + at_;
        at_ += n;
        return p;
    }

private:
    const uint8_t* data_;
    int32_t length_;
    bool little_;
    int32_t at_ = 0;
};

OSErr DecodeMapLists(const uint8_t* data, int32_t length, bool otherOrder,
                     std::vector<ServerMapType>* map);

}  // namespace

std::vector<uint8_t> ResRequestRecord(uint32_t serverFile, platform::ResType type, int16_t id)
{
    std::vector<uint8_t> r(12, 0);
    platform::WriteBE32(r.data(), serverFile);
    platform::WriteBE32(r.data() + 4, type);
    platform::WriteBE16(r.data() + 8, uint16_t(id));
    return r;
}

std::vector<uint8_t> ResContentsRecord(uint32_t serverFile, platform::ResType type, int16_t id,
                                       const void* contents, int32_t length)
{
    std::vector<uint8_t> r = ResRequestRecord(serverFile, type, id);
    r.resize(10);
    if (contents && length > 0) {
        const auto* p = static_cast<const uint8_t*>(contents);
        r.insert(r.end(), p, p + length);
    }
    return r;
}

std::vector<uint8_t> AnnounceClientPayload()
{
    std::vector<uint8_t> p(12, 0);
    platform::WriteBE32(p.data(), uint32_t(-4444));
    return p;
}

std::vector<uint8_t> IdByNamePayload(platform::ResType type, const unsigned char* name)
{
    std::vector<uint8_t> p(38, 0);
    platform::WriteBE32(p.data(), type);
    uint8_t n = name ? (name[0] > 31 ? 31 : name[0]) : 0;
    p[6] = n;
    if (n) std::memcpy(p.data() + 7, name + 1, n);
    return p;
}

uint32_t TakeStamp(Handle reply, bool otherOrder)
{
    if (!reply) return 0;
    platform::Size size = platform::GetHandleSize(reply);
    if (size < 5) return 0;
    const void* at = *reply + size - 4;
    uint32_t stamp = otherOrder ? platform::ReadLE32(at) : platform::ReadBE32(at);
    platform::SetHandleSize(reply, size - 4);
    return stamp;
}

ServerFileList DecodeFileList(const uint8_t* data, int32_t length, bool otherOrder)
{
    ServerFileList list;
    Reader in(data, length, otherOrder);
    if (!in.Has(2)) return list;
    int16_t count = int16_t(in.U16());
    for (int16_t i = 0; i < count && in.Has(11); ++i) {
        ServerFileEntry entry;
        entry.number = int32_t(in.U32());
        entry.kind = in.U32();
        in.U16();  // not used
        uint8_t n = in.U8();
        if (!in.Has(n)) break;
        const uint8_t* name = in.Take(n);
        entry.name.assign(reinterpret_cast<const char*>(name), n);
        if (entry.kind == platform::FourCC("BAS5")) list.structureFile = entry.number;
        if (entry.kind == platform::FourCC("AlDB")) list.alternativeFile = entry.number;
        list.files.push_back(std::move(entry));
    }
    return list;
}

OSErr DecodeServerMap(const uint8_t* data, int32_t length, bool otherOrder,
                      std::vector<ServerMapType>* map)
{
    OSErr err = DecodeMapLists(data, length, otherOrder, map);
    if (err) map->clear();
    return err;
}

namespace {

OSErr DecodeMapLists(const uint8_t* data, int32_t length, bool otherOrder,
                     std::vector<ServerMapType>* map)
{
    map->clear();
    Reader in(data, length, otherOrder);
    if (!in.Has(6)) return kServerBadReplyErr;
    in.U32();  // the count of further bytes, already used
    uint16_t types = in.U16();
    for (uint16_t t = 0; t < types; ++t) {
        if (!in.Has(6)) return kServerBadReplyErr;
        ServerMapType entry;
        uint16_t n = in.U16();
        entry.type = in.U32();
        if (!in.Has(int32_t(n) * 6)) return kServerBadReplyErr;
        entry.ids.reserve(n);
        entry.stamps.reserve(n);
        for (uint16_t i = 0; i < n; ++i) entry.ids.push_back(int16_t(in.U16()));
        for (uint16_t i = 0; i < n; ++i) entry.stamps.push_back(in.U32());
        map->push_back(std::move(entry));
    }
    // More bytes than the map's counts account for.
    return in.Has(1) ? kServerBadReplyErr : 0;
}

}  // namespace

OSErr FetchServerMap(uint32_t serverFile, std::vector<ServerMapType>* map)
{
    map->clear();
    std::vector<uint8_t> record = ResRequestRecord(serverFile, 0, 0);
    OSErr err = 0;
    Handle reply = SendServerRequest(kReqGetMap, record.data(), int32_t(record.size()),
                                     kTplResRequest, 0, &err);
    if (!reply) return err ? err : kMapFailedErr;
    bool other = ServerOtherOrder();
    platform::Size first = platform::GetHandleSize(reply);
    if (first < 4) {
        platform::DisposeHandle(reply);
        return kServerBadReplyErr;
    }
    uint32_t further = other ? platform::ReadLE32(*reply) : platform::ReadBE32(*reply);
    if (further > kMaxMapFurtherBytes) {
        platform::DisposeHandle(reply);
        return kServerBadReplyErr;
    }
    platform::SetHandleSize(reply, first + platform::Size(further));
    if (platform::MemError() != 0) {
        platform::DisposeHandle(reply);
        return kMapFailedErr;
    }
    const ResServerConnection& c = ServerConnection();
    for (uint32_t done = 0; done < further && err == 0;) {
        int32_t piece = int32_t(further - done < uint32_t(kMapPieceBytes) ? further - done
                                                                          : kMapPieceBytes);
        if (!c.readalone) {
            err = kServerNotConnectedErr;
            break;
        }
        c.readalone(*reply + first + done, piece);
        err = c.requesterr ? c.requesterr() : 0;
        done += uint32_t(piece);
    }
    if (err == 0)
        err = DecodeServerMap(reinterpret_cast<const uint8_t*>(*reply),
                              platform::GetHandleSize(reply), other, map);
    platform::DisposeHandle(reply);
    return err;
}
