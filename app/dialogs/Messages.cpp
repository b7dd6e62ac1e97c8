#include "app/dialogs/Messages.h"

#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/Events.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/FileTypes.h"
#include "platform/files/MacNames.h"
#include "platform/files/NameLock.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "resources/CPseudoResFile.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

AlertRequest gLastAlert;
int32_t gAlertCount = 0;

struct CodeIndex {
    int16_t code;
    int16_t index;
};
constexpr CodeIndex kCodes[] = {
    {-1, 16},   {-4, 29},    {-34, 3},   {-36, 6},   {-37, 103},   {-39, 11},  {-42, 7},  {-43, 5},
    {-44, 8},   {-45, 4},    {-46, 8},   {-47, 12},  {-48, 105},   {-49, 12},  {-51, 6},  {-54, 104},
    {-60, 2},   {-61, 104},  {-108, 1},  {-109, 1},  {-120, 5},    {-122, 107}, {-1302, 106}, {-1303, 126}, {-1940, 117},
    {-1941, 118}, {-5000, 104},
    {1002, 10}, {1003, 31}, {1004, 32}, {1005, 41}, {1006, 38}, {1007, 39}, {1008, 40},
};

// A code whose message names a file: the items of a 'STR#' before and
// after the name.
struct NamingCode {
    int16_t code;
    int16_t before, after;
};

// The codes whose message names the file a refusal is about, in 'STR#' 1037.
constexpr int16_t kFileTexts = 1037;
constexpr int16_t kNowAt = 3;          // 3-4 around where a moved document is now
constexpr int16_t kDeletedAfter = 12;  // after 1 and the name of a deleted document
constexpr int16_t kFolderTexts = 13;   // 13-15 around a folder's path and its document's name
constexpr int16_t kKeptAt = 16;        // 16-17 after 1 and the name: where a file is kept
constexpr int16_t kWrittenAway = 18;   // after 1 and the name of a document whose change went astray
constexpr NamingCode kFileCodes[] = {
    {fileMovedErr, 1, 2}, {fnfErr, 5, 8},   {fLckdErr, 5, 7},  {fBsyErr, 5, 6},          {opWrErr, 5, 6},
    {permErr, 9, 10},     {wrPermErr, 9, 10}, {afpAccessDenied, 9, 10},
};

// The codes whose message names the lock file they met, in 'STR#' 1002.
constexpr NamingCode kLockCodes[] = {{lockNameErr, 126, 140}, {lockDeniedErr, 141, 142}};

template <size_t N>
const NamingCode* NamingOf(const NamingCode (&codes)[N], int16_t code)
{
    for (const NamingCode& c : codes)
        if (c.code == code) return &c;
    return nullptr;
}

void Append(unsigned char* text, const char* more, size_t n)
{
    const size_t room = 255 - text[0];
    if (n > room) n = room;
    std::memcpy(text + 1 + text[0], more, n);
    text[0] = uint8_t(text[0] + n);
}

void AppendP(unsigned char* text, const unsigned char* more)
{
    Append(text, reinterpret_cast<const char*>(more + 1), more[0]);
}

// The message of `c` in 'STR#' `list`: its item before, the file's name,
// its item after.
void Naming(unsigned char* text, int16_t list, const NamingCode& c, const FSSpec& file)
{
    Str255 after;
    MyGetIndString(text, list, c.before);
    AppendFileName(text, file);
    MyGetIndString(after, list, c.after);
    AppendP(text, after);
}

// After a server that failed in the middle of a change: what of the change
// reached it, when anything did. The failure is said then: idle time does
// not say it again.
constexpr int16_t kAllLeftText = 134, kPartLeftText = 135;

void AppendServerChangeLeft(int16_t code, unsigned char* text)
{
    if (code != kNetConnectionLost && code != kNetStoppedAnswering && code != kNetBadReply) return;
    NoteConnectionFailureSaid();
    const int16_t left = takeserverchangenote();
    if (left == 0) return;
    Str255 more;
    MyGetIndString(more, 1002, left == CPseudoResFile::kAllLeft ? kAllLeftText : kPartLeftText);
    AppendP(text, more);
}

}  // namespace

void MyGetIndString(unsigned char* text, int16_t listId, int16_t index)
{
    const int16_t saved = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    GetIndString(text, listId, index);
    UseResFile(saved);
}

void MyGs(unsigned char* text, int16_t listId, int16_t index)
{
    Str255 local;
    MyGetIndString(local, listId, index);
    std::memcpy(text, local, size_t(local[0]) + 1);
}

int16_t ErrorStringIndex(int16_t code)
{
    for (const CodeIndex& c : kCodes)
        if (c.code == code) return c.index;
    return 0;
}

int16_t SearchResErrs(int16_t code, unsigned char* text)
{
    text[0] = 0;
    const ResType emap = FourCC("EMap");
    const int16_t count = CountResources(emap);
    for (int32_t i = 1; i <= count; ++i) {
        Handle h = GetIndResource(emap, i);
        if (!h || !*h) continue;
        int16_t id = 0;
        ResType type = 0;
        Str255 name;
        GetResInfo(h, &id, &type, name);
        const size_t records = size_t(GetHandleSize(h)) / 4;
        for (size_t r = 0; r < records; ++r) {
            const uint8_t* p = reinterpret_cast<const uint8_t*>(*h) + 4 * r;
            if (int16_t(ReadBE16(p)) != code) continue;
            const int16_t index = int16_t(ReadBE16(p + 2));
            GetIndString(text, id, index);
            return 0;
        }
    }
    return 9;
}

void ErrorMessage(int16_t code, unsigned char* text)
{
    text[0] = 0;
    if (const NamingCode* c = NamingOf(kLockCodes, code)) return Naming(text, 1002, *c, FSSpec{RefusedLockFile()});
    int16_t index = ErrorStringIndex(code);
    if (index == 0) index = SearchResErrs(code, text);
    if (index != 0) MyGetIndString(text, 1002, index);
    if (index == 9) {
        const std::string tail = "( #" + std::to_string(code) + ")";
        Append(text, tail.data(), tail.size());
    }
}

void AppendFileName(unsigned char* text, const FSSpec& file)
{
    const std::string name = FSpGetMacName(file);
    Append(text, name.data(), name.size());
}

std::string PathToFit(const std::string& path, int32_t room)
{
    const std::string place = Utf8ToMacRomanString(path);
    if (int32_t(place.size()) <= room) return place;
    if (room < 2) return {};
    const size_t from = place.size() - size_t(room - 1);
    const size_t slash = place.find('/', from);
    return "\xC9" + place.substr(slash == std::string::npos ? from : slash);
}

namespace {

// `part`, the path cut to the room the text leaves before `after`, and
// `after`; nothing when the room is too small to tell a place.
void AppendPlace(unsigned char* text, int16_t part, const std::string& path, int16_t after)
{
    Str255 before, last;
    MyGetIndString(before, kFileTexts, part);
    MyGetIndString(last, kFileTexts, after);
    const int32_t room = 255 - text[0] - before[0] - last[0];
    if (room < 8) return;
    const std::string place = PathToFit(path, room);
    AppendP(text, before);
    Append(text, place.data(), place.size());
    AppendP(text, last);
}

// The folder that holds `document`, which may not be changed, and the
// document: the folder's path cut to the room the rest leaves.
void FolderMessage(const FSSpec& document, unsigned char* text)
{
    Str255 rest, after;
    MyGetIndString(rest, kFileTexts, kFolderTexts + 1);
    AppendFileName(rest, document);
    MyGetIndString(after, kFileTexts, kFolderTexts + 2);
    AppendP(rest, after);
    MyGetIndString(text, kFileTexts, kFolderTexts);
    const std::string folder = PathToFit(FSpGetParent(document).path, 255 - text[0] - rest[0]);
    Append(text, folder.data(), folder.size());
    AppendP(text, rest);
}

}  // namespace

void ErrorMessageAbout(const FileRefusal& refused, unsigned char* text)
{
    const FSSpec file{refused.path};
    const NamingCode* named = NamingOf(kFileCodes, refused.code);
    if (!named || file.path.empty()) return ErrorMessage(refused.code, text);
    switch (refused.item) {
    case RefusedItem::Folder: return FolderMessage(file, text);
    case RefusedItem::Deleted: return Naming(text, kFileTexts, NamingCode{refused.code, 1, kDeletedAfter}, file);
    case RefusedItem::Kept:
        MyGetIndString(text, kFileTexts, 1);
        AppendFileName(text, file);
        return AppendPlace(text, kKeptAt, refused.now, kKeptAt + 1);
    case RefusedItem::WrittenAway:
        Naming(text, kFileTexts, NamingCode{refused.code, 1, kWrittenAway}, file);
        if (!refused.now.empty()) AppendPlace(text, kNowAt, refused.now, kNowAt + 1);
        return;
    case RefusedItem::File: break;
    }
    Naming(text, kFileTexts, *named, file);
    if (refused.code == fileMovedErr && !refused.now.empty()) AppendPlace(text, kNowAt, refused.now, kNowAt + 1);
}

namespace {

void Show(const unsigned char* text)
{
    const int16_t state = CursPause();
    SetArrowCursor();
    XAlert(1000, text, kStopAlert);
    CursResume(state);
}

}  // namespace

void ErrMsgAbout(int16_t code, const FSSpec& file)
{
    Str255 text;
    FileRefusal refused;
    refused.code = code;
    refused.path = file.path;
    ErrorMessageAbout(refused, text);
    Show(text);
}

void ErrMsg(int16_t code)
{
    Str255 text;
    if (FileRefusal refused; TakeFileRefusal(code, &refused))
        ErrorMessageAbout(refused, text);
    else
        ErrorMessage(code, text);
    AppendServerChangeLeft(code, text);
    Show(text);
}

int16_t XAlert(int16_t alertId, const unsigned char* text, int16_t kind)
{
    if (kind < kNoteAlert || kind > kStopAlert) return 0;
    const int16_t saved = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    gLastAlert.alertId = alertId;
    gLastAlert.kind = kind;
    gLastAlert.text.assign(reinterpret_cast<const char*>(text + 1), text[0]);
    ++gAlertCount;
    static const unsigned char empty[1] = {0};
    ParamText(text, empty, empty, empty);
    const int16_t item = kind == kNoteAlert      ? NoteAlert(alertId, nullptr)
                         : kind == kCautionAlert ? CautionAlert(alertId, nullptr)
                                                 : StopAlert(alertId, nullptr);
    UseResFile(saved);
    return item;
}

void SaySubstitutedPaste()
{
    Str255 text;
    MyGetIndString(text, 1036, 2);
    XAlert(1000, text, kNoteAlert);
}

void NoMemory(int16_t level)
{
    static const int16_t kStrings[] = {14, 19, 20};
    if (level < 0 || level > 2) return;
    Str255 text;
    MyGetIndString(text, 1002, kStrings[level]);
    XAlert(1000, text, int16_t(level + 1));
}

int16_t ConfirmClose(bool ask, const unsigned char* name)
{
    // A program the system is ending asks nobody: what was not saved is
    // left as the document last stored it.
    if (!ask || TerminationRequestPending()) return 2;
    Str255 text, part;
    MyGetIndString(text, 1001, 3);
    AppendP(text, name);
    MyGetIndString(part, 1001, 4);
    AppendP(text, part);
    return XAlert(1003, text, kCautionAlert);
}

const AlertRequest& LastAlert() { return gLastAlert; }
int32_t AlertCount() { return gAlertCount; }

void ResetAlerts()
{
    gLastAlert = AlertRequest();
    gAlertCount = 0;
}

Size MyFreeMem() { return FreeMem(); }

bool CheckMem(Size size)
{
    Handle h = NewHandle(size);
    if (!h) return false;
    DisposeHandle(h);
    return true;
}

int32_t CountTotResources(int16_t refNum)
{
    const int16_t saved = CurResFile();
    UseResFile(refNum);
    int32_t total = 0;
    if (ResError() == noErr && CurResFile() == refNum) {
        const int16_t types = Count1Types();
        for (int32_t i = 1; i <= types; ++i) {
            ResType type = 0;
            Get1IndType(&type, i);
            total += Count1Resources(type);
        }
    }
    UseResFile(saved);
    return total;
}

void BadParseIdle(int32_t, int32_t) {}
void LowMemIdle() {}
