// The application's process-wide state. InitGlobals clears all of it (the
// module-update level excepted) and is also the reset between tests.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/windows/Windows.h"

class TAppl;
namespace platform {
struct DialogRecord;
}

extern TAppl* MyAppl;
extern int16_t G_MainResFile;
extern int16_t G_MainVRefNum;
extern int32_t G_MainDirID;
extern int16_t G_MachineType;
extern platform::Handle GromMemHdl;   // the memory reserve
extern bool G_NoMem;                  // critical memory: until quit
extern bool G_LowMem;
extern platform::Handle CmdStackHdl;  // arguments
extern platform::Handle FuncStackHdl; // posted commands
extern platform::RGBColor G_DlogContentColor;
extern int16_t G_NetWorkErr;
extern int16_t G_ModuleUpdate;
extern bool gMacOSX;
extern bool G_ShowID;
extern platform::Handle G_SearchFilterHdl;
extern int16_t G_SearchWhere;          // the search's scope: 1 the whole document, 2 the rows shown
extern bool G_IsGenerique;             // the about box is up
extern bool G_C_Hide;
// The about box: its dialog, template and the screen saved under it.
extern platform::DialogRecord* G_Dialog;
extern platform::Handle G_AboutTemplate, G_BitsStuff;
extern platform::Rect G_Rect;

// The hidden window made at start-up (the kernel's `firstwind` is a flag).
extern platform::WindowRef gFirstWind;
extern int16_t PopFont, PopSize, MyApplFont, MyApplSize;
extern platform::CursHandle ClockCursor, GraphCursor, TextCursor, HSplitCursor, VSplitCursor, DragCursor,
    DragableCursor, CrossCursor;
extern uint16_t gAppearanceManagerVersion;
extern bool gCanUseApperanceManager;

constexpr int32_t kReserveSize = 262144;

void InitGlobals();
