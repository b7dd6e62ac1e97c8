// A menu of items read from an 'XMNU' resource, and its items: lines, texts,
// command names and submenus (another 'XMNU', a font list, a colour or a
// pattern grid).
#pragma once

#include <vector>

#include "toolbox/drawing/VMenu.h"

class VTextMenu;
class VValue;

class VMenuObject : public VObject {
public:
    explicit VMenuObject(VTextMenu* menu) : fMenu(menu) {}
    virtual bool IsAnItem() const { return false; }
    VTextMenu* GetMenu() const { return fMenu; }

protected:
    VTextMenu* fMenu;
};

class VMenuItem : public VMenuObject {
public:
    // Appended when position is below 1, else inserted at that 1-based place.
    VMenuItem(VTextMenu* menu, int32_t command, int16_t position);
    ~VMenuItem() override;
    VMenuItem(const VMenuItem&) = delete;
    VMenuItem& operator=(const VMenuItem&) = delete;

    bool IsAnItem() const override { return true; }
    virtual bool IsASubMenu() const { return false; }
    virtual bool IsALine() const { return false; }
    virtual bool IsCustom() const { return false; }
    virtual bool IsTextItem() const { return false; }
    // Widens the four columns to this item's needs; answers its height.
    virtual int16_t Measure(VPainter* painter, int16_t lineHeight, int16_t* mark, int16_t* title, int16_t* modifiers,
                            int16_t* key);
    virtual void Draw(VPainter*, bool, int16_t, int16_t, int16_t, int16_t, int16_t) {}
    virtual void GetTitle(VString& title) const;
    virtual void SetLook(StdLook look) { fLook = look; }

    VCommand* GetCommand() const { return fCommand; }
    void ForgetCommand() { fCommand = nullptr; }
    int16_t GetHeight() const { return fHeight; }
    bool IsEnabled() const { return fEnabled; }
    bool IsSwitch() const { return fSwitch; }
    void SetMini(bool mini) { fMini = mini; }
    int32_t GetArgument() const { return fArgument; }
    void SetArgument(int32_t argument) { fArgument = argument; }
    void Detach() { fMenu = nullptr; }

protected:
    VCommand* fCommand = nullptr;
    int16_t fHeight = 0;
    bool fEnabled = true;
    bool fSwitch = false;
    bool fMini = false;
    StdLook fLook = -1;
    int32_t fArgument = 0;
};

class VMenuItemLine : public VMenuItem {
public:
    VMenuItemLine(VTextMenu* menu, VPainter* painter, int16_t position);
    bool IsALine() const override { return true; }
    int16_t Measure(VPainter*, int16_t lineHeight, int16_t*, int16_t*, int16_t*, int16_t*) override;
    void Draw(VPainter* painter, bool hilite, int16_t width, int16_t, int16_t, int16_t, int16_t) override;
};

class VMenuItemText : public VMenuItem {
public:
    VMenuItemText(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file, const uint8_t* title,
                  int16_t iconID, int16_t reserved, bool switchFlag, int16_t position);
    ~VMenuItemText() override;

    bool IsCustom() const override { return fIcon != nullptr; }
    bool IsTextItem() const override { return true; }
    int16_t Measure(VPainter* painter, int16_t lineHeight, int16_t* mark, int16_t* title, int16_t* modifiers,
                    int16_t* key) override;
    void Draw(VPainter* painter, bool hilite, int16_t width, int16_t markColumn, int16_t titleColumn,
              int16_t modifiersColumn, int16_t keyColumn) override;
    void GetTitle(VString& title) const override { title.FromVString(fTitle); }
    virtual int16_t MeasureText(VPainter*) { return 0; }
    virtual void DrawText(VPainter*) {}
    // The mark to show: '0' check, '2' mixed, 0 none.
    virtual uint8_t GetCheckMark(const VValue* value, const VValue* groupValue, int32_t commandNumber) const;
    VIcon* GetIcon() const { return fIcon; }

protected:
    // The mark this item shows now, from its command and group.
    uint8_t CurrentMark() const;

    VStr<255> fTitle;
    VIcon* fIcon = nullptr;
};

class VMenuItemName : public VMenuItemText {
public:
    using VMenuItemText::VMenuItemText;
    void GetTitle(VString& title) const override;
};

class VMenuItemSub : public VMenuItemText {
public:
    VMenuItemSub(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file, const uint8_t* title,
                 int16_t iconID, int16_t reserved);
    ~VMenuItemSub() override;

    bool IsASubMenu() const override { return true; }
    void SetLook(StdLook look) override;
    virtual VMenu* BuildSubMenu(VPainter* painter) = 0;
    virtual void DeleteMenuObject(bool deleteFromList);
    VMenu* GetSubMenu() const { return fSubMenu; }

protected:
    VMenu* fSubMenu = nullptr;
};

class VMenuItemSubText : public VMenuItemSub {
public:
    // path: the 'XMNU' ids being built above this item, so that a menu
    // naming itself (directly or through others) gets an empty submenu.
    VMenuItemSubText(VTextMenu* menu, VPainter* painter, int32_t command, VResourceFile* file, int16_t submenuID,
                     int16_t iconID, int16_t reserved, std::vector<int16_t>* path = nullptr);
    void GetTitle(VString& title) const override;
    VMenu* BuildSubMenu(VPainter*) override { return fSubMenu; }
};

class VMenuItemSubColor : public VMenuItemSub {
public:
    using VMenuItemSub::VMenuItemSub;
    VMenu* BuildSubMenu(VPainter* painter) override;
};

class VMenuItemSubPattern : public VMenuItemSub {
public:
    using VMenuItemSub::VMenuItemSub;
    VMenu* BuildSubMenu(VPainter* painter) override;
};

class VMenuItemSubFont : public VMenuItemSub {
public:
    using VMenuItemSub::VMenuItemSub;
    VMenu* BuildSubMenu(VPainter* painter) override;
};

class VTextMenu : public VMenu {
public:
    VTextMenu(VFrame* owner, VPainter* painter, int32_t command, VResourceFile* file, int16_t resourceID);
    // A submenu: its parent is set before it looks its command up.
    VTextMenu(VMenu* parent, VPainter* painter, int32_t command, VResourceFile* file, int16_t resourceID,
              std::vector<int16_t>* path);
    ~VTextMenu() override;

    void BuildFromResource(VPainter* painter, VResourceFile* file, int16_t id, std::vector<int16_t>* path = nullptr);
    void RemoveAllItems(bool destroy);
    void AddItem(VMenuItem* item, int16_t position);
    void RemoveItem(VMenuItem* item);

    void BuildMenuObject(VPainter* painter, bool asPopup, bool asSubmenu) override;
    void DeleteMenuObject(bool deleteFromMenuList) override;
    void UpdateCommand(VCommand* command) override;
    void DoLineCommand(int16_t item) override;
    VMenu* FindMenu(int32_t menuID) override;
    void SetMini(bool mini) override;
    void SetLook(StdLook look) override;
    void CommandGone(VCommand* command) override;
    bool IsTextMenu() const override { return true; }
    bool MAC_NeedItemHiliteOrder() const override { return true; }
    int32_t GetItemsCount() const override { return int32_t(fItems.size()); }
    VMenuItem* GetNthItem(int32_t n) const override;

    void MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height) override;
    int16_t GetWidth() const override { return int16_t(fMarkWidth + fTitleWidth + fModifiersWidth + fKeyWidth + 20); }
    void GetItemCoords(int16_t item, int16_t& x, int16_t& y, int16_t& width, int16_t& height) override;
    int16_t ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                       int16_t* underMouse) override;
    void DrawItems(VPainter* painter, int16_t width, int16_t height) override;
    void DrawNthItem(VPainter* painter, int16_t width, int16_t item, bool hilite) override;
    void DrawItem(VPainter* painter, VMenuItem* item, int32_t width, bool hilite) override;

    // The menu font: small when mini.
    void SetMenuFont(VPainter* painter) const;
    int16_t GetLineHeight() const { return fLineHeight; }
    int16_t GetTotalHeight() const { return fTotalHeight; }
    int16_t GetFirstShown() const { return fFirstShown; }
    int16_t GetLastShown() const { return fLastShown; }
    int16_t GetScrollZone() const { return fScrollZone; }
    int16_t GetMarkColumn() const { return fMarkWidth; }

private:
    // The item at y below the first drawn one (top), or 0 past the last.
    int16_t ItemAt(int16_t y, int16_t first, int16_t top) const;
    void DrawScrollItem(VPainter* painter, int16_t width, int16_t height, bool downward, bool hilite);
    void DrawRange(VPainter* painter, int16_t width, int16_t from, int16_t to, int16_t y);

    std::vector<VMenuItem*> fItems;
    int16_t fTotalHeight = 0;
    int16_t fLineHeight = 0;
    int16_t fFirstShown = 1;
    int16_t fLastShown = 0;
    int16_t fScrollZone = 0;
    int16_t fMarkWidth = 0;
    int16_t fTitleWidth = 0;
    int16_t fModifiersWidth = 0;
    int16_t fKeyWidth = 0;
};
