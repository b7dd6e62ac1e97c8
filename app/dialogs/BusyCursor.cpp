#include "app/dialogs/BusyCursor.h"

#include "app/appl/AppGlobals.h"

using namespace platform;

namespace {
const Cursor* G_CrtCursor = nullptr;
}

void CursInstall(int16_t, int16_t, int16_t)
{
    if (ClockCursor && *ClockCursor) MySetCursor(*ClockCursor);
}

int16_t CursPause() { return 0; }
void CursResume(int16_t) {}
void CursRmve() { SetArrowCursor(); }

void MySetCursor(const Cursor* cursor)
{
    if (!cursor || cursor == G_CrtCursor) return;
    SetCursor(cursor);
    G_CrtCursor = cursor;
}

void SetArrowCursor() { MySetCursor(&GetQDGlobalsArrow()); }
const Cursor* CurrentAppCursor() { return G_CrtCursor; }
void ResetAppCursor() { G_CrtCursor = nullptr; }
