// Resource reads of the kernel: platform resources through the chain,
// string lists with a one-list cache, the style table, and writing and
// numbering through the resource store.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

using platform::Handle;
using platform::ResType;

Handle getres(ResType type, int16_t id);
// Writes a store resource back; erreure takes the store's error.
void xecrisres(Handle h, uint8_t flag);
int16_t newnumber(ResType type);

// The index-th string (1-based) of 'STR#' listId; empty past the last one.
void gs(unsigned char* destination, int16_t listId, int16_t index);
// The style text of 'STQz' 0 whose name is `name` less its first character;
// empty when there is none.
void findstyle(unsigned char* destination, const unsigned char* name);

// Forgets the cached list (tests).
void ResetStringCache();
// Strings stepped over by gs since the last reset (tests).
int32_t StringCacheSteps();
