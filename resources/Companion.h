// The companion resource file of a structure or library document: the same
// folder, the name's extension (a point among its last four characters)
// replaced by "RSR"; a name without one gets ".RSR". Documents and the
// application name companions through this one rule.
#pragma once

#include "platform/files/FileTypes.h"

// False when the name is too long to carry the extension (252 characters
// or more): such a document can have no companion.
bool CompanionSpec(const platform::FSSpec& fileSpec, platform::FSSpec* companion);
