// Codes and small enumerations shared by the file classes: access modes,
// forks, path separators, the status of a path and the toolbox error codes.
#pragma once

#include <cstdint>

// How a file is opened.
using FileAccess = int16_t;
constexpr FileAccess kAccessAny = 0;  // the first of 4, 3, 2, 1 that works
constexpr FileAccess kAccessRead = 1;
constexpr FileAccess kAccessWrite = 2;
constexpr FileAccess kAccessReadWrite = 3;
constexpr FileAccess kAccessSharedReadWrite = 4;

using ForkType = int16_t;
constexpr ForkType kDataFork = 0;
constexpr ForkType kResourceFork = 1;
constexpr ForkType kBothForks = 2;  // the sizes add

// The separator of a path text.
using PathFormat = int16_t;
constexpr PathFormat kPathColon = 1;
constexpr PathFormat kPathPosix = 2;
constexpr PathFormat kPathBackslash = 3;  // any other value

// What a path names, as last found out.
constexpr int32_t kPathUnknown = 0;
constexpr int32_t kPathMissing = 1;
constexpr int32_t kPathOtherKind = 2;  // a folder where a file was named, or the reverse
constexpr int32_t kPathExists = 3;
constexpr int32_t kPathOpenBase = 3;   // open with access a: kPathOpenBase + a (4..7)
constexpr int32_t kPathOpenRead = 4;
constexpr int32_t kPathOpenWrite = 5;

// Toolbox error codes of the file layer.
constexpr int16_t kFileErrMemory = 100;
constexpr int16_t kFileErrEndOfData = 200;
constexpr int16_t kFileErrNotOpen = 201;
constexpr int16_t kFileErrBusy = 202;
constexpr int16_t kFileErrDiskFull = 203;
constexpr int16_t kFileErrLocked = 204;
constexpr int16_t kFileErrOpenForWriting = 206;
constexpr int16_t kFileErrOpenForReading = 207;
constexpr int16_t kFileErrMissing = 208;
constexpr int16_t kFileErrNotDeleted = 210;
constexpr int16_t kFileErrNoAccessMode = 211;
constexpr int16_t kFileErrCloseFailed = 212;
constexpr int16_t kFileErrNotWritable = 213;
constexpr int16_t kFileErrExists = 217;
constexpr int16_t kFileErrCancelled = 218;
constexpr int16_t kFileErrColonInName = 219;
constexpr int16_t kFileErrOther = -1;
constexpr int16_t kFileErrUnsupported = -2;
constexpr int16_t kFileErrNoPlace = -3;  // a path whose folder cannot be found

// Write permission for owner, group and others (octal 0222).
constexpr uint16_t kWritableByAll = 0222;

// The special folders a VFolder can be made for.
enum eFolderKind : int16_t {
    kDocumentsFolderKind = 0,  // the user's documents
    kSharedFolderKind = 1,     // the program's own shared folder, made when missing
};
