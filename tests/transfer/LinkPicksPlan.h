// Planning a program run's choice of "link" for a table in the conflict
// dialog and of the destination's table in the link dialog.
#pragma once

#include <string>

#include "app/dialogs/DialogUtilities.h"
#include "app/longlist/LongList.h"
#include "app/longlist/LongListHooks.h"
#include "design/objects/ObjQz.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/menus/Menus.h"
#include "tests/design/ReadFixture.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictDialog.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/EditDialogs.h"

namespace transfertest {

using namespace platform;

// Where the program's dialogs will show what a run picks for the table
// named `tableName` that a drop of `dragged` (with `mode`, 1 for Option)
// brings along, another definition of it being in the destination: its
// choice box in the conflict dialog, how far below the current choice the
// pop-up puts "link", and the destination's table of that name in the
// link dialog. The conflicts are gathered here as the drop gathers them
// and both dialogs opened and closed again.
struct LinkPicks {
    Point box{0, 0};
    int16_t linkBelow = 0;
    Point destRow{0, 0};
};

inline LinkPicks PlanLinkPicks(TMainDoc* source, TMainDoc* dest, TObjQz* dragged, int16_t mode,
                               const std::string& tableName)
{
    LinkPicks picks;
    transfer::G_Filters = transfer::NewFilters();
    EXPECT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
    ObjListHdl transferList = nullptr;
    C_ListHdl conflicts = nullptr;
    EXPECT_EQ(NewObjList(&transferList, transfer::kC_ListRoom), 0);
    EXPECT_EQ(transfer::NewC_List(&conflicts, transfer::kC_ListRoom), 0);
    EXPECT_EQ(dragged->SelfAddObjList(&transferList, mode), 0);
    ShellSortType(transferList);
    for (int32_t i = 0; i < transferList->Size(); ++i)
        EXPECT_EQ(transferList->At(i)->Dir_Conflicts(dest, conflicts, transferList), 0);
    for (int32_t i = 0; i < transferList->Size(); ++i)
        EXPECT_EQ(transferList->At(i)->DoInDir_Conflicts(dest, conflicts, transferList), 0);
    EXPECT_EQ(transfer::MakeDfltCopy(dest, &transferList, conflicts), 0);

    unsigned char title[256];
    transfer::ConflictTitle(source, dest, title);
    DialogRef dialog = transfer::OpenConflictDialog(title, conflicts, &transferList, source, dest, false);
    EXPECT_NE(dialog, nullptr);
    TConflict* record = nullptr;
    int32_t row = 0;
    for (; dialog && row < G_LongListHdl->rowCount; ++row) {
        auto* r = static_cast<TConflict*>(LongLRowObject(row, G_LongListHdl));
        if (r->fSource && r->fSource->kind == 1 && readtest::P(r->fSource->name) == tableName) {
            record = r;
            break;
        }
    }
    if (record) {
        EXPECT_EQ(record->fCode, 2);
        const Rect cell = GetCellRect(row, G_LongListHdl);
        EXPECT_LE(cell.bottom, G_LongListHdl->rView.bottom) << tableName << "'s row must show without scrolling";
        const Rect box = transfer::ChoiceBoxRect(cell, record);
        SetPortWindowPort(GetDialogWindow(dialog));
        picks.box = Point{int16_t((box.top + box.bottom) / 2), int16_t(box.left + 100)};
        LocalToGlobal(&picks.box);
        // The pop-up's items all carry an icon, so all are one height: the
        // current choice comes under the mouse, "link" so many items lower.
        const int16_t from = transfer::ChooseNumber(2, record->fChoice), to = transfer::ChooseNumber(2, 8);
        int16_t heights[2] = {0, 0};
        for (int16_t items : {1, 2}) {
            const unsigned char none[1] = {0};
            MenuRef menu = NewMenu(1000, none);
            for (int16_t n = 1; n <= items; ++n) {
                AppendMenu(menu, reinterpret_cast<const unsigned char*>("\x01x"));
                SetItemIcon(menu, MenuItemIndex(n), 1);
            }
            CalcMenuSize(menu);
            heights[items - 1] = GetMenuHeight(menu);
            DisposeMenu(menu);
        }
        picks.linkBelow = int16_t((to - from) * (heights[1] - heights[0]));
        EXPECT_GT(to, from);

        // The link dialog in front of the conflict dialog: the row of
        // the destination's table of that name among its tables.
        DialogRef link = MyGetNewDialog(transfer::kLinkDialog, nullptr, reinterpret_cast<WindowRef>(-1));
        EXPECT_NE(link, nullptr);
        if (link) {
            TObjQz* chosen = nullptr;
            LongListHandle rows = nullptr;
            transfer::SetFileList(link, dest, &chosen, &rows);
            for (int32_t r = 0; rows && r < rows->rowCount; ++r) {
                auto* obj = static_cast<TObjQz*>(LongLRowObject(r, rows));
                if (readtest::P(obj->name) != tableName) continue;
                const Rect at = GetCellRect(r, rows);
                SetPortWindowPort(GetDialogWindow(link));
                picks.destRow = Point{int16_t((at.top + at.bottom) / 2), int16_t(at.left + 30)};
                LocalToGlobal(&picks.destRow);
            }
            EXPECT_NE(picks.destRow.v, 0) << tableName << " is not in the link dialog";
            LongLDispose(rows);
            MyDisposDialog(link);
        }
    }
    EXPECT_NE(record, nullptr) << "no conflict for " << tableName;
    transfer::CloseConflictDialog(dialog);
    transfer::DisposeC_List(conflicts);
    FreeObjList(transferList);
    DisposeHandle(transfer::G_Filters);
    transfer::G_Filters = nullptr;
    return picks;
}

}  // namespace transfertest
