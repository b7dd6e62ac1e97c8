// Types and result codes shared by the resource store and its callers.
#pragma once

#include <cstdint>

#include "platform/core/FourCC.h"
#include "platform/core/MacTypes.h"

// Outcomes recorded in reserr (platform file and memory codes pass through).
constexpr int16_t kResOK = 0;
constexpr int16_t kResMarkedOpenOld = 4;      // an old-version file left marked open
constexpr int16_t kResNotContainer = -1;      // bad header, damaged bitmaps, refused mark
constexpr int16_t kResBadMap = -2;
constexpr int16_t kResNoSuchHandle = -3;
constexpr int16_t kResNoFile = -4;
constexpr int16_t kResNotFound = -5;
constexpr int16_t kResBadUnits = -7;          // a unit free or claimed twice
constexpr int16_t kResExists = -48;
constexpr int16_t kResMemFull = -108;
constexpr int16_t kResCancelled = -128;
// A change could not be dropped: memory and disk differ (the platform's
// resFileAdriftErr, so that one message says it for both kinds of file).
constexpr int16_t kResAdrift = -1941;

// The resource that holds a file's resource names.
constexpr platform::ResType kNamesResType = platform::FourCC("NAM#");
constexpr int16_t kNamesResId = 128;

// Answers of a progress callback: non-zero stops the operation (-128).
using ResProgressProc = int16_t (*)(int32_t done, int32_t total, void* data);

// The application's resource-change hook: (type, id, marker, action).
using ResChangeHook = void (*)(platform::ResType type, int16_t id, int16_t marker, int16_t action);
constexpr int16_t kResChangeMarker = -31999;
