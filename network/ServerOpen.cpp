// Opening a server's structure: the selection dialog and the connection.
#include "network/ServerOpen.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "kernel/handles/KernelHandles.h"
#include "kernel/helpers/KernelDialogs.h"
#include "kernel/store/StoreAccess.h"
#include "network/Requests.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"

using namespace platform;

int16_t localres = -1;
FSSpec gLocalResFileSpec;

namespace {

std::string gLastAddress;
std::string gLastStructure;

constexpr int16_t kServerDialog = 5001;
constexpr int16_t kOpenItem = 1, kCancelItem = 2, kAddressItem = 4, kNameItem = 6;

void SetItemString(DialogRef dialog, int16_t item, const std::string& utf8)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(dialog, item, &type, &h, &box);
    if (!h) return;
    const std::string roman = Utf8ToMacRomanString(utf8);
    Str255 text;
    text[0] = uint8_t(std::min<size_t>(roman.size(), 255));
    std::memcpy(text + 1, roman.data(), text[0]);
    SetDialogItemText(h, text);
}

void GetItemString(DialogRef dialog, int16_t item, unsigned char* text)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    text[0] = 0;
    GetDialogItem(dialog, item, &type, &h, &box);
    if (h) GetDialogItemText(h, text);
}

}  // namespace

int16_t validmodule(int16_t component) { return component == 1 ? component : 1; }

bool AddressIsSet(const ServerAddress& address) { return ReadBE32(address.bytes + 4) != 0xFFFFFFFFu; }

std::string ServerAddressText(const ServerAddress& address, bool withPort)
{
    char text[24];
    const int n = std::snprintf(text, sizeof text, "%u.%u.%u.%u", address.bytes[4], address.bytes[5],
                                address.bytes[6], address.bytes[7]);
    const uint16_t port = ReadBE16(address.bytes + 2);
    if (withPort && port) std::snprintf(text + n, sizeof text - size_t(n), ":%u", port);
    return text;
}

bool ParseServerAddress(const std::string& text, ServerAddress* address)
{
    *address = ServerAddress();
    unsigned parts[4] = {0, 0, 0, 0};
    unsigned port = 0;
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != '.') return false;
            ++at;
        }
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            parts[i] = parts[i] * 10 + unsigned(text[at] - '0');
            ++at, ++digits;
        }
        if (digits == 0 || parts[i] > 255) return false;
    }
    if (at < text.size()) {
        if (text[at] != ':') return false;
        ++at;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 6) {
            port = port * 10 + unsigned(text[at] - '0');
            ++at, ++digits;
        }
        if (digits == 0 || at != text.size() || port == 0 || port > 65535) return false;
    }
    WriteBE16(address->bytes + 2, uint16_t(port));
    for (int i = 0; i < 4; ++i) address->bytes[4 + i] = uint8_t(parts[i]);
    return AddressIsSet(*address);
}

void SetLastServer(const std::string& address, const std::string& structureName)
{
    gLastAddress = address;
    gLastStructure = structureName;
}

bool sfgetreseau(unsigned char* serverName, unsigned char* structureName, ServerAddress* address, int16_t component)
{
    (void)component;
    *address = ServerAddress();
    serverName[0] = structureName[0] = 0;
    // Placed and shown as the kernel places its dialogs.
    DialogRef dialog = getposdialog(kServerDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    if (!dialog) return false;
    SetItemString(dialog, kAddressItem, gLastAddress);
    SetItemString(dialog, kNameItem, gLastStructure);
    SetDialogDefaultItem(dialog, kOpenItem);
    SetDialogCancelItem(dialog, kCancelItem);
    DialogItemIndex item = 0;
    do {
        ModalDialog(nullptr, &item);
    } while (item != kOpenItem && item != kCancelItem);
    GetItemString(dialog, kAddressItem, serverName);
    GetItemString(dialog, kNameItem, structureName);
    DisposeDialog(dialog);
    if (item == kCancelItem) return false;
    const std::string addressText(reinterpret_cast<const char*>(serverName + 1), serverName[0]);
    SetLastServer(MacRomanToUtf8String(serverName + 1, serverName[0]),
                  MacRomanToUtf8String(structureName + 1, structureName[0]));
    ParseServerAddress(addressText, address);
    return true;
}

void openfromserver(const DatabaseSpec& target)
{
    numresfalse = 0;
    if (!AddressIsSet(target.address)) {
        erreure = paramErr;
        return;
    }
    const uint16_t port = ReadBE16(target.address.bytes + 2);
    if (const OSErr err = OpenServerConnection(ServerAddressText(target.address), port ? port : kDefaultServerPort);
        err != noErr) {
        erreure = err;
        return;
    }
    // The connection's cache and its local companion live in the cache
    // folder, named after the structure.
    FSSpec folder, cache;
    OSErr err = FindSpecialFolder(SpecialFolder::Cache, true, &folder);
    std::string base = target.structureName.empty() ? std::string("Server") : target.structureName;
    std::replace(base.begin(), base.end(), '/', '_');
    // Missing files are fine: they are made.
    auto place = [&](const std::string& name, FSSpec* out) {
        if (err != noErr) return;
        err = FSMakeFSSpec(folder, name, out);
        if (err == fnfErr) err = noErr;
    };
    place(base + ".cache", &cache);
    place(base + ".local", &gLocalResFileSpec);
    if (err == noErr && !FSpExists(gLocalResFileSpec)) {
        FSpCreateResFile(gLocalResFileSpec, FourCC("QzA6"), FourCC("rsrc"), 0, ResFileFork::Data);
        err = ResError();
    }
    if (err != noErr) {
        closeconnection();
        erreure = err;
        return;
    }
    numresfalse = openres2(cache, false);
    if (numresfalse == 0) {
        erreure = reserr ? reserr : int16_t(ioErr);
        closeconnection();
        return;
    }
    erreure = 0;
}
