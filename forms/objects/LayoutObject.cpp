#include "forms/objects/LayoutObject.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "forms/iff/ChunkFields.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/reader/FormReader.h"
#include "looks/LookManager.h"

namespace {

constexpr int32_t kWhite = 0x00FFFFFF;

size_t gLiveObjects = 0;

int16_t Scaled(int16_t v, int16_t percent)
{
    // 32 bits: 30000 at 200 % would wrap in 16.
    const int32_t s = int32_t(v) * percent / 100;
    return int16_t(std::clamp<int32_t>(s, -32768, 32767));
}

}  // namespace

void* VObjectCleared::operator new(size_t size) noexcept
{
    void* p = VObject::operator new(size);
    if (p) std::memset(p, 0, size);
    return p;
}

void VObjectCleared::operator delete(void* p) noexcept { VObject::operator delete(p); }

LayoutObject::LayoutObject() { ++gLiveObjects; }

LayoutObject::LayoutObject(LayoutEditor* e) : editor(e)
{
    ++gLiveObjects;
    backColor = kWhite;
    layer = ModelCurrentLayer(e);
}

LayoutObject::LayoutObject(const LayoutObject& other)
    : VObjectCleared(other),
      bounds{other.bounds[0], other.bounds[1], other.bounds[2], other.bounds[3]},
      foreColor(other.foreColor),
      backColor(other.backColor),
      lookHandler(other.lookHandler),
      lookID(other.lookID),
      lookStyle(other.lookStyle),
      optionByte(other.optionByte),
      editor(other.editor),
      layer(other.layer),
      selected(other.selected),
      flagA(other.flagA),
      flagB(other.flagB),
      flagC(other.flagC),
      flagD(other.flagD),
      themes(other.themes)
{
    ++gLiveObjects;
    // A copy in a form takes a name no other object of the form has; a list
    // box's columns and headers keep theirs.
    if (editor && !const_cast<LayoutObject&>(other).IsSubObject()) AcceptObjectName(other.name, this, editor);
    else std::memcpy(name, other.name, sizeof name);
}

LayoutObject::~LayoutObject() { --gLiveObjects; }

size_t LayoutObject::LiveCount() { return gLiveObjects; }

IFFP LayoutObject::ReadObject(CustomClientFrame*, _GroupContext*) { return IFF_OKAY; }

int32_t LayoutObject::ReadObject(char*, int32_t) { return -1; }

platform::Handle LayoutObject::Convert2Obj() { return nullptr; }

void LayoutObject::GetColors(int32_t& fore, int32_t& back)
{
    fore = foreColor;
    back = backColor;
}

void LayoutObject::GetColors(int32_t& fore, int32_t& back, int32_t& third)
{
    GetColors(fore, back);
    third = 0;
}

platform::Rect LayoutObject::GetFullBounds() { return platform::Rect{bounds[0], bounds[1], bounds[2], bounds[3]}; }

void LayoutObject::GetName(unsigned char* out) { std::memcpy(out, name, size_t(std::min<uint8_t>(name[0], 31)) + 1); }

void LayoutObject::SetName(const unsigned char* newName)
{
    name[0] = std::min<uint8_t>(newName[0], 31);
    std::memcpy(name + 1, newName + 1, name[0]);
}

void LayoutObject::GetFontHeight(int16_t* ascent, int16_t* height)
{
    *ascent = -1;
    *height = -1;
}

void LayoutObject::SetColors(int32_t fore, int32_t back)
{
    foreColor = fore;
    backColor = back;
}

void LayoutObject::SetColors(int32_t fore, int32_t back, int32_t) { SetColors(fore, back); }

bool LayoutObject::GetFillPat(uint8_t pattern[8])
{
    std::memset(pattern, 0, 8);
    return false;
}

void LayoutObject::SetFillPat(const uint8_t*, bool) {}
void LayoutObject::SetPenPat(const uint8_t*, bool) {}
void LayoutObject::SetPenWidth(int16_t, int16_t) {}

void LayoutObject::ScaleObj(int16_t percent, uint8_t)
{
    for (int16_t& v : bounds) v = Scaled(v, percent);
}

VI_Handler* LayoutObject::GetVIProc() { return lookHandler ? lookHandler : ModelDefaultHandler(editor); }

void LayoutObject::SetLook(int16_t look)
{
    if (look == lookID) return;
    if (lookStyle < 0) lookStyle = 0;
    lookID = look;
    lookHandler = VI_Manager::GetHandler(look);
}

void LayoutObject::SetStoredLook(int32_t look)
{
    const int16_t kept = look < -3 || look > 7 ? -1 : int16_t(look);
    lookID = kept;
    lookHandler = VI_Manager::GetHandler(kept);
}

void LayoutObject::AddSubObject(LayoutObject* o)
{
    if (!o) return;
    o->next = nullptr;
    o->previous = lastChild;
    o->owner = this;
    if (lastChild) lastChild->next = o;
    else firstChild = o;
    lastChild = o;
}

void LayoutObject::RemoveSubObject(LayoutObject* o)
{
    for (LayoutObject* m = firstChild; m; m = m->next) {
        if (m != o) continue;
        if (m->previous) m->previous->next = m->next;
        else firstChild = m->next;
        if (m->next) m->next->previous = m->previous;
        else lastChild = m->previous;
        delete m;
        return;
    }
}

void LayoutObject::WriteLook(ChunkWriter& w) const
{
    w.U32(uint32_t(int32_t(lookID)));
    w.U16(uint16_t(lookStyle));
}

bool EqualPatterns(const uint8_t* a, const uint8_t* b)
{
    uint32_t a0, a1, b0, b1;
    std::memcpy(&a0, a, 4), std::memcpy(&a1, a + 4, 4);
    std::memcpy(&b0, b, 4), std::memcpy(&b1, b + 4, 4);
    return a0 == b0 && a1 == b1;
}
