// The plug-in files the discovery opened and the objects that use them. A
// package and its routines share one file: each object counts as one user,
// and a file the discovery opened closes when its last user goes, never
// before. Files someone else opened (a document's companions, the
// application's own file) are counted too but never closed here.
#pragma once

#include <cstdint>

// The discovery opened `file` itself (it was not open before).
void NotePlugInFileOpened(int16_t file);
void RetainPlugInFile(int16_t file);
// One user fewer; a file the discovery opened closes at its last user.
void ReleasePlugInFile(int16_t file);
// Closes a file the discovery opened that no object uses.
void ClosePlugInFileIfUnused(int16_t file);
int32_t PlugInFileUsers(int16_t file);
// Files the discovery opened that are still open.
int32_t CountOpenPlugInFiles();
// Forgets every file without closing any (tests, after the resource
// manager was reset).
void ResetPlugInFiles();

// Makes a file current for the scope and restores the previous one; a
// file of -1 changes nothing.
class CurrentResFile {
public:
    explicit CurrentResFile(int16_t file);
    ~CurrentResFile();
    CurrentResFile(const CurrentResFile&) = delete;
    CurrentResFile& operator=(const CurrentResFile&) = delete;
    // Whether the file is the current one now.
    bool Ok() const { return ok_; }

private:
    int16_t saved_;
    bool ok_ = false;
};
