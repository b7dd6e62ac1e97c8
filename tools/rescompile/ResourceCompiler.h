// The resource compiler: text sources in, one resource file in the classic
// layout out.
//
// A source is a series of resources:
//
//   # who reads this resource, and why
//   'TYPE' ID ["name"] [purgeable] [locked] [preload] [protected] [sysheap] {
//       body, by the type's layout (see Layouts.h); raw hex $"..." for
//       types without one
//   }
//
// '#' starts a comment that runs to the end of the line. Strings are
// UTF-8 in the source and stored as Mac Roman (\xHH gives a Mac Roman byte;
// \" \\ \n \r \t as usual). Numbers are decimal or 0x hex. A (type, id)
// pair may appear once across all the sources of one file.
#pragma once

#include <string>
#include <vector>

#include "platform/resfiles/ResourceFileFormat.h"

namespace rescompile {

// Adds the resources of one source to `image`; false with "file:line:
// message" in `error` when the source is bad (the image then holds the
// resources before the fault).
bool CompileSource(const std::string& text, const std::string& fileName, platform::ResourceFileImage* image,
                   std::string* error);

// Compiles the source files, in order, into the resource file `output`
// (a plain file holding the resources in its data fork). False with a
// message when a source is bad or a file cannot be read or written; the
// output is then left as it was.
bool CompileFiles(const std::vector<std::string>& sources, const std::string& output, std::string* error);

}  // namespace rescompile
