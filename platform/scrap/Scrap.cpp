#include "platform/scrap/Scrap.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/scrap/ScrapText.h"

namespace platform {
namespace {

struct Flavor {
    ScrapFlavorFlags flags = 0;
    std::vector<uint8_t> data;
};

struct ScrapState {
    uintptr_t serial = 1;
    std::map<ScrapFlavorType, Flavor> flavors;
    ClipboardBridge* bridge = nullptr;
    void (*substitutedPasteNotice)() = nullptr;
    // Characters of another program's text that 'TEXT' holds as '?'.
    int32_t textSubstitutes = 0;
};

ScrapState& State()
{
    static auto* state = new ScrapState;
    return *state;
}

ScrapRef CurrentRef() { return reinterpret_cast<ScrapRef>(State().serial); }

// A new serial: never 0, never one handed out before in this run.
void NewSerial()
{
    ++State().serial;
    State().textSubstitutes = 0;
}

void TakeOutsideChange()
{
    ScrapState& s = State();
    try {
        std::string text;
        if (s.bridge && s.bridge->TakeChange(&text)) ExternalClipboardChanged(text);
    } catch (const std::bad_alloc&) {
        ClearCurrentScrap();
    }
}

// Hands text flavours put by the program to the system clipboard.
void BridgeText(ScrapFlavorType type, const std::vector<uint8_t>& data)
{
    ScrapState& s = State();
    if (!s.bridge) return;
    try {
        if (type == FourCC("TEXT")) s.bridge->Put(MacRomanCrToUtf8Lf(data));
        else if (type == FourCC("utxt")) s.bridge->Put(Utf16CrToUtf8Lf(data));
    } catch (const std::bad_alloc&) {
        // The system clipboard keeps what it had; the scrap still has the data.
    }
}

OSStatus Find(ScrapRef scrap, ScrapFlavorType type, Flavor** flavor)
{
    if (scrap != CurrentRef()) return badScrapRefErr;
    auto it = State().flavors.find(type);
    if (it == State().flavors.end()) return noTypeErr;
    *flavor = &it->second;
    return noErr;
}

}  // namespace

OSStatus GetCurrentScrap(ScrapRef* scrap)
{
    if (!scrap) return paramErr;
    TakeOutsideChange();
    *scrap = CurrentRef();
    return noErr;
}

OSStatus ClearCurrentScrap()
{
    State().flavors.clear();
    NewSerial();
    return noErr;
}

OSStatus PutScrapFlavor(ScrapRef scrap, ScrapFlavorType type, ScrapFlavorFlags flags, Size size, const void* data)
{
    if (scrap != CurrentRef()) return badScrapRefErr;
    if (size < 0 || (size > 0 && !data)) return paramErr;
    ScrapState& s = State();
    if (s.flavors.count(type)) return duplicateScrapFlavorErr;
    try {
        Flavor f;
        f.flags = flags;
        f.data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
        if (!(flags & kScrapFlavorMaskSenderOnly)) BridgeText(type, f.data);
        s.flavors.emplace(type, std::move(f));
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
    return noErr;
}

OSStatus GetScrapFlavorFlags(ScrapRef scrap, ScrapFlavorType type, ScrapFlavorFlags* flags)
{
    Flavor* f = nullptr;
    OSStatus err = Find(scrap, type, &f);
    if (flags) *flags = err ? 0 : f->flags;
    return err;
}

OSStatus GetScrapFlavorSize(ScrapRef scrap, ScrapFlavorType type, Size* size)
{
    Flavor* f = nullptr;
    OSStatus err = Find(scrap, type, &f);
    if (size) *size = err ? 0 : Size(f->data.size());
    return err;
}

OSStatus GetScrapFlavorData(ScrapRef scrap, ScrapFlavorType type, Size* size, void* data)
{
    if (!size || *size < 0) return paramErr;
    Flavor* f = nullptr;
    OSStatus err = Find(scrap, type, &f);
    if (err) {
        *size = 0;
        return err;
    }
    const Size n = std::min<Size>(*size, Size(f->data.size()));
    if (n > 0 && !data) return paramErr;
    if (n > 0) std::memcpy(data, f->data.data(), size_t(n));
    *size = n;
    return noErr;
}

OSStatus GetScrapFlavorCount(ScrapRef scrap, uint32_t* count)
{
    if (scrap != CurrentRef()) return badScrapRefErr;
    if (count) *count = uint32_t(State().flavors.size());
    return noErr;
}

void ExternalClipboardChanged(const std::string& utf8)
{
    ScrapState& s = State();
    s.flavors.clear();
    NewSerial();
    try {
        s.flavors[FourCC("TEXT")].data = Utf8LfToMacRomanCr(utf8, &s.textSubstitutes);
        s.flavors[FourCC("utxt")].data = Utf8LfToUtf16Cr(utf8);
    } catch (const std::bad_alloc&) {
        s.textSubstitutes = 0;
        // The copy is lost, never half kept: the scrap stays empty and new.
        s.flavors.clear();
    }
}

int32_t ScrapTextSubstitutes(ScrapRef scrap) { return scrap == CurrentRef() ? State().textSubstitutes : 0; }

void SetSubstitutedPasteNotice(void (*notice)()) { State().substitutedPasteNotice = notice; }

void NoticeSubstitutedPaste()
{
    if (State().substitutedPasteNotice) State().substitutedPasteNotice();
}

void SetClipboardBridge(ClipboardBridge* bridge) { State().bridge = bridge; }

void ResetScrap()
{
    ScrapState& s = State();
    s.flavors.clear();
    NewSerial();
}

}  // namespace platform
