// Shared helpers of the link parsers.
#include "design/links/ParseSupport.h"

#include <cstring>

#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

ParseResFile::ParseResFile(TMainDoc* doc) : saved_(xcurres())
{
    if (doc) useres(doc->fResFile);
}

ParseResFile::~ParseResFile() { useres(saved_); }

bool ParseOnce(TObjQz* obj)
{
    if (G_WaitParam) ++G_WaitParam->current;
    if (obj->TstFlag(kFlagParsed)) return true;
    obj->SetFlag(kFlagParsed, true);
    return false;
}

bool ParseCancelled() { return G_WaitParam && ChkWait(G_WaitParam); }

ByteView ByteView::Of(platform::Handle h)
{
    ByteView v;
    if (h && *h) {
        v.data = reinterpret_cast<const uint8_t*>(*h);
        v.size = size_t(platform::GetHandleSize(h));
    }
    return v;
}

bool ByteView::S16(size_t at, int16_t* v) const
{
    if (!Has(at, 2)) return false;
    *v = platform::ReadBES16(data + at);
    return true;
}

bool ByteView::S32(size_t at, int32_t* v) const
{
    if (!Has(at, 4)) return false;
    *v = platform::ReadBES32(data + at);
    return true;
}

bool ByteView::U8(size_t at, uint8_t* v) const
{
    if (!Has(at, 1)) return false;
    *v = data[at];
    return true;
}

bool ByteView::PStr(size_t at, size_t room, unsigned char* out) const
{
    if (room == 0 || !Has(at, 1)) return false;
    const size_t n = data[at];
    if (n + 1 > room || !Has(at + 1, n)) return false;
    out[0] = uint8_t(n);
    std::memcpy(out + 1, data + at + 1, n);
    return true;
}

int16_t MenuBarIdOfSlot(int32_t slot)
{
    const ByteView liba = ByteView::Of(xget1res(platform::FourCC("LIBA"), 0));
    int16_t count = 0, barId = 0;
    if (!liba.S16(0, &count) || slot < 1 || slot > count) return 0;
    return liba.S16(2 + size_t(slot - 1) * 2, &barId) ? barId : 0;
}
