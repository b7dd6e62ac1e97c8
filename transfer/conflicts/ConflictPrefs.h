// The user's default choices as the conflict preferences edit them: a
// list of records without objects, one per conflict code that offers at
// least one choice to the preferences, each with the user's choice, saved
// back as 'C_PR' 0 of the preferences file. The dialog that shows the list
// is the conflict dialog's.
#pragma once

#include <cstdint>

#include "transfer/conflicts/ConflictList.h"

namespace transfer {

// One record per 'C_Pm' block with an offered choice, holding the code's
// factory default; -108 when a record cannot be made (the records made so
// far stay in the list).
int16_t MakeC_Pref(C_ListHdl list);
// Each record takes the choice of the first pair of its code in 'C_PR' 0.
void UpdateC_Pref(C_ListHdl list);
// 'C_PR' 0 (made, with an empty name, when missing) becomes one {code,
// choice} pair per record, in list order; the preferences file is
// updated. The resource manager's error, 0 on success.
int16_t SaveC_Pref(C_ListHdl list);

}  // namespace transfer
