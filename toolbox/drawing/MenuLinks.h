// What the menus need of the commands, frames and dialogs of the views
// layer, which lies above this one: a table of procedures the views layer
// fills at start-up. Until it does, menus find no command and send nothing.
#pragma once

#include <cstdint>

class VArrayValue;
class VCommand;
class VDialQz;
class VFrame;
class VMenu;
class VObject;
class VPainter;
class VString;
class VValue;

// The key assigned to a command, as a menu shows it.
struct MenuShortcut {
    uint8_t modifiers = 0;   // 0x80 command, 0x08 shift, 0x20 option
    int32_t specialKey = 0;  // index in the key names, 0 for a character key
    uint8_t keyText[32] = {};  // length byte and the key's text
};

struct MenuCommandHooks {
    VCommand* (*frameFindCommand)(VFrame*, int32_t number) = nullptr;
    bool (*frameFindShortcut)(VFrame*, int32_t number, MenuShortcut& out) = nullptr;
    intptr_t (*frameDoCommand)(VFrame*, VObject* source, int32_t number, intptr_t argument) = nullptr;
    VPainter* (*frameGetPainter)(VFrame*) = nullptr;
    void (*frameReleasePainter)(VFrame*) = nullptr;
    VCommand* (*dialogFindCommand)(VDialQz*, int32_t number) = nullptr;
    bool (*dialogFindShortcut)(VDialQz*, int32_t number, MenuShortcut& out) = nullptr;
    intptr_t (*dialogDoCommand)(VDialQz*, VObject* source, int32_t number, intptr_t argument) = nullptr;

    int32_t (*commandNumber)(const VCommand*) = nullptr;
    bool (*commandEnabled)(const VCommand*) = nullptr;
    VValue* (*commandValue)(const VCommand*) = nullptr;
    VCommand* (*commandGroup)(const VCommand*) = nullptr;
    VArrayValue* (*commandChoices)(const VCommand*) = nullptr;
    void (*commandName)(const VCommand*, VString& name) = nullptr;
    // With adopt the command keeps value, else it copies it.
    void (*commandSetValue)(VCommand*, VValue* value, bool adopt) = nullptr;
    // The menu starts or stops hearing of the command's changes
    // (VMenu::UpdateCommand) and of its end (VMenu::CommandGone).
    void (*commandListen)(VCommand*, VMenu* menu, bool on) = nullptr;
};

void SetMenuCommandHooks(const MenuCommandHooks& hooks);

// Each call answers the neutral value when its procedure is missing.
namespace menulink {
VCommand* FindCommand(VFrame* frame, int32_t number);
bool FindShortcut(VFrame* frame, int32_t number, MenuShortcut& out);
intptr_t DoCommand(VFrame* frame, VObject* source, int32_t number, intptr_t argument);
VPainter* GetPainter(VFrame* frame);
void ReleasePainter(VFrame* frame);
VCommand* FindCommand(VDialQz* dialog, int32_t number);
bool FindShortcut(VDialQz* dialog, int32_t number, MenuShortcut& out);
intptr_t DoCommand(VDialQz* dialog, VObject* source, int32_t number, intptr_t argument);
int32_t Number(const VCommand* command);
bool Enabled(const VCommand* command);
VValue* Value(const VCommand* command);
VCommand* Group(const VCommand* command);
VArrayValue* Choices(const VCommand* command);
void Name(const VCommand* command, VString& name);
void SetValue(VCommand* command, VValue* value, bool adopt);
void Listen(VCommand* command, VMenu* menu, bool on);
}  // namespace menulink
