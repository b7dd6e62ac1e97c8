// The conflict preferences command: the user's default choice of every
// conflict code that offers choices to the preferences, edited in the
// conflict dialog and kept as 'C_PR' 0 of the preferences file.
#pragma once

#include <cstdint>

namespace transfer {

// Shows the codes with their current defaults; confirming saves them
// all. 0, or the error that kept the defaults from being made or saved
// (shown). Nothing is shown nor saved when no code offers a choice.
int16_t C_Preferences();

}  // namespace transfer
