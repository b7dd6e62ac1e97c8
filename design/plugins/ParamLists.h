// The parameter lists of plug-in routines: resource 'EPRM', one per
// package, its id the package's bundle id. The method-token reader takes
// the object kinds a routine's literal parameters name from it, as it
// takes a command's from 'APRM'.
//
// 'EPRM', big-endian:
//  off   size  field
//   0     2    R, routine records            negative, or records past the
//                                            end: the whole list refused
//   2     .    R records: routine number (2), P (2), then P entries of
//              parameter number (2) and stored parameter type (2)
//                                            negative P, or entries past the
//                                            end: refused
// Bytes after the last record are kept as they are.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/core/MacTypes.h"

// A copy of 'EPRM' `id` from the current resource chain with every stored
// parameter type turned into the object kind it names (StoredTypeKind),
// each exactly once. Null when the resource is missing, does not fit its
// counts or memory runs out. The caller disposes of the copy
// (DisposeHandle); the resource itself is left as the caller found it.
platform::Handle GetEPRM(int16_t id);

// The object kind a stored parameter type stands for: 2 style sheet (19),
// 3 plug-in routine (8), 8 project method (2), 11 command (3), 12 resource
// (20), 13 (22), 14 list box (21), 15 string list (11), 16 group (23),
// 17 form (24), 18 (25), 19 style (12), 20 set (13), 21 selection (14),
// 22 semaphore (15); any other value stays as it is.
int16_t StoredTypeKind(int16_t stored);

// The (parameter number, object kind) pairs of routine `routine` in a
// converted list, in stored order; empty when the list has no record of it.
std::vector<std::pair<int16_t, int16_t>> RoutineParamKinds(platform::Handle converted, int16_t routine);
