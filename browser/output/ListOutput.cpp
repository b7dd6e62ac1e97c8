// The object list printed or exported (commands 10 and 7, run by the
// window on its main list), and the older export's sections.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/TAppl.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/Documentation.h"
#include "app/documents/MainDoc.h"
#include "app/longlist/LongList.h"
#include "browser/Panes.h"
#include "browser/output/ListOutput.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/MacNames.h"
#include "platform/files/Sidecar.h"
#include "platform/files/TemporaryFile.h"
#include "toolbox/drawing/PrintEmulation.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kWaitDialog = 281;
constexpr int16_t kExportMessage = 14;  // 'STR#' 1011
constexpr int32_t kWaitDelay = 60;
constexpr int16_t kCancelled = 1001;
// 'STR#' 1013: what follows the full name of an object that failed, the
// cause after it, then the next string.
constexpr int16_t kNotPrintedText = 18;
constexpr int16_t kNotExportedText = 20;
constexpr int16_t kPrintJobSuffix = 22;

TObjQz* RowObject(LongListHandle list, int32_t row) { return static_cast<TObjQz*>(LongLRowObject(row, list)); }

OSErr WriteText(int16_t file, const std::string& text)
{
    int32_t n = int32_t(text.size());
    return MyFSWrite(file, &n, text.data());
}

// An object whose own output failed is named with the cause (`what`: the
// print's or the export's texts); the failure is then said, and answers as
// a cancel does.
int16_t SayObjectFailed(TObjQz* obj, int16_t err, int16_t what)
{
    if (err == kCancelled) return err;
    unsigned char text[256], part[256];
    obj->GetFullName(text);
    MyGetIndString(part, 1013, what);
    PAppend(text, part);
    ErrorMessage(err, part);
    PAppend(text, part);
    MyGetIndString(part, 1013, int16_t(what + 1));
    PAppend(text, part);
    XAlert(1000, text, kStopAlert);
    return kCancelled;
}

}  // namespace

ExportFile::~ExportFile() { Discard(); }

int16_t ExportFile::Create(const FSSpec& destination)
{
    fDestination = destination;
    // Short enough for the sidecar that keeps the file's type and creator.
    const std::string hidden = "." + CutFileName(FSpGetName(destination), kLongestSidecarItemName - 8) + ".export";
    OSErr err = FSMakeFSSpec(FSpGetParent(destination), hidden, &fTemporary);
    if (err != noErr && err != fnfErr) return err;
    FSpDelete(fTemporary);
    err = FSpCreate(fTemporary, FourCC("MACA"), FourCC("TEXT"));
    if (err != noErr) return err;
    fMade = true;
    err = FSpOpenDF(fTemporary, fsRdWrPerm, &fRefNum);
    if (err != noErr) {
        Discard();
        return err;
    }
    return 0;
}

int16_t ExportFile::Commit()
{
    // (1) the bytes on the disk, (2) the file renamed over the destination,
    // (3) the folder flushed: a crash before (2) leaves the old file.
    OSErr err = FSFlush(fRefNum);
    const OSErr closed = FSClose(fRefNum);
    fRefNum = 0;
    if (err == noErr) err = closed;
    if (err == noErr) err = FSpRenameOver(fTemporary, fDestination);
    if (err != noErr) {
        Discard();
        return err;
    }
    fMade = false;
    return FlushFolderOf(fDestination.path);
}

void ExportFile::Discard()
{
    if (fRefNum) FSClose(fRefNum);
    fRefNum = 0;
    if (fMade) FSpDelete(fTemporary);
    fMade = false;
}

int16_t TRefPlane::SaveObjList(int16_t file, int16_t kind, WaitParamRec* wait, TObjQz** failed)
{
    int32_t count = 0;
    for (int32_t row = 0; row < fList->rowCount; ++row) {
        TObjQz* obj = RowObject(fList, row);
        if (!obj || obj->kind != kind) continue;
        ++count;
        if (kind == 1) count += static_cast<TFileObjQz*>(obj)->CountCriteres();
    }
    OSErr err = WriteText(file, std::to_string(count) + "\r");
    for (int32_t row = 0; !err && count && row < fList->rowCount; ++row) {
        TObjQz* obj = RowObject(fList, row);
        if (!obj || obj->kind != kind) continue;
        err = obj->SaveOldFormat(file);
        if (err) *failed = obj;
        if (wait) {
            ++wait->current;
            if (!err && ChkWait(wait)) err = kCancelled;
        }
    }
    return err;
}

int16_t TRefPlane::ExportList(TMainDoc* doc, const FSSpec& destination, OutPutParmRec* parms)
{
    WaitParamRec wait;
    SetWaitDialog(&wait, kExportMessage, doc->fName, 0, std::max<int32_t>(0, fList->rowCount - 1), kWaitDialog,
                  kWaitDelay);
    // The objects' own progress lines reach this dialog while it is up.
    WaitParamRec* const outerWait = G_WaitParam;
    G_WaitParam = &wait;
    ExportFile out;
    TObjQz* failed = nullptr;
    int16_t err = out.Create(destination);
    if (!err) err = doc->SaveHeader(out.refNum(), parms->oldFormat != 0);
    GatheredWrites gathered(out.refNum());
    if (!err && parms->oldFormat) {
        for (int16_t kind : {2, 9, 3, 8, 1})
            if (!err) err = SaveObjList(out.refNum(), kind, &wait, &failed);
    } else if (!err) {
        if (parms->documentation) err = doc->SaveDoc(out.refNum());
        for (int32_t row = 0; !err && row < fList->rowCount; ++row) {
            TObjQz* obj = RowObject(fList, row);
            if (!obj) continue;
            parms->rowClosed = uint8_t(!IsOpenCell(row, fList));
            err = obj->Save(out.refNum(), parms);
            if (err) failed = obj;
            ++wait.current;
            if (!err && ChkWait(&wait)) err = kCancelled;
        }
    }
    G_WaitParam = outerWait;
    ReSetWaitDialog(&wait);
    // A write of the file that failed is the file's failure, not that of
    // the object whose lines happened to fill the block.
    if (err && err == gathered.WriteFailure()) failed = nullptr;
    if (!err) err = gathered.Flush();
    // Only a whole export takes the destination's place.
    if (!err) err = out.Commit();
    if (!failed) return err;
    out.Discard();  // gone before the failure is said
    return SayObjectFailed(failed, err, kNotExportedText);
}

int16_t TRefPlane::PrintList(TMainDoc* doc, OutPutParmRec* parms)
{
    THPrint record = MyAppl ? reinterpret_cast<THPrint>(MyAppl->fPrintRecord) : nullptr;
    if (!record) return kCancelled;
    PrOpen();
    PrValidate(record);
    // The job, and so its PDF file, is named after the document's file.
    unsigned char suffix[256];
    MyGetIndString(suffix, 1013, kPrintJobSuffix);
    SetPrintRecordJobName(record, FSpGetName(doc->fSpec),
                          FileNameOf(std::string(reinterpret_cast<const char*>(suffix + 1), suffix[0])));
    if (!PrJobDialog(record)) {
        PrClose();
        return kCancelled;
    }
    GrafPtr saved = nullptr;
    GetPort(&saved);
    int16_t err = 0;
    P_Context = PrOpenDoc(record, nullptr, nullptr);
    if (!P_Context) err = PrError() ? PrError() : int16_t(memFullErr);
    if (!err) {
        PrOpenPage(P_Context, nullptr);
        if (CGrafPtr page = GetPrintContextPort(P_Context)) SetPort(page);
        GetPrintRecordPageRect(record, &P_PageRect);
        P_CrtHeight = 0;
        P_NoPage = 1;
        DropHeldHeadings();
        doc->PrintHeader();
        if (parms->documentation) err = doc->PrintDoc();
        TObjQz* failed = nullptr;
        for (int32_t row = 0; !err && row < fList->rowCount; ++row) {
            TObjQz* obj = RowObject(fList, row);
            if (!obj) continue;
            parms->rowClosed = uint8_t(!IsOpenCell(row, fList));
            err = obj->Print(parms);
            if (err) failed = obj;
            // A printing error is reported as itself, not as a cancel.
            if (!err && PrError()) err = PrError();
        }
        // Headings that head nothing more end the list where they stand.
        if (!err) PlaceHeldHeadings(doc, 0);
        DropHeldHeadings();
        // A document that failed on the way is abandoned: the session then
        // drops its pages, and a file it would have replaced keeps its bytes.
        if (err) PrSetError(err);
        doc->PrintFooter();
        PrClosePage(P_Context);
        PrCloseDoc(P_Context);
        if (!err && PrError()) err = PrError();
        if (failed) err = SayObjectFailed(failed, err, kNotPrintedText);
    }
    P_Context = nullptr;
    SetPort(saved);
    PrClose();
    return err;
}

int16_t TRefPlane::Output(bool print)
{
    TMainDoc* doc = Doc();
    if (!doc || !fList) return 0;
    OutPutParmRec parms = G_Parms;
    // The proposed file: the document's own file, by its name on disk.
    FSSpec file = doc->fSpec;
    if (const int16_t err = GetOutPutParms(print, &file, &parms)) return err;
    return print ? PrintList(doc, &parms) : ExportList(doc, file, &parms);
}

}  // namespace browser
