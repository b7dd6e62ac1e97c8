// Menus the toolbox measures, draws and hit-tests itself: a menu holds the
// command it shows and sets, a title and a look; a text menu holds items
// read from an 'XMNU' resource. Choices go up the owner chain (frame, parent
// menu, menu bar, dialog) as command numbers.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/menus/Menus.h"
#include "toolbox/drawing/LookTypes.h"
#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"

class VIcon;
class VMenuBar;
class VMenuItem;
class VResourceFile;

class VMenu : public VObject {
public:
    VMenu(VFrame* owner, int32_t command);
    ~VMenu() override;
    VMenu(const VMenu&) = delete;
    VMenu& operator=(const VMenu&) = delete;

    // Whether the platform's menus keep properties, asked once.
    static void Init();
    static bool MAC_IsMenuManagerAvailable();
    static bool HasMenuFeature() { return MAC_IsMenuManagerAvailable(); }

    virtual void BuildMenuObject(VPainter* painter, bool asPopup, bool asSubmenu) = 0;
    virtual void DeleteMenuObject(bool deleteFromMenuList);
    virtual VCommand* GetVCommand() const { return fCommand; }
    virtual void UpdateCommand(VCommand*) {}
    virtual VCommand* FindCommand(int32_t number);
    virtual void DoLineCommand(int16_t item);
    virtual VMenu* FindMenu(int32_t menuID);
    virtual void SetMini(bool mini) { fMini = mini; }
    virtual void MakeWidthHeight(VPainter*, int16_t&, int16_t&) {}
    virtual void DrawItems(VPainter*, int16_t, int16_t) {}
    virtual void DrawNthItem(VPainter*, int16_t, int16_t, bool) {}
    virtual void DrawBackGround(VPainter* painter, int16_t width, int16_t height);
    virtual int16_t ChooseItem(VPainter*, int16_t, int16_t, int16_t, int16_t, int16_t, int16_t*) { return 0; }
    virtual void GetItemCoords(int16_t, int16_t&, int16_t&, int16_t&, int16_t&) {}
    virtual void SetLook(StdLook look);
    virtual bool IsTextMenu() const { return false; }
    virtual int32_t GetItemsCount() const { return 0; }
    virtual VMenuItem* GetNthItem(int32_t) const { return nullptr; }
    virtual int16_t GetWidth() const { return 0; }
    virtual void DrawItem(VPainter*, VMenuItem*, int32_t, bool) {}
    virtual bool IsCustomMenu() const { return false; }
    virtual bool MAC_NeedItemHiliteOrder() const { return false; }
    // The command is going: forget every reference to it.
    virtual void CommandGone(VCommand* command);

    // The owner chain.
    void SetOwner(VFrame* owner);
    void SetParentMenu(VMenu* parent);
    void SetMenuBar(VMenuBar* bar);
    void SetDialog(VDialQz* dialog);
    VMenu* GetParentMenu() const { return fParent; }
    bool FindShortcut(int32_t number, MenuShortcut& out);
    intptr_t DoCommand(VObject* source, int32_t number, intptr_t argument);
    VPainter* GetPainter();
    void ReleasePainter();

    platform::MenuRef GetMenuObject() const { return fMenuRef; }
    void DisposeMenu(bool deleteFromList);
    const VString& GetTitle() const { return fTitle; }
    void SetTitle(const VString& title) { fTitle.FromVString(title); }
    StdLook GetLook() const { return fLook; }
    bool IsMini() const { return fMini; }
    // True when the menu or an item of that look is drawn with the
    // platform's theme drawing.
    static bool UsesThemeDrawing(StdLook look);

    // Shows the menu as a pop-up at (x, y) on the desktop and performs the
    // choice; the platform menus are gone afterwards.
    void RunAsPopup(int32_t x, int32_t y, bool alignRight);

protected:
    // Creates the custom platform menu with the next free id and this title;
    // false when the platform refuses.
    bool MakePlatformMenu();
    // Inserts the platform menu and stores the link to this object.
    void InsertAndLink(bool asPopup, bool asSubmenu);
    void Listen(VCommand* command, bool on) { menulink::Listen(command, this, on); }

    VFrame* fOwner = nullptr;
    VMenu* fParent = nullptr;
    VMenuBar* fMenuBar = nullptr;
    VDialQz* fDialog = nullptr;
    VCommand* fCommand = nullptr;
    VStr<255> fTitle;
    platform::MenuRef fMenuRef = nullptr;
    StdLook fLook = -1;
    bool fMini = false;

private:
    static bool fMenuManagerChecked;
    static bool fMenuManagerAvailable;
};

// The platform menu on which the definition procedure last recorded a
// choice (null when none).
extern platform::MenuRef gMenuHandle;

// The menu object a platform menu stands for; null without a link.
VMenu* MenuOfPlatformMenu(platform::MenuRef menu);

class VMenuBar {
public:
    explicit VMenuBar(VFrame* owner = nullptr) : fOwner(owner) {}
    virtual ~VMenuBar();
    VMenuBar(const VMenuBar&) = delete;
    VMenuBar& operator=(const VMenuBar&) = delete;

    static void Init() {}
    virtual VCommand* FindCommand(int32_t number) { return menulink::FindCommand(fOwner, number); }
    virtual bool FindShortcut(int32_t number, MenuShortcut& out) { return menulink::FindShortcut(fOwner, number, out); }
    // True when the owner frame handled the command.
    virtual bool DoCommand(VObject* source, int32_t number, intptr_t argument)
    {
        return menulink::DoCommand(fOwner, source, number, argument) != 0;
    }
    virtual void UpdateCommand(VCommand*) {}
    // A window that used the bar is going.
    virtual void WindowClosed(VObject*) {}
    // A computing painter of the bar's own, kept until released.
    virtual VPainter* GetPainter();
    virtual void ReleasePainter();
    void SetOwner(VFrame* owner) { fOwner = owner; }

private:
    VFrame* fOwner = nullptr;
    VPainter* fPainter = nullptr;
};

// Start-up's step: the menus, then the menu bar.
void InitMenus();
