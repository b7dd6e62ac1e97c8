// The recent-documents list ('SP2#' 0 of the preferences file) and its
// menu (command 11): every successful open puts its document first; at
// most five are kept.
#include "app/documents/RecentList.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

constexpr int16_t kOpenSpecial = 11;
const ResType kSP2 = FourCC("SP2#");

size_t EntryAt(size_t i) { return size_t(kSp2HeaderSize) + i * size_t(kSp2EntrySize); }

// The list's bytes from the preferences file; empty when missing.
std::vector<uint8_t> LoadList(bool* present)
{
    std::vector<uint8_t> bytes;
    *present = false;
    if (G_PrefResFile == -1) return bytes;
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    Handle h = Get1Resource(kSP2, 0);
    if (h && *h) {
        const auto* p = reinterpret_cast<const uint8_t*>(*h);
        bytes.assign(p, p + GetHandleSize(h));
        *present = true;
    }
    UseResFile(saved);
    return bytes;
}

std::string Field(const uint8_t* field) { return std::string(reinterpret_cast<const char*>(field + 1), field[0]); }

}  // namespace

int16_t OpenSpecialCount(const uint8_t* bytes, size_t size)
{
    if (!bytes || size < size_t(kSp2HeaderSize)) return 0;
    // The stored count is the file's word: only whole entries that are
    // there count, and never more than five.
    const size_t stored = ReadBE16(bytes + 86);
    const size_t fits = (size - size_t(kSp2HeaderSize)) / size_t(kSp2EntrySize);
    return int16_t(std::min({stored, fits, size_t(kMaxOpenSpecial)}));
}

bool OpenSpecialEntry(const uint8_t* bytes, size_t size, int16_t index, OpenSpecialItem* item)
{
    if (index < 0 || index >= OpenSpecialCount(bytes, size)) return false;
    const uint8_t* e = bytes + EntryAt(size_t(index));
    item->name = Field(e);
    item->path = Field(e + 256);
    item->folder = int32_t(ReadBE32(e + 512));
    item->type = ReadBE32(e + 516);
    return true;
}

bool AddToOpenSpecial(std::vector<uint8_t>* bytes, const std::string& path, const std::string& name, OSType type)
{
    // A path or name its field cannot hold whole would never open again.
    if (path.size() > 255 || name.size() > 255) return false;
    std::vector<uint8_t>& b = *bytes;
    int16_t n = OpenSpecialCount(b.data(), b.size());
    if (b.size() < size_t(kSp2HeaderSize)) {
        b.assign(EntryAt(1), 0);
        n = 0;
    }
    b.resize(EntryAt(size_t(n) + 1), 0);
    for (int16_t i = 0; i < n; ++i) {
        const uint8_t* e = b.data() + EntryAt(size_t(i));
        if (Field(e) != name || Field(e + 256) != path) continue;
        if (i > 0) {
            std::vector<uint8_t> found(e, e + kSp2EntrySize);
            std::memmove(b.data() + EntryAt(1), b.data() + EntryAt(0), size_t(i) * size_t(kSp2EntrySize));
            std::memcpy(b.data() + EntryAt(0), found.data(), found.size());
        }
        return true;
    }
    if (n < kMaxOpenSpecial) {
        ++n;
        b.resize(EntryAt(size_t(n) + 1), 0);
    }
    std::memmove(b.data() + EntryAt(1), b.data() + EntryAt(0), size_t(n - 1) * size_t(kSp2EntrySize));
    uint8_t* e = b.data() + EntryAt(0);
    std::memset(e, 0, size_t(kSp2EntrySize));
    e[0] = uint8_t(name.size());
    std::memcpy(e + 1, name.data(), name.size());
    e[256] = uint8_t(path.size());
    std::memcpy(e + 257, path.data(), path.size());
    WriteBE32(e + 516, type);
    WriteBE16(b.data() + 86, uint16_t(n));
    return true;
}

void AddOpenSpecial(const std::string& path, const std::string& name, OSType type)
{
    if (G_PrefResFile == -1) return;
    bool present = false;
    std::vector<uint8_t> bytes = LoadList(&present);
    if (!AddToOpenSpecial(&bytes, path, name, type)) {
        UpdateOpenSpecialMenu();
        return;
    }
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    const bool added = bytes[84] != 0 && present;
    Handle h = added ? Get1Resource(kSP2, 0) : nullptr;
    if (h) {
        SetHandleSize(h, Size(bytes.size()));
        if (MemError() == noErr) {
            std::memcpy(*h, bytes.data(), bytes.size());
            ChangedResource(h);
            WriteResource(h);
        }
    } else {
        // The list joins the preferences file once.
        if (present)
            if (Handle old = Get1Resource(kSP2, 0)) RemoveResource(old);
        bytes[84] = 1;
        if (PtrToHand(bytes.data(), &h, Size(bytes.size())) == noErr) {
            const unsigned char empty[1] = {0};
            AddResource(h, kSP2, 0, empty);
            if (ResError() == noErr) {
                SetResAttrs(h, resPurgeable);
                ChangedResource(h);
                WriteResource(h);
            } else {
                DisposeHandle(h);
            }
        }
    }
    UpdateResFile(G_PrefResFile);
    G_Special = nullptr;  // the list is read again where it is needed
    UseResFile(saved);
    UpdateOpenSpecialMenu();
}

void OpenSpecialText(const std::string& path, const std::string& name, std::string* text)
{
    if (path.size() + name.size() <= 64) {
        *text = path + name;
        return;
    }
    const size_t room = name.size() < 60 ? 60 - name.size() : 0;
    const std::string head = path.substr(0, std::min(room, path.size()));
    const size_t colon = head.rfind(':');
    *text = (colon == std::string::npos ? std::string() : head.substr(0, colon + 1)) + "..:" + name;
}

void UpdateOpenSpecialMenu()
{
    for (int16_t i = NbSFunc(kOpenSpecial); i >= 1; --i) DelFuncItem(kOpenSpecial, i);
    bool present = false;
    const std::vector<uint8_t> bytes = LoadList(&present);
    const int16_t n = OpenSpecialCount(bytes.data(), bytes.size());
    for (int16_t i = 0; i < n; ++i) {
        OpenSpecialItem item;
        if (!OpenSpecialEntry(bytes.data(), bytes.size(), i, &item)) break;
        std::string text;
        OpenSpecialText(item.path, item.name, &text);
        // Put in as a space and then named, so that no character of the
        // text is read as a menu metacharacter.
        InsFuncItem(kOpenSpecial, reinterpret_cast<const unsigned char*>("\x01 "), 32767, 0);
        MenuRef menu = nullptr;
        int16_t at = 0;
        GetMItem(kOpenSpecial, NbSFunc(kOpenSpecial), &menu, &at);
        Str255 p;
        p[0] = uint8_t(std::min<size_t>(text.size(), 255));
        std::memcpy(p + 1, text.data(), p[0]);
        if (menu && at > 0) SetMenuItemText(menu, MenuItemIndex(at), p);
    }
    DrawMenuBar();
}

int16_t TAppl::OpenSpecial()
{
    int16_t index = 0;
    if (PopInteger(&index)) return 0;
    if (CheckMemory(30720)) {
        NoMemory(0);
        return 0;
    }
    bool present = false;
    const std::vector<uint8_t> bytes = LoadList(&present);
    OpenSpecialItem item;
    if (!OpenSpecialEntry(bytes.data(), bytes.size(), int16_t(index - 1), &item)) return 0;
    FSSpec fileSpec;
    if (FSMakeFSSpecFromMacColonPath(item.path + item.name, &fileSpec) != noErr) {
        ErrMsg(fnfErr);
        return fnfErr;
    }
    return OpenNamedDoc(fileSpec, 0);
}
