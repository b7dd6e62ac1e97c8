// A method's text searched, printed, exported and rewritten: the text
// operations of the method objects.
#include <algorithm>
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/appl/Utilities.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "design/filters/ObjFilter.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "design/rename/RenameCommit.h"
#include "design/text/MethodText.h"
#include "design/text/MethodTextSupport.h"
#include "design/text/TextBuffers.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/Forks.h"
#include "platform/files/TextFiles.h"
#include "platform/text/ScriptManager.h"
#include "resources/ResourceApi.h"

using namespace platform;

namespace {

constexpr int16_t kSearchSide = 32767;

}  // namespace

int16_t TGnlProcObjQz::SearchIn(const unsigned char* text, int16_t how)
{
    const int16_t base = TObjQz::SearchIn(text, how);
    TEHandle te = NewMethodRecord(false, kSearchSide);
    if (!te) return base;
    {
        ParseResFile store(owner);
        CompanionCurrent companion(owner);
        DoTextProc(table, id, this, false, te, MyApplFont, 0);
    }
    const TERec& rec = **te;
    const bool found = rec.hText && *rec.hText &&
                       TextMatch(reinterpret_cast<const uint8_t*>(*rec.hText), rec.teLength, text, how);
    TEDispose(te);
    return found ? 1 : 0;
}

int16_t TGnlProcObjQz::PrintObj(OutPutParmRec* options)
{
    const bool contents = options && options->contents != 0 && !TstFlag(kFlagCiphered);
    TEHandle te = nullptr;
    UsePrintStyle(normal);
    const int16_t line = CurrentLineHeight();
    if (contents) {
        te = NewMethodRecord(G_MachineType >= 4, kSearchSide);
        if (!te) return memFullErr;
        ParseResFile store(owner);
        CompanionCurrent companion(owner);
        DoTextProc(table, id, this, TEGetStyleHandle(te) != nullptr, te, GetResFont(kPrintStyle), 0);
        if (owner && P_CrtHeight + 5 * line >= P_PageRect.bottom - 30) owner->BreakPage();
    }
    // The heading, bold, then an empty line.
    unsigned char heading[256];
    GetHeading(heading);
    UsePrintStyle(bold);
    PrintHeading(heading, 0);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    UsePrintStyle(normal);
    if (!te) return 0;

    PrintTextPages(te, owner);
    P_CrtHeight = int16_t(P_CrtHeight + line);
    TEDispose(te);
    return 0;
}

int16_t TGnlProcObjQz::SaveObj(int16_t file)
{
    int16_t err = 0;
    {
        ParseResFile store(owner);
        CompanionCurrent companion(owner);
        err = SaveProcText(table, id, this, file);
    }
    if (err == 0) err = WriteEOL(file);
    return err;
}

bool TGnlProcObjQz::EnableReplaceTxt()
{
    return !TstFlag(kFlagCiphered) && !TstFlag(kFlagControlChar) && !(owner && owner->fRemote);
}

int16_t TGnlProcObjQz::ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t* leftWhole)
{
    if (!EnableReplaceTxt() || !owner) return 0;
    ParseResFile store(owner);
    return ReplaceTxtInProc(find, replacement, id, owner->fResFile, leftWhole);
}

int16_t TGnlProcObjQz::ReplaceCmd(TObjQz* oldCommand, TObjQz* newMethod)
{
    if (!EnableReplaceTxt() || !owner || !oldCommand || !newMethod) return 0;
    unsigned char oldName[256], newName[256];
    oldCommand->GetName(oldName);
    newMethod->GetName(newName);
    TObjQz* command = oldCommand->kind == 3 ? oldCommand : SearchObj_Name(owner, 3, oldName);
    if (!command || !IsInList(uses, command)) return 0;
    // The command's own text: a long name is shown cut.
    MyGetIndString(oldName, 8, command->id);
    int16_t err = 0;
    {
        // The links follow once the store has the new calls.
        ParseResFile store(owner);
        CompanionCurrent companion(owner);
        StoreChange change;
        err = change.Begin(owner->fResFile);
        if (err == 0) err = ReplaceCommand(oldName, newName, id, owner->fResFile);
        if (err == 0) err = change.Commit();
    }
    if (err != 0) return err;
    TObjQz* method = newMethod->kind == 2 ? newMethod : SearchObj_Name(owner, 2, newName);
    if (method) err = XRef(this, method);
    XDelRef(this, command);
    return err;
}

bool TGnlProcObjQz::KeepsOldName(TObjQz*, bool force) { return TstFlag(kFlagCiphered) && !force; }

int16_t TGnlProcObjQz::RewriteForRename(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (!obj || !owner || KeepsOldName(obj, force)) return 0;
    unsigned char oldName[256], cut[256];
    obj->GetName(oldName);
    const size_t n = std::min<size_t>(newName[0], kMaxStoredName);
    std::memcpy(cut + 1, newName + 1, n);
    cut[0] = uint8_t(n);
    ParseResFile store(owner);
    int16_t err = 0;
    {
        CompanionCurrent companion(owner);
        err = ReplaceInProc(oldName, cut, obj, table, id, this);
    }
    if (err == 0 && !updateres(owner->fResFile)) err = reserr ? reserr : platform::ioErr;
    return err;
}

void TGnlProcObjQz::XRefReplace(TObjQz* obj, const unsigned char* newName, bool force)
{
    if (const int16_t err = RewriteForRename(obj, newName, force)) ErrMsg(err);
}

void TGnlProcObjQz::RemoveComment(int16_t how)
{
    if (how == 1 || !owner) return;
    ParseResFile store(owner);
    RemoveCommentsInProc(id, owner->fResFile);
}

void TProcObjQz::GetMoreInfo(unsigned char* out, bool flag)
{
    out[0] = 0;
    if (declPos >= 0 && owner && owner->fDataFile >= 0) {
        unsigned char line[255];
        int64_t count = sizeof line;
        const OSErr err = FSReadAt(owner->fDataFile, declPos, &count, line);
        // A short read at the file's end still gives what was there.
        if ((err == noErr || err == eofErr) && count >= 0 && count <= int64_t(sizeof line)) {
            const size_t n = LineLength(line, size_t(count));
            out[0] = uint8_t(n);
            std::memcpy(out + 1, line, n);
        }
    }
    unsigned char base[256];
    TObjQz::GetMoreInfo(base, flag);
    PAppend(out, base);
}
