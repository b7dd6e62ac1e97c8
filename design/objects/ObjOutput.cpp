// Preview, printing, export and documentation slots of the base. The base
// shows, prints and exports nothing of its own; the kinds with output
// override these, and the documentation editing and output code replaces
// the documentation answers here.
#include "app/documents/MainDoc.h"
#include "design/objects/ObjQz.h"
#include "resources/ResourceApi.h"

int16_t TObjQz::DoItTxtStr(unsigned char* text, TObjQz* strObj, void* strList, bool* changed)
{
    (void)text, (void)strObj, (void)strList;
    if (changed) *changed = false;
    return 0;
}

void TObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl list, TObjQz** out, bool flag2)
{
    (void)newName, (void)flag, (void)list, (void)flag2;
    if (out) *out = nullptr;
}

bool TObjQz::BreakIf(int16_t lines) { (void)lines; return false; }
int16_t TObjQz::PageWide() { return 0; }
int16_t TObjQz::SaveNewLine(const unsigned char* text, int16_t indent, int16_t file) { (void)text, (void)indent, (void)file; return 0; }
void TObjQz::PrintLine(const unsigned char* text, int16_t indent) { (void)text, (void)indent; }
void TObjQz::PrintLinedNewLine(const unsigned char* text, int16_t indent) { (void)text, (void)indent; }
void TObjQz::PrintNewLine(const unsigned char* text, int16_t indent) { (void)text, (void)indent; }
int16_t TObjQz::PrintObj(PrintOptions* options) { (void)options; return 0; }
int16_t TObjQz::Print(PrintOptions* options) { (void)options; return 0; }
int16_t TObjQz::SaveOldFormat(int16_t file) { (void)file; return 0; }
int16_t TObjQz::Save(int16_t file, PrintOptions* options) { (void)file, (void)options; return 0; }
int16_t TObjQz::PrintDoc() { return 0; }
int16_t TObjQz::SaveDoc(int16_t file) { (void)file; return 0; }
void TObjQz::EditDoc(TMainDoc* doc) { (void)doc; }

uint32_t TObjQz::GetTimeDoc()
{
    const uint32_t type = GetDocResType();
    if (type == kNoResType || !owner) return 0;
    const int16_t saved = xcurres();
    useres(owner->fResFile);
    platform::Handle h = xget1res(type, id);
    const uint32_t time = h ? xgetrestimestamp(h) : 0;
    useres(saved);
    return time;
}

int16_t TObjQz::MoveDoc(TObjQz* dest) { (void)dest; return 0; }
int16_t TObjQz::WriteDoc(void* te, int32_t state) { (void)te, (void)state; return 0; }
int16_t TObjQz::ReadDoc(void* te, int32_t* state, bool* added)
{
    (void)te;
    if (state) *state = 2;
    if (added) *added = false;
    return 0;
}
int16_t TObjQz::DelDoc() { SetDocFlag(); return 0; }
int16_t TObjQz::LockDoc() { return 0; }
void TObjQz::UnLockDoc() {}
