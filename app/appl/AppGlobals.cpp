#include "app/appl/AppGlobals.h"

#include <cstring>

TAppl* MyAppl = nullptr;
int16_t G_MainResFile = -1;
int16_t G_MainVRefNum = 0;
int32_t G_MainDirID = 0;
int16_t G_MachineType = 0;
platform::Handle GromMemHdl = nullptr;
bool G_NoMem = false;
bool G_LowMem = false;
platform::Handle CmdStackHdl = nullptr;
platform::Handle FuncStackHdl = nullptr;
platform::RGBColor G_DlogContentColor{0, 0, 0};
int16_t G_NetWorkErr = 0;
int16_t G_ModuleUpdate = 4;
bool gMacOSX = false;
bool G_ShowID = false;
platform::Handle G_SearchFilterHdl = nullptr;
int16_t G_SearchWhere = 1;
bool G_IsGenerique = false;
bool G_C_Hide = false;
platform::WindowRef gFirstWind = nullptr;
int16_t PopFont = 0, PopSize = 0, MyApplFont = 0, MyApplSize = 0;
platform::CursHandle ClockCursor = nullptr, GraphCursor = nullptr, TextCursor = nullptr, HSplitCursor = nullptr,
                     VSplitCursor = nullptr, DragCursor = nullptr, DragableCursor = nullptr, CrossCursor = nullptr;
uint16_t gAppearanceManagerVersion = 0;
bool gCanUseApperanceManager = false;

void InitGlobals()
{
    MyAppl = nullptr;
    G_MainResFile = -1;
    G_MainVRefNum = 0;
    G_MainDirID = 0;
    G_MachineType = 0;
    GromMemHdl = nullptr;
    G_NoMem = G_LowMem = false;
    CmdStackHdl = FuncStackHdl = nullptr;
    G_DlogContentColor = platform::RGBColor{0, 0, 0};
    G_NetWorkErr = 0;
    G_ModuleUpdate = 4;
    gMacOSX = false;
    G_ShowID = false;
    G_SearchFilterHdl = nullptr;
    G_SearchWhere = 1;
    G_IsGenerique = false;
    G_C_Hide = false;
    gFirstWind = nullptr;
    PopFont = PopSize = MyApplFont = MyApplSize = 0;
    ClockCursor = GraphCursor = TextCursor = HSplitCursor = VSplitCursor = DragCursor = DragableCursor = CrossCursor =
        nullptr;
    gAppearanceManagerVersion = 0;
    gCanUseApperanceManager = false;
}
