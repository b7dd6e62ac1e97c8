#include "design/documents/CompanionJournal.h"

#include <cstring>
#include <new>

#include "design/documents/CompanionJournalFile.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"
#include "resources/Companion.h"

namespace {

CompanionJournal* gCurrent = nullptr;

// Whether the document's companion is the file `refNum` (not the data
// file's own resources): only that one is kept on the disk.
bool IsCompanionFile(int16_t refNum, const platform::FSSpec& data)
{
    platform::FSSpec companion;
    platform::Boolean inChain = false;
    int16_t open = -1;
    return CompanionSpec(data, &companion) && platform::FSpResourceFileAlreadyOpen(companion, &inChain, &open) &&
           open == refNum;
}

}  // namespace

CompanionJournal* CurrentCompanionJournal() { return gCurrent; }
void SetCurrentCompanionJournal(CompanionJournal* journal) { gCurrent = journal; }

int16_t NoteCompanionChange(uint32_t type, int16_t id) { return gCurrent ? gCurrent->Note(type, id) : 0; }

void CompanionJournal::Open(int16_t refNum, const platform::FSSpec& data)
{
    Abandon();
    if (refNum == -1 || !platform::IsResFileOpen(refNum)) return;
    refNum_ = refNum;
    data_ = data;
    held_ = true;
    platform::HoldResFile(refNum_, true);
}

int16_t CompanionJournal::Note(uint32_t type, int16_t id)
{
    if (refNum_ == -1) return 0;
    for (const Entry& e : entries_)
        if (e.type == type && e.id == id) return 0;
    try {
        Entry e;
        e.type = type;
        e.id = id;
        platform::UsingResFile file(refNum_);
        platform::Handle h = platform::Get1Resource(type, id);
        if (h) {
            e.existed = true;
            e.attributes = platform::GetResAttrs(h);
            int16_t ignoredId = 0;
            uint32_t ignoredType = 0;
            platform::GetResInfo(h, &ignoredId, &ignoredType, e.name);
            e.named = e.name[0] != 0;
            e.bytes.assign(*h, size_t(platform::GetHandleSize(h)));
        }
        entries_.push_back(std::move(e));
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    return 0;
}

int16_t CompanionJournal::Restore()
{
    if (refNum_ == -1) return 0;
    platform::UsingResFile file(refNum_);
    int16_t first = 0;
    const auto note = [&first](int16_t err) {
        if (first == 0) first = err;
        return err == 0;
    };
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        platform::Handle now = platform::Get1Resource(it->type, it->id);
        if (!now && !note(platform::ResError() == platform::resNotFound ? 0 : platform::ResError())) continue;
        if (!it->existed) {
            if (!now) continue;
            platform::RemoveResource(now);
            if (note(platform::ResError())) platform::DisposeHandle(now);
            continue;
        }
        platform::Handle h = now ? now : platform::NewHandle(0);
        platform::OSErr err = h ? platform::noErr : platform::memFullErr;
        if (err == platform::noErr) {
            platform::SetHandleSize(h, platform::Size(it->bytes.size()));
            err = platform::MemError();
        }
        if (err == platform::noErr) {
            if (!it->bytes.empty()) std::memcpy(*h, it->bytes.data(), it->bytes.size());
            if (!now) platform::AddResource(h, it->type, it->id, it->named ? it->name : nullptr);
            if (!now) err = platform::ResError();
        }
        if (err != platform::noErr) {
            if (h && !now) platform::DisposeHandle(h);
            note(err);
            continue;
        }
        // Marked changed before its attributes may protect it.
        platform::ChangedResource(h);
        if (note(platform::ResError())) {
            platform::SetResAttrs(h, it->attributes);
            note(platform::ResError());
        }
    }
    return first;
}

int16_t CompanionJournal::Commit()
{
    if (refNum_ == -1 || !held_) return 0;
    // The journal is the change's first write: the document's files are
    // looked at before it, so that none is written beside files that are
    // no longer the document's.
    if (const int16_t fork = platform::ResFileForkRef(refNum_); fork && !entries_.empty())
        if (const int16_t moved = platform::CheckForkPath(fork)) return moved;
    if (!entries_.empty() && !kept_ && !data_.path.empty() && IsCompanionFile(refNum_, data_)) {
        journal_ = KeptCompanionJournal(data_).path;
        journalFolder_ = journal_.substr(0, journal_.rfind('/'));
        std::vector<uint8_t> bytes;
        int16_t err = platform::PendingResFileBytes(refNum_, &bytes);
        if (err == 0 && !bytes.empty()) err = KeepCompanion(data_, bytes, &kept_);
        if (err != 0) return err;
    }
    held_ = false;
    platform::HoldResFile(refNum_, false);
    const int16_t err = platform::ResError();
    if (err != platform::noErr) {
        held_ = true;
        platform::HoldResFile(refNum_, true);
    }
    return err;
}

std::vector<std::pair<uint32_t, int16_t>> CompanionJournal::Noted() const
{
    std::vector<std::pair<uint32_t, int16_t>> out;
    out.reserve(entries_.size());
    for (const Entry& e : entries_) out.emplace_back(e.type, e.id);
    return out;
}

int16_t CompanionJournal::Abandon()
{
    if (refNum_ == -1) return 0;
    const bool touched = !entries_.empty();
    int16_t err = 0;
    if (Restore() != 0) {
        // Memory holds neither the old companion nor the new one: it never
        // reaches the disk again. The disk keeps the old companion, or the
        // new one with the old kept beside it, which the next open puts
        // back (the data file did not commit).
        platform::SetResFileAdrift(refNum_);
        held_ = kept_ = false;
        err = platform::resFileAdriftErr;
    } else if (held_) {
        // Nothing of the change reached the disk, and memory is as it was.
        held_ = false;
        platform::HoldResFile(refNum_, false);
    } else if (touched) {
        // The new companion is on the disk: it goes back. When it cannot
        // yet, memory holds the old one, which the next write or the close
        // puts on the disk; till then the old one kept stays beside it.
        platform::UpdateResFile(refNum_);
        err = platform::ResError();
        if (err != 0) kept_ = false;
    }
    Finish();
    return err;
}

void CompanionJournal::Finish()
{
    if (refNum_ != -1 && held_) platform::HoldResFile(refNum_, false);
    if (kept_ && ForgetKeptCompanionAt(journal_, journalFolder_) == platform::fnfErr) {
        // Another program moved the document's folder, the old bytes kept
        // in it: they go from there.
        const std::string now = platform::DocumentMovedTo(platform::ResFileForkRef(refNum_));
        const size_t folder = now.rfind('/'), name = data_.path.rfind('/');
        if (folder != std::string::npos && name != std::string::npos)
            ForgetKeptCompanion(platform::FSSpec{now.substr(0, folder) + data_.path.substr(name)});
    }
    refNum_ = -1;
    held_ = false;
    kept_ = false;
    entries_.clear();
}
