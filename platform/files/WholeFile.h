// Whole-file reads and crash-safe whole-file writes: the new contents go to
// a temporary file in the same folder, which is then renamed over the old.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"

namespace platform {

class TemporaryFile;

// Reads a regular file whole; sizes above `maxSize` give memFullErr.
OSErr ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes,
                    int64_t maxSize = INT32_MAX);

// Replaces (or creates) `path` with `size` bytes; a link at `path` stays,
// the file it names is replaced (a link to nothing: fnfErr). The new file keeps the
// permission bits of the file it replaces, else gets `newMode` (less the
// umask). An injected disk-full fault fails the write and leaves the old
// file as it was.
OSErr WriteFileAtomically(const std::string& path, const void* bytes, size_t size,
                          uint32_t newMode = 0666);

// The file a replacement of `path` replaces: `path`, or the file a link
// there names (a link stays a link).
OSErr ReplacedFile(const std::string& path, std::string* target);
// `file` created beside `target` and holding `size` bytes, with the
// permission bits of the file it will replace, else `newMode`.
OSErr WriteReplacement(const std::string& target, const void* bytes, size_t size, uint32_t newMode,
                       TemporaryFile* file);

}  // namespace platform
