// Any bytes as a form's 'FOQz' through the copy of its image and the move
// of its object methods, with a mover that numbers the new methods and
// fails one of them. A form that the form reader reads must still read
// after a copy or a move that answered 0.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "forms/walkers/FormCopy.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Memory.h"

namespace {

int16_t gNext = 0;

int16_t Move(TMainDoc*, TMainDoc*, int16_t id, int16_t* newId)
{
    *newId = 0;
    if (id == 3) return kFormScriptMissing;
    if (id == 4) return -34;
    *newId = ++gNext;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Handle in = fuzz::HandleOf(data, size, 1 << 20);
    platform::Handle out = platform::NewHandle(0);
    if (in && out) {
        const bool readable = fuzz::FormImageReads(in);
        if (CopyIFFLayOut(in, out) == 0 && readable && !fuzz::FormImageReads(out)) std::abort();
        gNext = 0;
        std::vector<int16_t> moved;
        const int16_t result = MoveIFFFormObject(in, nullptr, nullptr, Move, &moved);
        if (result == 0 && readable && !fuzz::FormImageReads(in)) std::abort();
        if (moved.size() != size_t(gNext)) std::abort();
    }
    if (in) platform::DisposeHandle(in);
    if (out) platform::DisposeHandle(out);
    return 0;
}
