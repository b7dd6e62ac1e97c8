// The copy of rows dropped from one document's list onto another's
// (TRefPlane::MoveQzObj reaches it through the browser's hook).
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

// Makes the defaults and the lists of the transfer, gathers the rows'
// objects (components, their folders, locked and unmovable objects left
// out; mode 1 with what each uses), and runs DoMove. Its result.
int16_t MoveDropped(TMainDoc* source, TMainDoc* dest, TObjQz* const* rows, int32_t count, int16_t mode);

}  // namespace transfer
