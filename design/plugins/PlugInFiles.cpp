#include "design/plugins/PlugInFiles.h"

#include <unordered_map>

#include "platform/resfiles/Resources.h"

namespace {

struct FileUse {
    int32_t users = 0;
    bool ours = false;  // opened by the discovery: closed at its last user
};

std::unordered_map<int16_t, FileUse>& Files()
{
    static std::unordered_map<int16_t, FileUse> files;
    return files;
}

void CloseIfDone(int16_t file)
{
    auto it = Files().find(file);
    if (it == Files().end() || it->second.users > 0) return;
    const bool ours = it->second.ours;
    Files().erase(it);
    if (ours && platform::IsResFileOpen(file)) platform::CloseResFile(file);
}

}  // namespace

void NotePlugInFileOpened(int16_t file)
{
    if (file > 0) Files()[file].ours = true;
}

void RetainPlugInFile(int16_t file)
{
    if (file > 0) ++Files()[file].users;
}

void ReleasePlugInFile(int16_t file)
{
    auto it = Files().find(file);
    if (it == Files().end()) return;
    if (it->second.users > 0) --it->second.users;
    CloseIfDone(file);
}

void ClosePlugInFileIfUnused(int16_t file) { CloseIfDone(file); }

int32_t PlugInFileUsers(int16_t file)
{
    auto it = Files().find(file);
    return it == Files().end() ? 0 : it->second.users;
}

int32_t CountOpenPlugInFiles()
{
    int32_t n = 0;
    for (const auto& [file, use] : Files())
        if (use.ours && platform::IsResFileOpen(file)) ++n;
    return n;
}

void ResetPlugInFiles() { Files().clear(); }

CurrentResFile::CurrentResFile(int16_t file) : saved_(platform::CurResFile())
{
    if (file <= 0) return;
    if (file != saved_) platform::UseResFile(file);
    ok_ = platform::CurResFile() == file;
}

CurrentResFile::~CurrentResFile()
{
    if (saved_ > 0 && platform::CurResFile() != saved_ && platform::IsResFileOpen(saved_)) platform::UseResFile(saved_);
}
