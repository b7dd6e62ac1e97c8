// Printing and export of the kinds that hold other objects: a table's
// fields and subtables, a group's or component's members and a package's
// routines come with their owner when the owner's row does not show them
// (the options' row-closed flag).
#include "design/objects/OutputSupport.h"

#include "app/appl/Preferences.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"

using namespace platform;

void UsePrintStyle(StyleField face)
{
    TextFont(GetResFont(kPrintStyle));
    TextSize(GetResSize(kPrintStyle));
    TextFace(face);
}

int16_t CurrentLineHeight()
{
    FontInfo info{};
    GetFontInfo(&info);
    return int16_t(info.ascent + info.descent + info.leading);
}

bool PrintHeadingKeeping(TObjQz* obj, OutPutParmRec* options, int16_t lines)
{
    const bool contents = options && options->contents && !obj->TstFlag(kFlagCiphered);
    if (contents) {
        UsePrintStyle(bold);
        obj->BreakIf(lines);
    }
    obj->TObjQz::PrintObj(options);
    return contents;
}

bool ShownMember(TObjQz* member)
{
    // The list never shows these (a component's private folder, trashed
    // objects): neither does its owner's output.
    return member && !member->TstFlag(kFlagHidden) && !member->TstFlag(kFlagInTrash);
}

namespace {

void MemberLine(TObjQz* member, unsigned char* out) { member->GetHeading(out); }

constexpr int16_t kSubtable = 29;

bool SubObjectsAsked(const OutPutParmRec* options) { return options && options->rowClosed; }

}  // namespace

void PrintMemberLines(TObjQz* obj)
{
    UsePrintStyle(normal);
    for (int32_t i = 0; obj->members && i < obj->members->Size(); ++i) {
        TObjQz* m = obj->members->At(i);
        if (!ShownMember(m)) continue;
        unsigned char line[256];
        MemberLine(m, line);
        m->PrintLinedNewLine(line, 0);
    }
}

int16_t SaveMemberLines(TObjQz* obj, int16_t file)
{
    int16_t err = 0;
    for (int32_t i = 0; !err && obj->members && i < obj->members->Size(); ++i) {
        TObjQz* m = obj->members->At(i);
        if (!ShownMember(m)) continue;
        unsigned char line[256];
        MemberLine(m, line);
        err = obj->SaveNewLine(line, 16, file);
    }
    return err;
}

int16_t TFileObjQz::Print(OutPutParmRec* options)
{
    int16_t err = TObjQz::Print(options);
    for (int32_t i = 0; !err && SubObjectsAsked(options) && members && i < members->Size(); ++i)
        err = members->At(i)->Print(options);
    return err;
}

int16_t TFileObjQz::Save(int16_t file, OutPutParmRec* options)
{
    int16_t err = TObjQz::Save(file, options);
    for (int32_t i = 0; !err && SubObjectsAsked(options) && members && i < members->Size(); ++i)
        err = members->At(i)->Save(file, options);
    return err;
}

int16_t TFileObjQz::SaveOldFormat(int16_t file)
{
    // A subtable has no line of its own: its fields stand for it.
    int16_t err = kind == kSubtable ? 0 : TObjQz::SaveOldFormat(file);
    for (int32_t i = 0; !err && members && i < members->Size(); ++i) err = members->At(i)->SaveOldFormat(file);
    return err;
}

int16_t TGroupObjQz::PrintObj(OutPutParmRec* options)
{
    const int16_t err = TObjQz::PrintObj(options);
    if (err || !SubObjectsAsked(options)) return err;
    PrintMemberLines(this);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TGroupObjQz::Save(int16_t file, OutPutParmRec* options)
{
    int16_t err = TObjQz::Save(file, options);
    if (!err && SubObjectsAsked(options)) err = SaveMemberLines(this, file);
    return err;
}

int16_t TPackagesObjQz::PrintObj(OutPutParmRec* options)
{
    const int16_t err = TObjQz::PrintObj(options);
    if (err || !SubObjectsAsked(options) || !members) return err;
    PrintMemberLines(this);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}

int16_t TPackagesObjQz::Save(int16_t file, OutPutParmRec* options)
{
    int16_t err = TObjQz::Save(file, options);
    if (!err && SubObjectsAsked(options)) err = SaveMemberLines(this, file);
    return err;
}
