#include "toolbox/drawing/MenuLinks.h"

#include "toolbox/foundation/VValue.h"

namespace {
MenuCommandHooks gHooks;
}

void SetMenuCommandHooks(const MenuCommandHooks& hooks) { gHooks = hooks; }

namespace menulink {

VCommand* FindCommand(VFrame* f, int32_t n) { return f && gHooks.frameFindCommand ? gHooks.frameFindCommand(f, n) : nullptr; }
bool FindShortcut(VFrame* f, int32_t n, MenuShortcut& out)
{
    return f && gHooks.frameFindShortcut && gHooks.frameFindShortcut(f, n, out);
}
intptr_t DoCommand(VFrame* f, VObject* s, int32_t n, intptr_t a)
{
    return f && gHooks.frameDoCommand ? gHooks.frameDoCommand(f, s, n, a) : 0;
}
VPainter* GetPainter(VFrame* f) { return f && gHooks.frameGetPainter ? gHooks.frameGetPainter(f) : nullptr; }
void ReleasePainter(VFrame* f)
{
    if (f && gHooks.frameReleasePainter) gHooks.frameReleasePainter(f);
}
VCommand* FindCommand(VDialQz* d, int32_t n) { return d && gHooks.dialogFindCommand ? gHooks.dialogFindCommand(d, n) : nullptr; }
bool FindShortcut(VDialQz* d, int32_t n, MenuShortcut& out)
{
    return d && gHooks.dialogFindShortcut && gHooks.dialogFindShortcut(d, n, out);
}
intptr_t DoCommand(VDialQz* d, VObject* s, int32_t n, intptr_t a)
{
    return d && gHooks.dialogDoCommand ? gHooks.dialogDoCommand(d, s, n, a) : 0;
}
int32_t Number(const VCommand* c) { return c && gHooks.commandNumber ? gHooks.commandNumber(c) : 0; }
bool Enabled(const VCommand* c) { return c && gHooks.commandEnabled && gHooks.commandEnabled(c); }
VValue* Value(const VCommand* c) { return c && gHooks.commandValue ? gHooks.commandValue(c) : nullptr; }
VCommand* Group(const VCommand* c) { return c && gHooks.commandGroup ? gHooks.commandGroup(c) : nullptr; }
VArrayValue* Choices(const VCommand* c) { return c && gHooks.commandChoices ? gHooks.commandChoices(c) : nullptr; }
void Name(const VCommand* c, VString& name)
{
    if (c && gHooks.commandName) gHooks.commandName(c, name);
}
void SetValue(VCommand* c, VValue* v, bool adopt)
{
    if (c && gHooks.commandSetValue) gHooks.commandSetValue(c, v, adopt);
    else if (adopt) delete v;
}
void Listen(VCommand* c, VMenu* m, bool on)
{
    if (c && m && gHooks.commandListen) gHooks.commandListen(c, m, on);
}

}  // namespace menulink
