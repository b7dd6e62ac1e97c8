#include "design/objects/DesignGlobals.h"

#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/reading/ReadQzB.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

int16_t G_NewObj = 0;
uint8_t G_Block[31] = {};
WaitParamRec* G_WaitParam = nullptr;

void ResetDesignGlobals()
{
    G_NewObj = 0;
    std::memset(G_Block, 0, sizeof G_Block);
    G_ModuleUpdate = 4;
    G_WaitParam = nullptr;
    ForgetEnumDirectory();
}

void SetBlockArray()
{
    std::memset(G_Block, 0, sizeof G_Block);
    if (G_PrefResFile <= 0) return;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(G_PrefResFile);
    platform::Handle h = platform::Get1Resource(platform::FourCC("Oblk"), 0);
    platform::UseResFile(saved);
    if (!h || !*h) return;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const platform::Size size = platform::GetHandleSize(h);
    for (platform::Size at = 0; at + 1 < size && p[at] != 0; at += 2)
        if (p[at + 1] != 0 && p[at] <= 31) G_Block[p[at] - 1] = 1;
    platform::ReleaseResource(h);
}
