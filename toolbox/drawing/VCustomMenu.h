// Submenus that are not lists of items: the installed fonts, a 16 x 16 grid
// of palette colours with the command's choices below it, and a 6 x 6 grid
// of patterns. Each draws and hit-tests itself through the shared menu
// definition procedure.
#pragma once

#include "toolbox/drawing/VMenu.h"

class VArrayValue;
class VIcon;
class VValue;

class VFontMenu : public VMenu {
public:
    VFontMenu(VMenu* parent, int32_t command);

    void BuildMenuObject(VPainter* painter, bool asPopup, bool asSubmenu) override;
    void UpdateCommand(VCommand* command) override;
    void DoLineCommand(int16_t item) override;
    int32_t GetItemsCount() const override;
    void MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height) override;
    void DrawItems(VPainter* painter, int16_t width, int16_t height) override;
    int16_t ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                       int16_t* underMouse) override;
    void GetItemCoords(int16_t item, int16_t& x, int16_t& y, int16_t& width, int16_t& height) override;

    int16_t GetCurrentIndex() const { return fCurrent; }
    int16_t GetFirstShown() const { return fFirstShown; }
    int16_t GetLastShown() const { return fLastShown; }
    int16_t GetLineHeight() const { return fLineHeight; }

private:
    void FindCurrent();
    void DrawOneItem(VPainter* painter, int16_t index, int16_t width, bool hilite);
    void DrawEntryAt(VPainter* painter, int16_t index, int16_t y, int16_t width, bool hilite);
    void DrawScrollItem(VPainter* painter, int16_t width, bool downward, bool hilite);
    int16_t EntryTop(int16_t index) const;

    int16_t fTotalHeight = 0;
    int16_t fFirstShown = 1;
    int16_t fLastShown = 0;
    int16_t fScrollZone = 0;
    int16_t fCheckWidth = 0;
    int16_t fLineHeight = 0;
    int16_t fCurrent = 0;
};

class VCustomMenu : public VMenu {
public:
    using VMenu::VMenu;
    void BuildMenuObject(VPainter* painter, bool asPopup, bool asSubmenu) override;
    void DeleteMenuObject(bool deleteFromMenuList) override;
    bool IsCustomMenu() const override { return true; }
    virtual void InitCustom() {}
    virtual void DeInitCustom() {}

protected:
    // The long value the menu gave a command that had none; a choice while
    // the command still holds it always counts.
    VValue* fStartValue = nullptr;
};

class VColorMenu : public VCustomMenu {
public:
    VColorMenu(VMenu* parent, int32_t command);
    ~VColorMenu() override;

    void InitCustom() override;
    void DeInitCustom() override;
    void DoLineCommand(int16_t item) override;
    void MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height) override;
    void DrawItems(VPainter* painter, int16_t width, int16_t height) override;
    int16_t ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                       int16_t* underMouse) override;
    void GetItemCoords(int16_t item, int16_t& x, int16_t& y, int16_t& width, int16_t& height) override;
    int32_t GetItemsCount() const override { return 256 + fChoiceCount; }

    void GetElemSizes(int16_t& cell, int16_t& gap, int16_t& footer) const;
    // The colour long 0x00BBGGRR of cell n (1-based); false for a cell the
    // palette does not hold.
    bool CellColor(int16_t n, uint32_t& color) const;

private:
    void Mark(VPainter* painter, int16_t item, int16_t width, bool on);

    char** fPalette = nullptr;
    VArrayValue* fChoices = nullptr;
    int16_t fTextLineHeight = 0;
    int16_t fChoiceCount = 0;
};

class VPatternMenu : public VCustomMenu {
public:
    VPatternMenu(VMenu* parent, int32_t command);
    ~VPatternMenu() override;

    void InitCustom() override;
    void DeInitCustom() override;
    void DoLineCommand(int16_t item) override;
    void MakeWidthHeight(VPainter* painter, int16_t& width, int16_t& height) override;
    void DrawItems(VPainter* painter, int16_t width, int16_t height) override;
    int16_t ChooseItem(VPainter* painter, int16_t width, int16_t height, int16_t x, int16_t y, int16_t current,
                       int16_t* underMouse) override;
    void GetItemCoords(int16_t item, int16_t& x, int16_t& y, int16_t& width, int16_t& height) override;
    int32_t GetItemsCount() const override { return 36; }

    void GetElemSizes(int16_t& cellWidth, int16_t& cellHeight, int16_t& gap) const;
    // Patterns the list holds whole (at most 35).
    int16_t PatternCount() const;

private:
    void DrawCell(VPainter* painter, int16_t n, int32_t value, StdColor valueFrame);
    void MakeIcon(VPainter* painter);

    char** fPatterns = nullptr;
    VIcon* fIcon = nullptr;
};
