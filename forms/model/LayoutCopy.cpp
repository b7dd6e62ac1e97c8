// Copying objects of the current page to the clipboard. The objects are
// written into a FORM 'OBJS' first; the clipboard is touched only once that
// image is whole, so a copy that fails leaves it as it was.
#include <cstring>
#include <vector>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/listbox/ListBox.h"
#include "forms/model/LayoutEditor.h"
#include "forms/model/ScrapSource.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/LayoutObject.h"
#include "kernel/helpers/KernelDialogs.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "toolbox/drawing/ScrapCalls.h"
#include "toolbox/drawing/VScrap.h"

namespace {

constexpr uint32_t kObjectsKind = platform::FourCC("OBQz");
constexpr uint32_t kPictureKind = platform::FourCC("PICT");
constexpr uint32_t kSourceKind = platform::FourCC("ObLQ");
constexpr int16_t kCopyAlerts = 809, kMethodNotCopied = 2;
constexpr int16_t kChunkWriteError = -36;
constexpr int kMaxGroupDepth = 64;

FormPreviewProc gPreviewProc = nullptr;

// Whether the object, a column of it or a member of it at any depth has an
// object method: every one of them would travel with the copy.
bool CarriesMethod(LayoutObject* o, int depth)
{
    if (o->IsEditable() && static_cast<EditableObject*>(o)->objectMethodID != 0) return true;
    if (auto* grid = dynamic_cast<VLayoutGrid*>(o))
        for (int32_t c = 1; c <= grid->GetGridColumnCount(); ++c)
            if (grid->GetColumnProc(c) != 0) return true;
    if (depth < kMaxGroupDepth)
        for (LayoutObject* m = o->GetFirst(); m; m = m->next)
            if (CarriesMethod(m, depth + 1)) return true;
    return false;
}


IFFP WriteScrapForm(_GroupContext* top, const std::vector<LayoutObject*>& objects)
{
    FormWriteFrame writer;
    top->clientFrame = &writer.client;
    _GroupContext form;
    IFFP result = StartWGroup(top, ID_FORM, kSizeUnknown, formchunk::OBJS, &form);
    if (result != IFF_OKAY) return result;
    ChunkWriter w(&form);
    w.Begin(formchunk::Vers);
    w.U16(uint16_t(kFormVersion));
    w.End();
    result = w.Error();
    DrawingSpecs drawing;
    FontSpecs font;
    FillCurProps(&drawing, &font);
    if (result == IFF_OKAY) result = SaveDrawingProperties(true, drawing, &form);
    if (result == IFF_OKAY)
        result = SaveFontProperties(true, font.font, font.size, font.face, font.justification, font.styleSheet,
                                    font.styleSheetHeight, &form);
    for (LayoutObject* o : objects) {
        if (result == IFF_OKAY) result = o->DoCopy(&form);
        if (result == IFF_OKAY) result = o->themes.Write(&form);
    }
    if (result == IFF_OKAY) result = EndWGroup(&form);
    return result;
}

// The objects as a FORM 'OBJS' in `h`; the model's file is current while
// the objects' methods are read.
int16_t WriteScrapObjects(platform::Handle h, const std::vector<LayoutObject*>& objects, int16_t methodFile)
{
    IOFile* io = MemoryOpen(h, 0);
    if (!io) return kChunkWriteError;
    const int16_t savedFile = xcurres();
    if (methodFile > 0) useres(methodFile);
    // The store's codes overlap the chunk library's: a failure is the
    // store's when the store reported one on the way (a method that could
    // not be read), else the kernel's write error.
    reserr = 0;
    _GroupContext top;
    IFFP result = OpenWIFF(io, &top, kSizeUnknown);
    if (result == IFF_OKAY) result = WriteScrapForm(&top, objects);
    const int16_t storeError = reserr;
    if (savedFile > 0) useres(savedFile);
    const int16_t closed = FClose(io);
    if (result == IFF_OKAY && closed == 0) return 0;
    return result != IFF_OKAY && storeError != 0 ? storeError : kChunkWriteError;
}

// The picture of the copied objects, drawn as if they were the selection.
platform::Handle CopyPicture(LayoutEditor* model, const std::vector<LayoutObject*>& objects)
{
    if (!gPreviewProc) return nullptr;
    std::vector<uint8_t> selected;
    for (LayoutObject* o = model->fFirst; o; o = o->next) selected.push_back(o->selected);
    for (LayoutObject* o : objects) o->selected = 1;
    platform::Handle picture = gPreviewProc(model, -1, true, false);
    size_t k = 0;
    for (LayoutObject* o = model->fFirst; o; o = o->next) o->selected = selected[k++];
    return picture;
}

// A large image's handle is kept for the next copy: memory of that size
// fetched afresh at every copy (its pages faulted in again) cost more than
// writing the image. A small one goes, its memory soon used again.
constexpr platform::Size kKeptImageFrom = 256 * 1024;
platform::Handle gKeptImage = nullptr;

// An empty handle for the image; null when memory is short.
platform::Handle TakeImage()
{
    platform::Handle h = gKeptImage;
    if (!h) return platform::NewHandle(0);
    gKeptImage = nullptr;
    platform::SetHandleSize(h, 0);
    return h;
}

void GiveBackImage(platform::Handle h)
{
    platform::HUnlock(h);
    if (!gKeptImage && platform::GetHandleSize(h) >= kKeptImageFrom) gKeptImage = h;
    else platform::DisposeHandle(h);
}

bool Put(VScrap* scrap, uint32_t kind, const void* data, int32_t size)
{
    if (scrap) return scrap->PutData(kind, data, size);
    return myPutScrap(size, kind, const_cast<void*>(data)) == 0;
}

}  // namespace

void SetFormPreviewProc(FormPreviewProc proc) { gPreviewProc = proc; }
FormPreviewProc GetFormPreviewProc() { return gPreviewProc; }

bool LayoutEditor::DoCopy(bool allObjects, VScrap* scrap, const uint8_t* copyRecord)
{
    fCopyError = 0;
    if (fTextEditorActive && fTextEditor) {
        platform::TECopy(fTextEditor);  // onto the system clipboard
        return true;
    }
    std::vector<LayoutObject*> objects;
    for (LayoutObject* o = fFirst; o; o = o->next)
        if (allObjects || o->selected) objects.push_back(o);
    if (fCopyRestriction)
        for (LayoutObject* o : objects)
            if (CarriesMethod(o, 0)) {
                unsigned char text[256] = {0};
                platform::GetIndString(text, kCopyAlerts, kMethodNotCopied);
                attention(text);
                fCopyError = kCopyRefused;
                return false;
            }
    platform::Handle chunks = TakeImage();
    if (!chunks) {
        fCopyError = platform::memFullErr;
        return false;
    }
    fCopyError = WriteScrapObjects(chunks, objects, MethodFile());
    if (fCopyError != 0) {
        GiveBackImage(chunks);
        return false;
    }
    uint8_t source[kSourceRecordSize];
    if (copyRecord) std::memcpy(source, copyRecord, sizeof source);
    else MakeSourceRecord(MethodFile(), fFormId, source);
    platform::Handle picture = scrap ? nullptr : CopyPicture(this, objects);
    if (!scrap) myZeroScrap();
    platform::HLock(chunks);
    bool put = Put(scrap, kObjectsKind, *chunks, int32_t(platform::GetHandleSize(chunks)));
    if (put && picture) {
        platform::HLock(picture);
        put = Put(scrap, kPictureKind, *picture, int32_t(platform::GetHandleSize(picture)));
    }
    if (put) put = Put(scrap, kSourceKind, source, kSourceRecordSize);
    GiveBackImage(chunks);
    if (picture) platform::DisposeHandle(picture);
    if (!put) fCopyError = kChunkWriteError;
    return put;
}
