// Free functions the application calls in place of older platform calls:
// the cached standard patterns, script-aware text comparison, resource
// files opened and created through file specifications (maps kept in a
// data fork too), port rectangles, text drawn at a point, bundle package
// information and the start-up flags of the run-time imports. None throws.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/files/FileTypes.h"

// Patterns: InitQDPatterns copies the platform's five standard patterns
// once per run; the getters point into that cache (valid afterwards).
void InitQDPatterns();
const platform::Pattern* GetPatDarkGray();
const platform::Pattern* GetPatLightGray();
const platform::Pattern* GetPatGray();
const platform::Pattern* GetPatBlack();
const platform::Pattern* GetPatWhite();

// Mac Roman text under the Roman script rules. A null text or a negative
// length counts as empty.
// 0 when the texts are identical, 1 otherwise.
int16_t myMagIDString(const void* first, const void* second, int32_t firstLength, int32_t secondLength);
// -1, 0 or 1 as the first text sorts before, with or after the second.
int16_t myMagString(const void* first, const void* second, int32_t firstLength, int32_t secondLength);

// The resource map of the file: with permission 0 a map already open
// answers its reference number; otherwise the resource fork is opened, and
// when that fails the data fork. -1 when neither holds a map.
int16_t myFSpOpenResFile(const platform::FSSpec& fileSpec, platform::SInt8 permission);
// An empty file with its Finder type and creator; the name is kept whole.
// The script code is not used.
platform::OSErr myFSpCreate(const platform::FSSpec& fileSpec, platform::OSType creator, platform::OSType fileType, platform::ScriptCode script);
// Creates the file (keeping an existing one, unless `inDataFork`, which
// replaces it) and an empty resource map in the data fork (`inDataFork`)
// or in the resource fork. An existing file is replaced only once its
// successor is complete: a failure leaves it as it was. Answers the first
// error, or 0.
platform::OSErr myFSpCreateResFile(const platform::FSSpec& fileSpec, platform::OSType creator, platform::OSType fileType, platform::ScriptCode script,
                         bool inDataFork);

// The bounds of the port's visible or clip region; nothing happens when
// either argument is null.
void GetPortVisibleRect(platform::CGrafPtr port, platform::Rect* rect);
void GetPortClipRect(platform::CGrafPtr port, platform::Rect* rect);
// Moves the pen to (h, v) of the current port and draws the bytes there.
void myDrawTextNativeAt(const void* text, int32_t length, int16_t h, int16_t v);

// A bundle is a folder whose "Contents/PkgInfo" holds eight bytes: its
// package type, then its creator. Type and creator (either may be null) are
// cleared first; false for a null reference or anything but a bundle.
bool GetBundleInfo(const platform::FSRef* bundle, platform::OSType* type, platform::OSType* creator);

// Start-up flags of the run-time imports.
int16_t InitQzBundle();  // sets the bundle-loaded flag; answers 804
void InitQzBundleImport();  // bundle imports loaded, once the bundle is
void InitMachOImport();
void InitCarbonImport();  // Carbon imports loaded, once the bundle is
bool InitQuartzAPIs();
bool IsQzBundleLoaded();
bool AreQzBundleImportsLoaded();
bool AreCarbonImportsLoaded();
// Forgets the flags (tests).
void ResetCompatFlags();
