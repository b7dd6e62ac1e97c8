#include "toolbox/views/VKeySwitch.h"

#include "platform/text/ScriptManager.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/system/ToolboxResources.h"

namespace {

constexpr int16_t kKeyNameList = 9000;

int16_t PlatformByteType(const uint8_t* text, int16_t offset)
{
    // The keyboard's script is the system script here.
    return platform::CharacterByteType(text, offset, 0);
}

VKeySwitch::ByteTypeProc gByteType = PlatformByteType;

}  // namespace

void VKeySwitch::SetByteTypeProc(ByteTypeProc proc) { gByteType = proc ? proc : PlatformByteType; }

bool VKeySwitch::FromEvent(const platform::EventRecord& event, bool unicode)
{
    fUnicode = unicode;
    const uint8_t byte = uint8_t(event.message & 0xFF);
    // A lead byte while one is already pending starts the character again:
    // the buffer holds one pair at most.
    if (fByteCount >= 2 || (fByteCount == 1 && gByteType(&byte, 0) == platform::smFirstByte)) fByteCount = 0;
    fBytes[fByteCount++] = byte;
    if (gByteType(fBytes, int16_t(fByteCount - 1)) == platform::smFirstByte) {
        fPendingEvent = event;
        fFullEventSaved = false;
        fChar = 0;
        fKeyCode = 0;
        fModifiers &= 0x03;
        return false;
    }
    const uint8_t* src = fBytes;
    char16_t ch = 0;
    if (gDefaultIntl)
        ch = fByteCount > 1 ? gDefaultIntl->Mac2Uni(src, fBytes + fByteCount) : gDefaultIntl->Mac2Uni(fBytes[0]);
    else
        ch = fBytes[0];
    fByteCount = 0;
    fChar = ch < 0x20 ? 0 : ch;
    fKeyCode = MacScanCodeToKeyCode(int16_t((event.message >> 8) & 0xFF));
    uint8_t mods = uint8_t(fModifiers & 0x03);
    if (event.modifiers & platform::shiftKey) mods |= kKeyShift;
    if (event.modifiers & platform::optionKey) mods |= kKeyOption;
    if (event.modifiers & platform::cmdKey) mods |= kKeyCommand;
    fModifiers = mods;
    fEvent = event;
    fFullEventSaved = true;
    return true;
}

uint8_t VKeySwitch::GetMacNativeChar() const
{
    if (fFullEventSaved) return uint8_t(fEvent.message & 0xFF);
    if (!gDefaultIntl) return uint8_t(fChar);
    const char16_t* src = &fChar;
    uint8_t out[2] = {};
    uint8_t* dst = out;
    gDefaultIntl->Uni2Mac(src, dst, out + 2, 1);
    return out[0];
}

void VKeySwitch::GetKeyString(VString& text) const
{
    const int32_t item = GetSpecialKeyItem();
    if (item > 0) {
        ToolboxGetString(text, kKeyNameList, int16_t(item));
        return;
    }
    uint8_t c[2] = {fKeyCode, 0};
    if (fKeyCode >= 128 && fKeyCode <= 137) c[0] = uint8_t(fKeyCode - 80);
    text.FromCString(c);
}
