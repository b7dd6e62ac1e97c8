// Preview, printing and export slots of the base. The base shows, prints
// and exports nothing of its own; the kinds with output override these.
// The documentation's own operations are in design/documentation/.
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

// Copying documentation to another document belongs to the transfer.
int16_t TObjQz::MoveDoc(TObjQz* dest) { (void)dest; return 0; }
