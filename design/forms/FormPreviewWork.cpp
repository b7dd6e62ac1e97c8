// Working in a form's preview: the object under a click (a field, a
// variable or its object method, searched into groups) framed while the
// button is down, the texts of the form's active objects, the Copy item,
// and the page shown copied to the clipboard.
#include <algorithm>
#include <cstring>

#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/forms/FormModelUse.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "forms/kernel/KernelRecords.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kCopyCommand = 23;
constexpr int16_t kCopyText = 3, kCopyPage = 5;  // items of 'STR#' 1006
constexpr int16_t kFormNotRead = 1014;

// A variable's name as the document lists it: an interprocess one with
// the application's marker (item 39 of 'STR#' 104) in front.
void VariableName(ObjHandle record, unsigned char* out)
{
    RecText(record, objrec::variable::kName, out);
    if (!RecByte(record, objrec::variable::kInterprocess)) return;
    unsigned char marker[256];
    platform::GetIndString(marker, 104, 39);
    if (marker[0] && out[0] >= marker[0] && std::memcmp(out + 1, marker + 1, marker[0]) == 0) return;
    const int kept = std::min<int>(out[0], 255 - marker[0]);
    std::memmove(out + 1 + marker[0], out + 1, size_t(kept));
    std::memcpy(out + 1, marker + 1, marker[0]);
    out[0] = uint8_t(marker[0] + kept);
}

// Frames `r` in grey until the button comes up; XOR drawn twice, so the
// pixels under it are as they were.
void FrameWhileDown(const platform::Rect& r)
{
    platform::PenState saved;
    platform::GetPenState(&saved);
    platform::Pattern gray;
    platform::GetQDGlobalsGray(&gray);
    platform::PenPat(&gray);
    platform::PenMode(platform::patXor);
    platform::FrameRect(&r);
    while (platform::StillDown()) {
    }
    platform::FrameRect(&r);
    platform::SetPenState(&saved);
}

}  // namespace

TObjQz* TLayoutObjQz::ClickForm(ObjHandle objects, platform::Point where, const platform::Point& origin)
{
    ObjHandle hit = FindObjAt(objects, where);
    if (!hit || !owner) return nullptr;
    TObjQz* answer = nullptr;
    if (ObjKind(hit) == objrec::kField) {
        ChampOper op;
        op.field = RecWord(hit, objrec::field::kFieldNumber);
        op.table = RecByte(hit, objrec::field::kTable);
        answer = SearchCritObj(ownerObj, owner->fTypeList, op);
    } else if (ObjKind(hit) == objrec::kVariable) {
        const int16_t method = RecWord(hit, objrec::variable::kMethod);
        if (method != 0 && objMethods) answer = SearchListObj_Id(objMethods, method);
        if (!answer) {
            unsigned char name[256];
            VariableName(hit, name);
            answer = RecByte(hit, objrec::variable::kInterprocess) ? Search_GlobGlobVar(owner, name)
                                                                   : Search_GlobVar(owner, name);
        }
    }
    if (answer) {
        platform::Rect frame = ObjBounds(hit);
        platform::OffsetRect(&frame, origin.h, origin.v);
        FrameWhileDown(frame);
    }
    return answer;
}

TObjQz* TLayoutObjQz::Click(platform::Handle display, const platform::EventRecord& event, int16_t page)
{
    PreviewRec* rec = PreviewOf(display);
    if (!rec || !owner) return nullptr;
    int16_t err = 0;
    platform::Handle form = nullptr;
    {
        DocTables tables(owner);
        form = x_getform(formResId, &err);
    }
    if (!form) {
        ErrMsg(kFormNotRead);
        return nullptr;
    }
    ObjHandle objects = form;
    if (ObjKind(form) == objrec::kHeader) {
        const int16_t last = FormPageCount(form);
        objects = GotoPage(form, int16_t(std::clamp<int16_t>(page, 1, std::max<int16_t>(last, 1))));
    }
    const platform::Point origin{rec->where.top, rec->where.left};
    const platform::Point where{int16_t(event.where.v - origin.v), int16_t(event.where.h - origin.h)};
    TObjQz* answer = ClickForm(objects, where, origin);
    x_effform(&form);
    return answer;
}

void TLayoutObjQz::FindScriptTxtInPage(platform::Handle first, platform::Handle last, int16_t* number,
                                       unsigned char* out)
{
    if (ObjHandle found = FindNthVariable(first, last, number)) RecText(found, objrec::variable::kFormat, out);
}

void TLayoutObjQz::FindScriptTxt(unsigned char* out, int16_t number)
{
    out[0] = 0;
    if (!owner || number < 1) return;
    int16_t err = 0;
    platform::Handle form = nullptr;
    {
        DocTables tables(owner);
        form = x_getform(formResId, &err);
    }
    if (!form) return;
    if (ObjKind(form) != objrec::kHeader) {
        FindScriptTxtInPage(form, nullptr, &number, out);
    } else {
        // Each page from its own first record to its last: page 0's
        // records are counted once.
        for (int32_t p = 0; p <= FormPageCount(form) && number > 0; ++p) {
            ObjHandle first = nullptr, last = nullptr;
            if (FormPage(form, p, &first, &last) && first) FindScriptTxtInPage(first, last, &number, out);
        }
    }
    x_effform(&form);
}

void TLayoutObjQz::SelectObj() { StringFunc(kCopyCommand, kCopyPage); }

void TLayoutObjQz::DeSelectObj()
{
    StringFunc(kCopyCommand, kCopyText);
    DisableFunc(kCopyCommand);
}

bool TLayoutObjQz::IsSelection(platform::Handle display)
{
    const PreviewRec* rec = PreviewOf(display);
    return rec && rec->picture;
}

void TLayoutObjQz::doCopy(platform::Handle, int16_t page)
{
    if (!owner) return;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    WithFormModel(this, [&](LayoutEditor& model) {
        model.GotoPage(std::max<int16_t>(page, 1), 0);  // -1 would ask the user
        return model.DoCopy(true, nullptr, nullptr);
    });
    useres(saved);
}
