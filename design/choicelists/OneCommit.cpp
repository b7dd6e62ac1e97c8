#include "design/choicelists/OneCommit.h"

#include <cstring>
#include <new>

#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResTypes.h"
#include "resources/container/ContainerLayout.h"
#include "resources/ResourceApi.h"

namespace {

CPseudoResFile* StoreFile(int16_t container)
{
    return g_resManager && container > 0 ? g_resManager->FindFile(container) : nullptr;
}

}  // namespace

OneCommit::OneCommit(int16_t container) : container_(container)
{
    CPseudoResFile* file = StoreFile(container);
    if (file && file->IsHeld()) return;
    // A change dropped in vain before goes first: nothing of it may land
    // with this one, which is refused while it cannot be dropped.
    if (file && !file->SettleDrop()) {
        refused_ = reserr ? reserr : platform::ioErr;
        return;
    }
    // A drop goes back to what the disk holds: changes still waiting for a
    // commit are committed first so that it takes only this change's.
    const bool settled = file && islocalres(container) && (!file->HasUncommitted() || updateres(container));
    holding_ = holdres(container, true);
    droppable_ = holding_ && settled;
}

OneCommit::~OneCommit()
{
    if (!finished_) Undo();
    for (Copy& c : copies_)
        if (c.restore) platform::DisposeHandle(c.restore);
}

bool OneCommit::Keep(platform::ResType type, int16_t id)
{
    Copy copy{type, id, false, nullptr, 0, {}};
    try {
        platform::Handle h = xget1res(type, id);
        // A resource that cannot be read is not known to be absent: an
        // undo would remove it.
        if (!h && reserr != kResNotFound) return false;
        if (h) {
            copy.present = true;
            // An enciphered resource put back stays enciphered.
            int32_t t = 0, r = 0;
            if (CPseudoResFile* file = g_resManager ? g_resManager->FindFile(container_) : nullptr;
                file && file->FindRes(h, &t, &r))
                copy.attributes = file->GetIndResAttributes(type, r, nullptr);
            unsigned char name[256] = {0};
            if (xgetresname(type, id, name, false) && name[0]) copy.name.assign(name, name + 1 + name[0]);
            const platform::Size size = *h ? platform::GetHandleSize(h) : 0;
            copy.restore = platform::NewHandle(size);
            if (!copy.restore) return false;
            if (size > 0) std::memcpy(*copy.restore, *h, size_t(size));
        }
        copies_.push_back(copy);
        return true;
    } catch (const std::bad_alloc&) {
        if (copy.restore) platform::DisposeHandle(copy.restore);
        return false;
    }
}

int16_t OneCommit::Commit()
{
    if (finished_) return 0;
    if (refused_) {
        const int16_t undone = Undo();
        return undone ? undone : refused_;
    }
    if (!holding_) {
        // The change around this one commits.
        finished_ = true;
        return 0;
    }
    if (holdres(container_, false)) {
        finished_ = true;
        return 0;
    }
    const int16_t err = reserr ? reserr : platform::ioErr;
    const int16_t undone = Undo();
    return undone ? undone : err;
}

int16_t OneCommit::Undo()
{
    if (finished_) return 0;
    finished_ = true;
    // The drop also ends the hold, so that later changes are committed.
    if (droppable_ && dropres(container_)) return 0;
    bool whole = true;
    for (auto c = copies_.rbegin(); c != copies_.rend(); ++c) {
        if (!c->present) {
            if (!rmveresbyid(c->type, c->id, true) && reserr != kResNotFound) whole = false;
            continue;
        }
        platform::Handle h = c->restore;
        if (!h || !xaddres(h, c->type, c->id)) {
            whole = false;
            continue;
        }
        c->restore = nullptr;  // the store holds it now
        if (!c->name.empty() && !xsetresname(c->type, c->id, c->name.data(), false)) whole = false;
        if ((c->attributes & container::kAttrEnciphered) &&
            !hcrypteres(h, (c->attributes & container::kAttrKeyVariant) != 0))
            whole = false;
    }
    if (!whole) {
        // Part of the change stays in memory: no commit may land it. The
        // store owes the drop (it is owed already when the drop failed
        // above) and makes it before the next change.
        if (holding_ && !droppable_) dropres(container_);
        return kResAdrift;
    }
    // The store now holds what the disk holds: the commit put off writes
    // nothing new. When the disk still fails, the copies wait for the next
    // commit like any change whose commit failed.
    if (holding_ && !holdres(container_, false))
        if (CPseudoResFile* file = StoreFile(container_)) file->ReleaseUncommitted();
    return 0;
}
