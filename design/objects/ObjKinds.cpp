// What the object base, the factory and the look-ups need of the kinds'
// own classes.
#include "design/objects/ObjKinds.h"

#include <cstring>

#include "app/dialogs/Messages.h"
#include "design/objects/ObjText.h"

void TStructObjQz::GetStructName(unsigned char* out)
{
    unsigned char left[256], right[256], separator[256], own[256];
    MyGetIndString(left, 104, 2);
    MyGetIndString(right, 104, 3);
    MyGetIndString(separator, 104, 6);
    GetName(own);
    // From the nearest owner up; the top table is bracketed.
    std::string text = PString(own);
    if (!ownerObj) {
        text = PString(left) + text + PString(right);
    } else {
        int depth = 0;
        for (TObjQz* o = ownerObj; o && depth < 64; o = o->GetOwnerObj(), ++depth) {
            unsigned char n[256];
            o->GetName(n);
            if (o->GetOwnerObj())
                text = PString(n) + PString(separator) + text;
            else
                text = PString(left) + PString(n) + PString(right) + text;
        }
    }
    if (text.size() > 255) text.resize(255);
    PSet(out, text);
}

void TFileObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    ownerObj = nullptr;
    method = nullptr;
    forms = balloons = nullptr;
    TObjQz::init(doc, newName, newId);
}

void TCmdObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    TObjQz::init(doc, newName, newId);
    unsigned char text[256];
    MyGetIndString(text, 8, newId);
    if (text[0] > MaxNameLen()) {
        text[0] = uint8_t(MaxNameLen());
        PAppendChar(text, char(0xC9));  // the ellipsis in Mac Roman
    }
    CopyObjName(name, text);
}

void TConstantObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    value[0] = 0;
    TObjQz::init(doc, newName, newId);
}

void TFileObjQz::Dispose()
{
    if (method) method->Dispose();
    method = nullptr;
    DisposeObjList(forms);
    DisposeObjList(balloons);
    forms = balloons = nullptr;
    TStructObjQz::Dispose();
}

void TLayoutObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    ownerObj = nullptr;
    formMethod = nullptr;
    objMethods = nullptr;
    formMethodId = formResId = mbarNumber = previewChoice = 0;
    TObjQz::init(doc, newName, newId);
}

void TLayoutObjQz::Dispose()
{
    if (formMethod) formMethod->Dispose();
    formMethod = nullptr;
    DisposeObjList(objMethods);
    objMethods = nullptr;
    TStructObjQz::Dispose();
}

void TGnlProcObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    ownerObj = nullptr;
    table = nullptr;
    locals = nullptr;
    used = false;
    TObjQz::init(doc, newName, newId);
}

void TProcObjQz::init(TMainDoc* doc, const unsigned char* newName, int16_t newId)
{
    TGnlProcObjQz::init(doc, newName, newId);
    declPos = -1;
    iconId = 0;
}

void EachOwned(TObjQz* obj, const std::function<void(TObjQz*)>& visit)
{
    auto each = [&](ObjListHdl list) {
        for (int32_t i = 0; list && i < list->Size(); ++i) visit(list->At(i));
    };
    if (auto* table = dynamic_cast<TFileObjQz*>(obj)) {
        if (table->method) visit(table->method);
        each(table->forms);
        each(table->balloons);
    } else if (auto* form = dynamic_cast<TLayoutObjQz*>(obj)) {
        if (form->formMethod) visit(form->formMethod);
        each(form->objMethods);
    } else if (auto* method = dynamic_cast<TGnlProcObjQz*>(obj)) {
        each(method->locals);
    }
}
