// Every way a document comes in: the Open command, a file named by an event,
// new libraries, a structure made from an SQL script and a structure that
// a database server publishes.
#include "app/documents/OpenDocuments.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppleEventHandlers.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/documents/DocHooks.h"
#include "app/documents/DocSupport.h"
#include "app/documents/MainDoc.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/documents/RecentList.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/store/StoreAccess.h"
#include "network/NetErrors.h"
#include "network/Requests.h"
#include "network/ServerOpen.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/events/Events.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "resources/CommitMark.h"
#include "resources/Companion.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

bool G_OpenFromServer = false;

// What the SQL script reader answers for a script naming more tables, or
// more columns in a table, than a structure holds; their messages.
constexpr int16_t kSqlTooManyTables = 1004, kSqlTooManyFields = 1006, kSqlMadeWithRemarks = 1024;
constexpr int16_t kSqlScriptError = -1;
constexpr int16_t kTooManyTablesText = 81, kTooManyFieldsText = 82;
constexpr int16_t kScriptTexts = 1028, kRemarksText = 11;
constexpr int16_t kCompanionText = 98;  // 98-101: a companion asked to open
// A server's structure that may not open: its users' tables unread or
// naming one user twice; around the server's address, the server gone
// silent or the connection lost.
constexpr int16_t kTablesUnreadText = 108, kServerAtText = 110, kStoppedAnsweringText = 111;
constexpr int16_t kConnectionToText = 131, kWasLostText = 132, kUserTwiceText = 133;
constexpr int16_t kNoSuchFileText = 114;  // 114-116: around the name and the folder of a file not there

std::string PText(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

void ToPascal(const std::string& roman, unsigned char* p)
{
    p[0] = uint8_t(std::min<size_t>(roman.size(), 255));
    std::memcpy(p + 1, roman.data(), p[0]);
}

// Frees a document that never joined the list: its lists and itself.
void FreeDoc(TMainDoc* doc)
{
    if (doc->fTypeList && DocHooks().disposeTypeList) DocHooks().disposeTypeList(doc->fTypeList);
    doc->fTypeList = nullptr;
    delete doc;
}

// A document not yet in the list, freed should memory run out before it
// joins: memory running out in a command drops only those listed.
class Unlisted {
public:
    explicit Unlisted(TMainDoc* doc) : doc_(doc) {}
    ~Unlisted()
    {
        if (doc_) FreeDoc(doc_);
    }
    Unlisted(const Unlisted&) = delete;
    Unlisted& operator=(const Unlisted&) = delete;
    void Listed() { doc_ = nullptr; }

private:
    TMainDoc* doc_;
};

void Purge()
{
    PurgeMem(0x7FFFFFFF);
    CompactMem(0x7FFFFFFF);
}

// The file's item of a file dialog filter, or false for other items.
bool FilterItem(AEDesc* item, std::string* name)
{
    if (!item || item->descriptorType != typeFSRef) return false;
    std::string path(size_t(AEGetDescDataSize(item)), '\0');
    if (AEGetDescData(item, path.data(), Size(path.size())) != noErr) return false;
    *name = FSpGetMacName(FSSpec{path});
    return true;
}

}  // namespace

bool HasExtension(const std::string& name, const char* ext)
{
    if (name.size() < 4) return false;
    return name[name.size() - 4] == '.' && name.compare(name.size() - 3, 3, ext) == 0;
}

int16_t DocClassOf(const std::string& name, OSType type)
{
    const bool library = type == LibDocType || type == FourCC("QOLB") || HasExtension(name, "QTL") ||
                         HasExtension(name, "qtl");
    if (library) return 3;
    const bool structure = type == MainDocType || HasExtension(name, "QzB") || HasExtension(name, "qzb");
    return structure ? 2 : 0;
}

Boolean BaseFileFilter(AEDesc* item, void* info, void*, NavFilterModes)
{
    std::string name;
    if (!FilterItem(item, &name)) return true;
    const auto* i = static_cast<const NavFileOrFolderInfo*>(info);
    if (i && i->isFolder) return true;
    return DocClassOf(name, i ? i->finderInfo.fdType : 0) != 0;
}

Boolean SQLFileFilter(AEDesc* item, void* info, void*, NavFilterModes)
{
    std::string name;
    if (!FilterItem(item, &name)) return true;
    const auto* i = static_cast<const NavFileOrFolderInfo*>(info);
    if (i && i->isFolder) return true;
    const OSType type = i ? i->finderInfo.fdType : 0;
    for (const char* ext : {"TXT", "SQL", "txt", "sql"})
        if (HasExtension(name, ext)) return true;
    return type == FourCC("TEXT") || type == FourCC("_SQL");
}

void GetIPString(const ServerAddress& address, unsigned char* text) { ToPascal(ServerAddressText(address), text); }

bool GetOpenFromServer() { return G_OpenFromServer; }

namespace {

// A file asked for that is not there: said with its name and folder, which
// may be mistyped.
void SayNoSuchFile(const FSSpec& fileSpec)
{
    Str255 text, more, last;
    MyGetIndString(text, 1002, kNoSuchFileText);
    ToPascal(FSpGetMacName(fileSpec), more);
    AppendPString(text, more);
    MyGetIndString(more, 1002, kNoSuchFileText + 1);
    AppendPString(text, more);
    // The folder cut, from a separator, to the room the closing words leave.
    MyGetIndString(last, 1002, kNoSuchFileText + 2);
    ToPascal(PathToFit(FSpGetParent(fileSpec).path, 255 - text[0] - last[0]), more);
    AppendPString(text, more);
    AppendPString(text, last);
    XAlert(1000, text, kStopAlert);
}

void SayNotADocument(const std::string& name)
{
    Str255 text, more;
    MyGetIndString(text, 1002, 61);
    ToPascal(name, more);
    AppendPString(text, more);
    XAlert(1000, text, kStopAlert);
}

// A companion file asked to open as a document (it lists beside them):
// said, naming the document it belongs to where one is beside it.
bool SayIfCompanion(const FSSpec& fileSpec)
{
    CommitMark mark;
    if (ReadCommitMark(fileSpec.path, &mark)) return false;
    const std::string name = FSpGetName(fileSpec);
    FSSpec owner;
    const bool owned = CompanionOwner(fileSpec, fileSpec, &owner);
    const bool named = name.size() > 4 && name[name.size() - 4] == '.' &&
                       std::equal(name.end() - 3, name.end(), "RSR", [](char a, char b) { return (a & ~0x20) == b; });
    if (!owned && !named) return false;
    Str255 text, more;
    MyGetIndString(text, 1002, kCompanionText);
    ToPascal(MacNameOf(name), more);
    AppendPString(text, more);
    MyGetIndString(more, 1002, owned ? kCompanionText + 1 : kCompanionText + 3);
    AppendPString(text, more);
    if (owned) {
        ToPascal(FSpGetMacName(owner), more);
        AppendPString(text, more);
        MyGetIndString(more, 1002, kCompanionText + 2);
        AppendPString(text, more);
    }
    XAlert(1000, text, kStopAlert);
    return true;
}

// The connection to the server failed while its structure opened: a reply
// that could not be read is said as such, a server that went silent or a
// connection that closed as that, at the address the user gave.
void SayServerFailed(const ServerAddress& address)
{
    const OSErr cause = LastConnectionFailure();
    if (cause == kNetBadReply) {
        ErrMsg(kNetBadReply);
        return;
    }
    const bool silent = cause == kNetTimeout;
    Str255 text, more;
    MyGetIndString(text, 1002, silent ? kServerAtText : kConnectionToText);
    ToPascal(ServerAddressText(address, true), more);
    AppendPString(text, more);
    MyGetIndString(more, 1002, silent ? kStoppedAnsweringText : kWasLostText);
    AppendPString(text, more);
    XAlert(1000, text, kStopAlert);
}

}  // namespace

TDocument* TAppl::GetNamedDoc(const FSSpec& fileSpec)
{
    // One file is one document: the same device and inode, whatever the
    // case of its name.
    struct stat wanted {};
    const bool exists = ::stat(fileSpec.path.c_str(), &wanted) == 0;
    for (TDocument* doc = fDocList; doc; doc = doc->fNext) {
        if (doc == fClipBoard || doc->fRemote || doc->fSpec.path.empty()) continue;
        struct stat have {};
        if (exists && ::stat(doc->fSpec.path.c_str(), &have) == 0) {
            if (have.st_dev == wanted.st_dev && have.st_ino == wanted.st_ino) return doc;
        } else if (doc->fSpec.path == fileSpec.path) {
            return doc;
        }
    }
    return nullptr;
}

int16_t TAppl::OpenNamedDoc(const FSSpec& asked, int16_t print)
{
    // A document named through a link is the file the link names, so
    // that its companion is found and written beside that file.
    FSSpec fileSpec = asked;
    if (bool link = false; FSpIsLink(asked, &link) == noErr && link) FSpResolveLink(asked, &fileSpec, nullptr);
    Purge();
    if (TDocument* open = GetNamedDoc(fileSpec)) {
        open->SelectTDocument();
        return 0;
    }
    if (!FSpExists(fileSpec)) {
        SayNoSuchFile(fileSpec);
        return fnfErr;
    }
    if (SayIfCompanion(fileSpec)) return 1001;
    // No Finder information: the name decides. Memory running out is said
    // rather than taken for a file of no type.
    FInfo info;
    if (FSpGetFInfo(fileSpec, &info) == memFullErr) {
        ErrMsg(memFullErr);
        return memFullErr;
    }
    const std::string name = FSpGetMacName(fileSpec);
    const int16_t kind = DocClassOf(name, info.fdType);
    if (kind == 0) {
        // Said rather than ignored: the user asked for this file.
        SayNotADocument(name);
        return 1001;
    }
    TMainDoc* doc = kind == 3 ? new (std::nothrow) TLibDoc : new (std::nothrow) TMainDoc;
    if (!doc) {
        ErrMsg(memFullErr);
        return memFullErr;
    }
    Unlisted unlisted(doc);
    Str255 docName;
    ToPascal(name, docName);
    if (const int16_t err = doc->InitDocument(docName, this); err != 0) {
        ErrMsg(err);
        return err;
    }
    AddDoc(doc);
    unlisted.Listed();
    if (DocHooks().debugLogOpen) DocHooks().debugLogOpen();
    const int16_t err = doc->Read(fileSpec, false, false);
    if (DocHooks().debugLogClose) DocHooks().debugLogClose();
    if (err != 0) {
        if (err == notAFileErr) SayNotADocument(name);
        else if (err != 1001) ErrMsgAbout(err, fileSpec);
        RemoveDoc(doc);
        doc->Dispose();
        return err;
    }
    // A quit asked for while the document was read is honoured: its
    // printing does not start.
    if (print == 1 && !QuitAsked()) doc->Do_Func(10);
    // The list keeps the full path of the folder: a shortened one would
    // never open again.
    std::string folder;
    if (FSpGetMacColonPath(FSpGetParent(fileSpec), &folder) == noErr) {
        if (folder.empty() || folder.back() != ':') folder += ':';
        AddOpenSpecial(folder, name, info.fdType);
    }
    Purge();
    return 0;
}

int16_t TAppl::OpenMainDoc()
{
    Str255 prompt;
    MyGetIndString(prompt, 1001, 8);
    FSSpec fileSpec;
    if (MacGetFile(&fileSpec, nullptr, BaseFileFilter, prompt) != 0) return 0;
    OpenNamedDoc(fileSpec, 0);
    return 0;
}

void TAppl::GetUnTitledName(unsigned char* name, bool flag, int16_t* number)
{
    int16_t n = 1;
    for (bool taken = true; taken;) {
        taken = false;
        for (TDocument* doc = fDocList; doc; doc = doc->fNext)
            if (doc->IsMember(3) && static_cast<TLibDoc*>(doc)->fUntitled == n) taken = true;
        if (taken) ++n;
    }
    *number = n;
    Str255 base;
    MyGetIndString(base, 1001, flag ? 1 : 2);
    ConcatNumDoc(base, n, name);
}

int16_t TAppl::NewLibDoc(int16_t kind)
{
    auto* doc = new (std::nothrow) TLibDoc;
    if (!doc) return memFullErr;
    Unlisted unlisted(doc);
    Str255 name;
    int16_t number = 0;
    GetUnTitledName(name, kind != 0, &number);
    doc->fUntitled = number;
    int16_t err = doc->InitDocument(name, this);
    if (err == 0) err = doc->InitFile();
    if (err != 0) return err;
    doc->fLibrary = kind != 0;
    AddDoc(doc);
    unlisted.Listed();
    const Rect saved = fDefaultRect;
    Rect r = fDefaultRect;
    err = doc->NewRefWindow(&r, 1, PrefWindowKind(), -1, 0);
    if (err == 0) {
        fDefaultRect = saved;
        return 0;
    }
    ErrMsg(err);
    RemoveDoc(doc);
    doc->DelFile();
    doc->Dispose();
    return err;
}

int16_t TAppl::OpenSQL()
{
    Str255 prompt;
    MyGetIndString(prompt, 1001, 45);
    FSSpec script;
    if (MacGetFile(&script, nullptr, SQLFileFilter, prompt) != 0) return 1001;
    const FSSpec folder = FSpGetParent(script);
    SetLastOpenedFolder(folder);
    Str255 suffix;
    MyGetIndString(suffix, 1013, 16);
    const std::string scriptName = FSpGetMacName(script);
    const std::string base = Utf8ToMacRomanString(folder.path) + "/";
    const std::string scriptPath = base + scriptName;
    const std::string structurePath = base + scriptName + PText(suffix);
    // A path its length byte cannot hold is refused, never cut.
    if (scriptPath.size() > 255 || structurePath.size() > 255) {
        ErrMsg(bdNamErr);
        return 1001;
    }
    Str255 scriptP, structureP;
    ToPascal(scriptPath, scriptP);
    ToPascal(structurePath, structureP);
    // The script's file goes in as it is named on the disk.
    FSSpec made = script;
    const int16_t err = DocHooks().sql ? DocHooks().sql(scriptP, structureP, &made) : -4;
    if (err == 0 || err == kSqlMadeWithRemarks) {
        const int16_t opened = OpenNamedDoc(made, 0);
        if (err == kSqlMadeWithRemarks) {
            Str255 text;
            MyGetIndString(text, kScriptTexts, kRemarksText);
            XAlert(1000, text, kNoteAlert);
        }
        return opened;
    }
    if (err == 1001) return 1001;
    // Only the script's own faults are in the report: an error in it, or
    // more than a structure holds; any other failure is said as itself.
    if (err == kSqlTooManyTables || err == kSqlTooManyFields) {
        Str255 text;
        MyGetIndString(text, 1002, err == kSqlTooManyTables ? kTooManyTablesText : kTooManyFieldsText);
        XAlert(1000, text, kStopAlert);
        return 1019;
    }
    const int16_t said = err == kSqlScriptError ? int16_t(1019) : err;
    ErrMsg(said);
    return said;
}

int16_t TAppl::OpenServerMainDoc()
{
    Purge();
    localres = -1;
    ServerAddress address;
    const int16_t component = validmodule(1);
    Str255 serverName{}, structureName{};
    do {
        if (!sfgetreseau(serverName, structureName, &address, component)) return 1001;
    } while (!AddressIsSet(address));
    Str255 addressText;
    GetIPString(address, addressText);

    DatabaseSpec docFileSpec;
    docFileSpec.structureName = PText(structureName);
    docFileSpec.addressText = PText(addressText);
    docFileSpec.component = component;
    docFileSpec.address = address;
    // From here on a failure of the server's connection ends the open,
    // whatever the step that met it made of it: the server, not the
    // structure or the password, is then what went wrong.
    const uint32_t failures = ConnectionFailures();
    auto serverFailed = [&] { return ConnectionFailures() != failures; };
    G_OpenFromServer = true;
    openfromserver(docFileSpec);
    G_OpenFromServer = false;
    int16_t err = erreure;
    const int16_t resFile = numresfalse;
    if (err == 1 && resFile == 0) err = 1001;

    auto closeAll = [&]() {
        if (resFile != 0) {
            // The design layer closes its own records of the structure too.
            if (DocHooks().closeQzB) DocHooks().closeQzB(-1, resFile, -1, -1);
            else closeres(resFile, true);
            closeconnection();
        }
        if (localres != -1) {
            CloseResFile(localres);
            localres = -1;
        }
    };
    int16_t tablesUnread = 0;
    // A server that failed on the way to its tables (the connection closing
    // right after the map, say) is what went wrong, not the tables.
    if (err == 0 && serverFailed()) err = 1001;
    if (err == 0) {
        if (DocHooks().useQzRes) DocHooks().useQzRes(resFile);
        else useres(resFile);
        // The users first: nothing of the design is read before the
        // server's own tables say who may read it.
        bool loginNeeded = false;
        tablesUnread = DocHooks().readServerPasswords ? DocHooks().readServerPasswords(&loginNeeded) : 0;
        if (tablesUnread) {
            err = 1001;
        } else if (!serverFailed() && DocHooks().baseCompilee && DocHooks().baseCompilee()) {
            err = 1009;
        } else if (!serverFailed() && loginNeeded) {
            const int16_t pass = DocHooks().takePass ? DocHooks().takePass(false) : -128;
            if (pass == -128) err = 1001;
            // A login the server refused admits nobody, as a refused design does.
            else if (pass != 0 || !(DocHooks().okStruct && DocHooks().okStruct())) err = 1010;
        }
    }
    if (err == 0 && !serverFailed()) {
        auto* doc = new (std::nothrow) TMainDoc;
        err = doc ? doc->InitDocument(structureName, this) : int16_t(memFullErr);
        if (err != 0) {
            if (doc) FreeDoc(doc);
            ErrMsg(err);
            closeAll();
            return err;
        }
        AddDoc(doc);
        doc->fFileNum = resFile;
        const std::string utf8 = MacRomanToUtf8String(structureName + 1, structureName[0]);
        err = doc->Read(FSSpec{utf8}, true, false);
        // A design read over a connection that failed on the way is not the server's.
        if (err == 0 && serverFailed()) err = 1001;
        if (err == 0) {
            DisableFunc(14);  // one server structure at a time
        } else {
            RemoveDoc(doc);
            doc->Dispose();
        }
    } else {
        closeAll();
    }
    // Said once, the server's own failure before whatever it made the
    // steps conclude.
    if (tablesUnread) {
        Str255 text;
        MyGetIndString(text, 1002, tablesUnread == kUserNamedTwice ? kUserTwiceText : kTablesUnreadText);
        XAlert(1000, text, kStopAlert);
    } else if (serverFailed()) {
        SayServerFailed(address);
        err = 1001;
    } else if (err == 1010) {
        ErrMsg(1010);
        err = 1001;
    } else if (err != 0 && err != 1001) {
        ErrMsg(err);
    }
    Purge();
    return err;
}
