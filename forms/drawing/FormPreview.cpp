// Building a form's preview: the background in the form's look, the
// inherited form's picture (built once along a chain, however the chain
// loops), page 0 and the current page, recorded into a picture at 72 dpi.
#include "forms/drawing/FormPreview.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "forms/drawing/CoveredObjects.h"
#include "forms/drawing/LayoutBackground.h"
#include "forms/drawing/ObjectDrawing.h"
#include "forms/kernel/KernelForm.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormTables.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectIterators.h"
#include "looks/LookServices.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

constexpr int16_t kPreviewDepth = 32;
constexpr Fixed kScreenResolution = 72 << 16;

// Forms whose previews are being built, so a subform showing a form that
// shows it again draws nothing the second time.
std::vector<int16_t> gBuilding;

class Building {
public:
    explicit Building(int16_t id) { gBuilding.push_back(id); }
    ~Building() { gBuilding.pop_back(); }
    Building(const Building&) = delete;
    Building& operator=(const Building&) = delete;
    static bool Holds(int16_t id) { return std::find(gBuilding.begin(), gBuilding.end(), id) != gBuilding.end(); }
};

// The drawing mode of a display type, set while the preview draws.
class DrawingMode {
public:
    explicit DrawingMode(int16_t displayType) : saved_(varDrawingMode)
    {
        varDrawingMode = displayType == kDisplayText ? kDrawNames : kDrawResolved;
    }
    ~DrawingMode() { varDrawingMode = saved_; }
    DrawingMode(const DrawingMode&) = delete;
    DrawingMode& operator=(const DrawingMode&) = delete;

private:
    int16_t saved_;
};

// The id of the form of that name in the table's form list, 0 for none.
int16_t FormIdOf(int16_t table, const unsigned char* name)
{
    if (table <= 0 || name[0] == 0) return 0;
    Handle list = TableFormList(table);
    return FormListId(list, findleformat(name, 0, list));
}

// A form of the same file read alone, its page 1 current; null when it does
// not read.
std::unique_ptr<LayoutEditor> ReadOther(const LayoutEditor* editor, int16_t formId)
{
    auto other = std::make_unique<LayoutEditor>(formId, 0, editor->fResFile);
    other->fTableFields = editor->fTableFields;
    if (!other->ReadLayout()) return nullptr;
    other->fLookHandler = editor->fLookHandler;
    other->fLookNumber = editor->fLookNumber;
    if (other->LastPage() >= 1) other->GotoPage(1, 0);
    return other;
}

Handle PreviewOf(LayoutEditor* editor, int16_t displayType, VisitedForms* visited)
{
    Building building(editor->fFormId);
    return editor->BuildPreview(displayType, visited);
}

}  // namespace

Handle SubformPicture(LayoutEditor* model, int16_t table, const unsigned char* formName, const Rect&)
{
    const int16_t id = FormIdOf(table, formName);
    if (id == 0 || id == model->fFormId || Building::Holds(id)) return nullptr;
    std::unique_ptr<LayoutEditor> form = ReadOther(model, id);
    if (!form) return nullptr;
    VisitedForms visited{id};
    Building self(model->fFormId);
    return PreviewOf(form.get(), kDisplayDrawing, &visited);
}

void PreviewSize(LayoutEditor* editor, int16_t* width, int16_t* height)
{
    // What lies wholly past the largest side cannot show: it must not make
    // the picture, and the work of drawing and recording it, that large.
    editor->MakeLimits(nullptr, kPreviewMaxSide);
    *width = std::clamp<int16_t>(editor->FormWidth(), 1, kPreviewMaxSide);
    *height = std::clamp<int16_t>(editor->FormHeight(), 1, kPreviewMaxSide);
}

void DrawObjectChain(LayoutObject* first, LayoutEditor* editor, int16_t dh, int16_t dv, bool selectedOnly)
{
    std::vector<LayoutObject*> chain;
    for (LayoutObjectIterator it(first, selectedOnly, true, false); it.Current(); it.SetNext())
        chain.push_back(it.Current());
    // Objects later ones paint over cost no pixels: many pages of objects
    // over each other cost one page.
    // One that is covered is drawn through an empty clip: all it sets up and
    // leaves behind is as if it had been drawn, and it paints no pixel.
    const std::vector<bool> covered = CoveredObjects(chain, editor, dh, dv);
    for (size_t i = 0; i < chain.size(); ++i) {
        if (!covered[i]) {
            chain[i]->DrawObject(editor, dh, dv);
            continue;
        }
        ClipSection none(Rect{0, 0, 0, 0});
        chain[i]->DrawObject(editor, dh, dv);
    }
}

void LayoutEditor::GetBaseFormSize(int16_t* width, int16_t* height)
{
    *width = *height = 0;
    if (!fBaseFormPicture) return;
    Rect frame{};
    QDGetPictureBounds(fBaseFormPicture, &frame);
    *width = int16_t(std::max(0, frame.right - frame.left));
    *height = int16_t(std::max(0, frame.bottom - frame.top));
}

void LayoutEditor::xLoadBaseForm(VisitedForms* visited)
{
    if (fBaseFormPicture) return;
    const int16_t id = FormIdOf(fInfo.inheritedTable, fInfo.inheritedName);
    if (id == 0 || id == fFormId || std::find(visited->begin(), visited->end(), id) != visited->end()) return;
    visited->push_back(id);
    std::unique_ptr<LayoutEditor> base = ReadOther(this, id);
    if (!base) return;
    fBaseFormPicture = PreviewOf(base.get(), kDisplayDrawing, visited);
}

void LayoutEditor::DrawBaseForm(int16_t dh, int16_t dv)
{
    if (!fBaseFormPicture) return;
    Rect frame{};
    QDGetPictureBounds(fBaseFormPicture, &frame);
    OffsetRect(&frame, dh, dv);
    DrawPicture(fBaseFormPicture, &frame);
}

namespace {

// What one picture of the form holds: the objects of the current page (only
// the selected ones when asked) over the look's background, page 0 and the
// inherited form unless `background` is false.
Handle RecordPage(LayoutEditor* editor, int16_t displayType, VisitedForms* visited, bool background,
                  bool selectedOnly)
{
    VisitedForms own{editor->fFormId};
    if (!visited) visited = &own;
    if (background && displayType != kDisplayOutline) editor->xLoadBaseForm(visited);
    int16_t width = 0, height = 0;
    PreviewSize(editor, &width, &height);
    const Rect r{0, 0, height, width};

    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, kPreviewDepth, &r, nullptr, nullptr, 0) != noErr || !world) return nullptr;
    SetGWorld(world, nullptr);
    ClipRect(&r);
    if (background) {
        EraseLayoutBackground(&r, editor->fLookHandler, nullptr);
    } else {
        EraseRect(&r);
    }
    {
        DrawingMode mode(displayType);
        if (background && displayType != kDisplayOutline) {
            editor->DrawBaseForm(0, 0);
            if (editor->CurrentPage() != 0) DrawObjectChain(editor->GetFirstOfPage(0), editor, 0, 0);
        }
        DrawObjectChain(editor->FirstObject(), editor, 0, 0, selectedOnly);
    }
    // The copy is recorded in the world's own port, onto its own pixels.
    const OpenCPicParams params{r, kScreenResolution, kScreenResolution, -2, 0, 0};
    Handle picture = OpenCPicture(&params);
    if (picture) {
        CopyBits(GetPortBitMapForCopyBits(world), GetPortBitMapForCopyBits(world), &r, &r, srcCopy, nullptr);
        ClosePicture();
    }
    SetGWorld(saved, device);
    DisposeGWorld(world);
    return picture;
}

}  // namespace

Handle LayoutEditor::BuildPreview(int16_t displayType, VisitedForms* visited)
{
    return RecordPage(this, displayType, visited, true, false);
}

Handle FormPagePreview(LayoutEditor* editor, int16_t page, bool selectedOnly, bool background)
{
    if (!editor) return nullptr;
    const int16_t current = editor->CurrentPage();
    const bool turn = page >= 1 && page != current;
    if (turn) editor->GotoPage(page, 0);
    Handle picture = nullptr;
    {
        Building building(editor->fFormId);
        picture = RecordPage(editor, kDisplayDrawing, nullptr, background, selectedOnly);
    }
    if (turn) editor->GotoPage(current, 0);
    return picture;
}

Handle NewBuildPictFromLayout(LayoutEditor* editor, int16_t displayType)
{
    return editor ? PreviewOf(editor, displayType, nullptr) : nullptr;
}
