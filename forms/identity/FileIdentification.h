// Which program or plug-in a platform resource file belongs to, and
// whether two such files go together.
//
// 'QzSG' 0: the file's signature, a 16-bit number in its first 2 bytes
// (shorter: missing).
// 'QzID' s, one per signature s the file knows, big-endian:
//  off   size  field
//   0     1    L, name length
//   1     L    name, Mac Roman
//   1+L   2    version: the file's own when s is its signature, else the
//              least version of file s it needs
// A record shorter than 1 + L + 2 bytes is taken as missing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// The value of a loaded 'QzSG' or 'QzID' resource; false for another type
// or a resource too short for it.
bool getQzSGFromResHandle(platform::Handle resource, platform::ResType type, int16_t* value);
// The value of resource (type, id) of platform resource file `file`, read
// from that file alone; 0, -192 when it is missing or too short, or the
// resource manager's error. The current file is kept.
int16_t getIDFromResFile(int16_t file, platform::ResType type, int16_t id, int16_t* value);
// The file's signature ('QzSG' 0) and its own version ('QzID' of that
// signature); 0 or the first error.
int16_t cQzIdentify(int16_t file, int16_t* signature, int16_t* version);

// Whether two files go together:
//   0  compatible
//  -1  same signature, or the first file has no record of the second's
//  -2  the first needs a newer version of the second than it is
//  -3  the second needs a newer version of the first than it is
//  -4  the first cannot be identified, -5 the second
// or the resource manager's error reading the second file's record of the
// first; memFullErr when memory runs short reading either file, which says
// nothing of whether they go together.
int16_t checkVersions(int16_t first, int16_t second);
