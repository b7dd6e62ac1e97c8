// The kernel's host entry, through which the toolbox reaches the
// application. It serves the selectors below and ignores every other one.
#pragma once

#include <cstdint>

#include "toolbox/foundation/HostParm.h"

// Block compression methods (low 8 bits of the method at 266).
constexpr uint8_t kMethodLZ3A = 1;  // any other value: the -lh5- coder

void entreeexterne(int16_t selector, parm* block);

// Selector 441. Compressing (8 non-zero): 272 source, 276 its length,
// 280 destination, 284 the destination's capacity (0: the source length,
// since a longer result gains nothing). Decompressing (8 zero): 280 source,
// 284 its length, 272 destination, 276 the destination's size (the plain
// length for the -lh5- coder). 304 receives the result: the compressed or
// decompressed length; 0 when compression gains nothing or memory ran out;
// a negative value when a compressed block is damaged.
void ext_BlockCompressDecompress(parm* block);

// Where -56 reads the current resource file: the platform's resource
// chain unless a test installs another source (null puts it back).
using CurResFileProc = int16_t (*)();
void SetHostCurResFileProc(CurResFileProc proc);
