// The structure's static pictures: the picture library 'PIC#' 128 (u16
// count, then 34-byte entries: a length-prefixed name in 32 bytes and the
// i16 id of its 'PICT'), pictures found by id or name, and the counted
// cache of pictures in use (resources/caches/APictArray.h; purged by
// PurgeStaticPicts).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Loads the current store's picture library (an empty one without it, or
// when its count passes its size).
void SetupPictList();
// The id of the library picture of that name (compared exactly); false
// when the library has none.
bool StaticPictIdByName(const unsigned char* name, int16_t* id);
// id >= 0: the structure's 'PICT' id, else its library picture named
// `name`; id < 0: the application's 'PICT' -id, else its picture named
// `name`. Null when there is none; the handle belongs to its file.
platform::Handle GetStaticPict(int16_t id, const unsigned char* name);
// Counted access through the cache: the picture of that id, else the one
// the name gives; ReleaseStaticPictByID gives one use back.
platform::Handle AccessStaticPictByID(int16_t id, const unsigned char* name);
void ReleaseStaticPictByID(int16_t id, platform::Handle picture);
// Makes GetStaticPict the kernel's picture look-up (kernel/formhooks).
void InstallStaticPictures();
// Forgets the library (a structure closes, tests).
void DisposePictList();
