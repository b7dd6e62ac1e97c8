// The one mapping between colon paths and POSIX paths.
//
// A colon path names its volume first: "Vol:Folder:File". On Linux every
// folder at the top of the POSIX root plays the part of a volume, so
//   "Vol:Folder:File"  <->  "/Vol/Folder/File"
//   "Vol:Folder:"      <->  "/Vol/Folder/"     (a trailing separator marks a folder)
//   "Vol:"             <->  "/Vol/"
// and the root itself is the empty colon path. A name may hold ':' on Linux
// and '/' in a colon path; the two characters trade places in each name, so
// every name round-trips: POSIX "a:b" is colon "a/b" and back.
//
// Only absolute paths map. A colon path that starts with ':' (relative),
// holds an empty name ("a::b") or a name "." or ".." is refused with
// bdNamErr; so is a POSIX path that is not absolute or holds "." or "..".
#pragma once

#include <string>

#include "platform/core/MacTypes.h"

namespace platform {

OSErr ColonPathToPosix(const std::string& colonPath, std::string* posixPath);
OSErr PosixPathToColon(const std::string& posixPath, std::string* colonPath);

// One name on its own, by the same rule: '/' and ':' trade places.
std::string ColonNameToPosix(const std::string& name);
std::string PosixNameToColon(const std::string& name);

}  // namespace platform
