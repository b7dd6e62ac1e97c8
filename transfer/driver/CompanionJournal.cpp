#include "transfer/CurrentFiles.h"
#include "transfer/driver/CompanionJournal.h"

#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

namespace transfer {

namespace {

CompanionJournal* gCurrent = nullptr;

}  // namespace

CompanionJournal* CurrentCompanionJournal() { return gCurrent; }
void SetCurrentCompanionJournal(CompanionJournal* journal) { gCurrent = journal; }

void CompanionJournal::Open(int16_t refNum)
{
    Abandon();
    if (refNum == -1 || !platform::IsResFileOpen(refNum)) return;
    refNum_ = refNum;
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
        UsingResFile file(refNum_);
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

void CompanionJournal::Restore()
{
    if (refNum_ == -1) return;
    UsingResFile file(refNum_);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        platform::Handle now = platform::Get1Resource(it->type, it->id);
        if (!it->existed) {
            if (now) {
                platform::RemoveResource(now);
                platform::DisposeHandle(now);
            }
            continue;
        }
        platform::Handle h = now ? now : platform::NewHandle(0);
        if (!h) continue;
        platform::SetHandleSize(h, platform::Size(it->bytes.size()));
        if (platform::MemError() != platform::noErr) continue;
        if (!it->bytes.empty()) std::memcpy(*h, it->bytes.data(), it->bytes.size());
        if (!now) platform::AddResource(h, it->type, it->id, it->named ? it->name : nullptr);
        platform::SetResAttrs(h, it->attributes);
        platform::ChangedResource(h);
    }
}

int16_t CompanionJournal::Commit()
{
    if (refNum_ == -1 || !held_) return 0;
    held_ = false;
    platform::HoldResFile(refNum_, false);
    const int16_t err = platform::ResError();
    if (err != platform::noErr) {
        held_ = true;
        platform::HoldResFile(refNum_, true);
    }
    return err;
}

void CompanionJournal::Abandon()
{
    if (refNum_ == -1) return;
    const bool touched = !entries_.empty();
    Restore();
    if (held_) platform::HoldResFile(refNum_, false);
    else if (touched) platform::UpdateResFile(refNum_);
    Finish();
}

void CompanionJournal::Finish()
{
    if (refNum_ != -1 && held_) platform::HoldResFile(refNum_, false);
    refNum_ = -1;
    held_ = false;
    entries_.clear();
}

}  // namespace transfer
