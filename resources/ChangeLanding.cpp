#include "resources/ChangeLanding.h"

#include <utility>

namespace changelanding {
namespace {

Outer gNow;

}  // namespace

Outer Begin() { return std::exchange(gNow, Outer{true, false}); }

void End(Outer outer) { gNow = outer; }

void Note(bool landed)
{
    if (gNow.watched) gNow.landed = landed;
}

bool Landed() { return gNow.watched && gNow.landed; }

}  // namespace changelanding
