#include "toolbox/drawing/VFontBuffer.h"

#include "platform/drawing/Text.h"
#include "toolbox/drawing/MacRomanRun.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/MacPort.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/system/VSystem.h"

VFontBuffer::VFontBuffer(uint32_t owner, int16_t font, int16_t size, uint8_t face)
    : fFont(font), fSize(size), fFace(face), fOwner(owner)
{
    UpdateTicks();
}

VFontBuffer::~VFontBuffer()
{
    for (int16_t* page : fPages)
        if (page) gMemory->DisposePtr(reinterpret_cast<char*>(page));
}

void VFontBuffer::UpdateTicks() { fTicks = VSystem::GetCurrentTicks(); }

int16_t VFontBuffer::GetUnicharWidth(char16_t c, VPainter* painter, platform::CGrafPtr port, double scale)
{
    int16_t*& page = fPages[c >> 8];
    if (!page) {
        page = reinterpret_cast<int16_t*>(gMemory->NewPtr(256 * sizeof(int16_t)));
        if (!page) return 0;  // tried again next time
        VMemoryMgr::Fill(reinterpret_cast<char*>(page), 256 * sizeof(int16_t), 0xFF);
    }
    int16_t& width = page[c & 0xFF];
    if (width == -1) {
        painter->ApplyPortFont(scale);
        uint8_t bytes[4];
        const char16_t* src = &c;
        uint8_t* dst = bytes;
        MacRomanFromUnicode(src, dst, bytes + sizeof bytes, 1);
        if (port) SetMacPort(port);
        width = platform::TextWidth(bytes, 0, int16_t(dst - bytes));
    }
    return width;
}
