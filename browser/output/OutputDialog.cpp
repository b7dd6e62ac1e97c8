// The output dialog (DLOG 265 printing, DLOG 300 export) and the save
// dialog that names the export file.
#include <cstring>
#include <string>

#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/DocSupport.h"
#include "browser/output/ListOutput.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace browser {

OutPutParmRec G_Parms{1, 0, 0, 0, 0, 0};

namespace {

enum : int16_t {
    kOK = 1,
    kCancel = 2,
    kContents = 3,
    kCallers = 4,
    kUses = 5,
    kMessage = 6,
    kDocumentation = 10,
    kOldFormat = 11,
};

constexpr size_t kShownName = 63;

// The string of 'STR#' 1013 `before`, the name, then string `after`.
void Around(unsigned char* out, int16_t before, const unsigned char* name, int16_t after)
{
    unsigned char part[256];
    MyGetIndString(out, 1013, before);
    AppendPString(out, name);
    MyGetIndString(part, 1013, after);
    AppendPString(out, part);
}

void DimOptions(DialogRef dialog, bool dimmed)
{
    for (int16_t item : {kContents, kCallers, kUses, kDocumentation}) {
        if (dimmed) SetItemVal(dialog, item, 0);
        SetHiLight(dialog, item, dimmed ? 255 : 0);
    }
}

}  // namespace

int16_t GetOutPutParms(bool printing, FSSpec* file, OutPutParmRec* parms)
{
    SetArrowCursor();
    const int16_t id = printing ? 265 : 300;
    Handle dlog = nullptr, bits = nullptr;
    Rect saveRect{};
    DLogSaveScreen(FourCC("DLOG"), id, &dlog, &bits, &saveRect);
    DialogRef dialog = MyGetNewDialog(id, nullptr, reinterpret_cast<WindowRef>(-1));
    if (!dialog) {
        DLogRestoreScreen(dlog, bits, &saveRect, false);
        return memFullErr;
    }
    // The message names the file as titles show it, at most 63 characters.
    unsigned char name[256], text[256];
    const std::string leaf = FSpGetMacName(*file);
    name[0] = uint8_t(std::min<size_t>(leaf.size(), kShownName));
    std::memcpy(name + 1, leaf.data(), name[0]);
    Around(text, printing ? 2 : 3, name, 15);
    SetText(dialog, kMessage, text);
    SetItemVal(dialog, kContents, G_Parms.contents);
    SetItemVal(dialog, kCallers, G_Parms.callers);
    SetItemVal(dialog, kUses, G_Parms.uses);
    SetItemVal(dialog, kDocumentation, G_Parms.documentation);
    if (!printing) {
        SetItemVal(dialog, kOldFormat, G_Parms.oldFormat);
        if (G_Parms.oldFormat) DimOptions(dialog, true);
    }
    ShowWindow(GetDialogWindow(dialog));
    DrawDialog(dialog);
    int16_t hit = 0;
    while (hit != kOK && hit != kCancel) {
        MyModalDialog(DefaultFilter, &hit);
        if (hit == kContents || hit == kCallers || hit == kUses || hit == kDocumentation ||
            (!printing && hit == kOldFormat)) {
            if (GetHiLight(dialog, hit) == 255) continue;
            SetItemVal(dialog, hit, !GetItemVal(dialog, hit));
            if (hit == kOldFormat) DimOptions(dialog, GetItemVal(dialog, kOldFormat) != 0);
        }
    }
    OutPutParmRec chosen = *parms;
    chosen.contents = uint8_t(GetItemVal(dialog, kContents) != 0);
    chosen.uses = uint8_t(GetItemVal(dialog, kUses) != 0);
    chosen.callers = uint8_t(GetItemVal(dialog, kCallers) != 0);
    chosen.documentation = uint8_t(GetItemVal(dialog, kDocumentation) != 0);
    if (!printing) chosen.oldFormat = uint8_t(GetItemVal(dialog, kOldFormat) != 0);
    MyDisposDialog(dialog);
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    if (hit != kOK) return 1001;
    if (printing) {
        *parms = chosen;
        G_Parms.contents = chosen.contents;
        G_Parms.uses = chosen.uses;
        G_Parms.callers = chosen.callers;
        G_Parms.documentation = chosen.documentation;
        return 0;
    }
    chosen.rowClosed = G_Parms.rowClosed;
    G_Parms = chosen;
    unsigned char prompt[256];
    Around(prompt, 3, name, 5);
    MyGetIndString(text, 1013, 6);
    const std::string proposed =
        ProposedFileName(FSpGetName(*file), FileNameOf(std::string(reinterpret_cast<const char*>(text + 1), text[0])));
    DLogSaveScreen(FourCC("DLOG"), 266, &dlog, &bits, &saveRect);
    FSSpec chosenFile{};
    const int16_t answer = MacPutFile(prompt, proposed, &chosenFile);
    DLogRestoreScreen(dlog, bits, &saveRect, false);
    if (answer != 0) return 1001;
    *file = chosenFile;
    *parms = G_Parms;
    return 0;
}

}  // namespace browser
