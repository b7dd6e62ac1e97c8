#include "forms/reader/FlatLayout.h"

#include "forms/layout/FormContainer.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/reader/FormReader.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/helpers/KernelDialogs.h"
#include "kernel/helpers/ResourceStrings.h"

namespace {

constexpr int16_t kReadErrorList = 91, kReadErrorItem = 14;

bool IsFlatType(uint8_t type)
{
    switch (type) {
    case 1: case 2: case 3: case 4: case 5: case 6: case 9: case 10: case 11: case 18: case 19: case 20: return true;
    default: return false;
    }
}

LayoutObject* MakeFlatObject(uint8_t type, LayoutEditor* editor)
{
    switch (type) {
    case 1: return new FieldObject(editor);
    case 2: return new RectObject(editor);
    case 3: return new RoundRectObject(editor);
    case 4: return new OvalObject(editor);
    case 5: return new TextObject(editor);
    case 6: return new LineObject(editor);
    case 9: {
        auto* v = new VarObject(editor);
        if (v) v->NameDfltVar();
        return v;
    }
    case 10: return new ImageObject(editor);
    case 11: return new SubFormObject(editor);
    case 18: return new GroupObject(editor);
    case 19: return new MatrixObject(editor);
    case 20: return new GroupBoxObj(editor);
    default: return nullptr;
    }
}

// A field the structure holds: its table among the structure's (0: the
// form model's own) and its number within that table's fields, when the
// table's fields are known.
bool FieldExists(FieldObject* field, LayoutEditor* editor)
{
    if (field->tableNumber < 0 || field->tableNumber > formTableCount) return false;
    if (field->fieldNumber < 1) return false;
    platform::Handle list = field->tableNumber == 0 ? EditorCritRoot(editor) : TableFieldList(field->tableNumber);
    return !list || field->fieldNumber <= FieldListCount(list);
}

void ShowReadError()
{
    if (!showReadError) return;
    unsigned char message[256];
    gs(message, kReadErrorList, kReadErrorItem);
    attention(message);
}

LayoutObject* ReadRun(char** data, int32_t* remaining, LayoutEditor* editor, LayoutObject** last, int32_t depth)
{
    LayoutObject* first = nullptr;
    *last = nullptr;
    while (*remaining >= 2) {
        const auto type = uint8_t((*data)[0]);
        *data += 2;
        *remaining -= 2;
        if (type == 18 && depth >= kMaxFlatGroupDepth) {
            *remaining = -1;
            ShowReadError();
            break;
        }
        // A type 0, or one no object reads, ends the run.
        if (!IsFlatType(type)) break;
        LayoutObject* o = MakeFlatObject(type, editor);
        if (!o) {
            *remaining = -1;
            ShowReadError();
            break;
        }
        const int32_t used = o->ReadObject(*data, *remaining);
        if (used < 0) {
            delete o;
            *remaining = -1;
            ShowReadError();
            break;
        }
        *data += used;
        *remaining -= used;
        if (type == 18) {
            LayoutObject* lastMember = nullptr;
            LayoutObject* members = ReadRun(data, remaining, editor, &lastMember, depth + 1);
            o->firstChild = members;
            o->lastChild = lastMember;
            for (LayoutObject* m = members; m; m = m->next) m->owner = o;
        }
        if (o->IsField() && !FieldExists(static_cast<FieldObject*>(o), editor)) {
            if (showReadError && checkBadFieldErr) checkBadFieldErr = 0;
            delete o;
        } else {
            NameObject(int16_t(type), o, objIndex4Name, nullptr);
            o->previous = *last;
            if (*last) (*last)->next = o;
            else first = o;
            *last = o;
        }
        if (*remaining < 0) break;
    }
    return first;
}

}  // namespace

LayoutObject* ReadLayoutData(char** data, int32_t* remaining, LayoutEditor* editor, LayoutObject** last)
{
    LayoutObject* ignored = nullptr;
    return ReadRun(data, remaining, editor, last ? last : &ignored, 0);
}
