// The companion resource file of a structure or library document: the same
// folder, the name's extension (a point among its last four characters)
// replaced by "RSR"; a name without one gets ".RSR". Where only ".rsr" is
// there, that one. Documents and the application name companions through
// this one rule.
#pragma once

#include "platform/files/FileTypes.h"

// False when the name is too long to carry the extension (252 characters
// or more): such a document can have no companion.
bool CompanionSpec(const platform::FSSpec& fileSpec, platform::FSSpec* companion);
// The document (a file holding a container) beside `companion`, other
// than `except`, whose companion it is; false when there is none. Of
// several, the first by name. Memory running out answers true with an
// empty owner: a companion not known to be free is taken.
bool CompanionOwner(const platform::FSSpec& companion, const platform::FSSpec& except, platform::FSSpec* owner);
