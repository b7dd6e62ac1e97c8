// Cursor resources as stored: the one-bit and the colour forms.
#include <cstddef>
#include <cstdint>

#include "platform/cursors/Cursors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::Cursor c;
    platform::ReadCursorResource(data, size, &c);
    platform::CCrsr cc;
    platform::ReadColorCursorResource(data, size, &cc);
    return 0;
}
