// CPseudoResFile: a change of a server's file held until its release. The
// server takes each write as it comes and knows no change made of several:
// held, the writes wait in memory, so that a change that fails on the way
// (a unique id or a read the server did not answer, a step of the caller)
// leaves the server as it was. The release sends them in the order that
// keeps what a reader of the server sees whole the longest: the names
// first (a name of a resource not there yet names nothing), then the
// resources added (nothing uses them yet), those written back, the member
// lists of groups, and the resources removed (nothing uses them any more).
// The member lists go in the order of their last writes, so that a group
// an object leaves is rewritten before the one it joins: no part of the
// change shows an object in two groups. When a write fails, what went
// before is taken back while the connection still answers; what cannot be
// stays on the server, and stays in memory too, so that the file holds
// what the server holds, and the file says so (ServerChangeLeft).
#include <algorithm>
#include <cstring>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/StoreGuard.h"
#include "resources/container/FileOrder.h"
#include "resources/server/ServerConnection.h"
#include "resources/server/ServerReplies.h"

using namespace platform;
using namespace container;

namespace {

uint64_t KeyOf(ResType type, int16_t id) { return uint64_t(type) << 16 | uint16_t(id); }

// The order of the writes: names, additions, write-backs, member lists,
// removals.
enum Phase { kNames, kAdded, kWritten, kLists, kRemoved, kNone };

bool IsMemberList(ResType type)
{
    return type == FourCC("#GRP") || type == FourCC("#GMO") || type == FourCC("#MOD");
}

}  // namespace

CPseudoResFile::HeldServerRecord& CPseudoResFile::TouchHeld(ResType type, int16_t id, bool withContents)
{
    const auto [at, made] = fServerHeldAt.emplace(KeyOf(type, id), fServerHeld.size());
    if (!made) return fServerHeld[at->second];
    try {
        HeldServerRecord held;
        held.type = type;
        held.id = id;
        int32_t t, r;
        held.existed = fMap.FindID(type, id, true, &t, &r);
        if (held.existed) {
            const MapRecord& rec = fMap.At(t, r);
            held.attributes = rec.attributes;
            held.stamp = rec.stamp;
            if (withContents && rec.contents) {
                const auto* bytes = reinterpret_cast<const uint8_t*>(*rec.contents);
                held.bytes.assign(bytes, bytes + GetHandleSize(rec.contents));
                held.bytesKnown = true;
            }
        }
        fServerHeld.push_back(std::move(held));
    } catch (...) {
        fServerHeldAt.erase(at);
        throw;
    }
    return fServerHeld.back();
}

CPseudoResFile::HeldServerRecord& CPseudoResFile::WriteHeld(ResType type, int16_t id, bool withContents)
{
    HeldServerRecord& held = TouchHeld(type, id, withContents);
    held.written = true;
    held.lastWrite = ++fServerHeldWrites;
    return held;
}

void CPseudoResFile::NoteHandedOut(int32_t t, int32_t r)
{
    if (HoldsServerChange()) TouchHeld(fMap.TypeAt(t).type, fMap.At(t, r).id, true);
}

bool CPseudoResFile::SendHeldChange()
{
    if (fServerHeld.empty()) return true;
    // What each written resource became, and so which write it takes.
    std::vector<Phase> phases(fServerHeld.size(), kNone);
    for (size_t i = 0; i < fServerHeld.size(); ++i) {
        const HeldServerRecord& held = fServerHeld[i];
        if (!held.written) continue;
        int32_t t, r;
        const bool exists = fMap.FindID(held.type, held.id, true, &t, &r);
        if (held.type == kNamesResType && held.id == kNamesResId && exists) phases[i] = kNames;
        else if (exists && IsMemberList(held.type)) phases[i] = kLists;
        else if (exists) phases[i] = held.existed ? kWritten : kAdded;
        else if (held.existed) phases[i] = kRemoved;
    }
    std::vector<size_t> order;
    for (Phase phase : {kNames, kAdded, kWritten, kLists, kRemoved}) {
        const size_t from = order.size();
        for (size_t i = 0; i < fServerHeld.size(); ++i)
            if (phases[i] == phase) order.push_back(i);
        if (phase == kLists)
            std::sort(order.begin() + ptrdiff_t(from), order.end(),
                      [&](size_t a, size_t b) { return fServerHeld[a].lastWrite < fServerHeld[b].lastWrite; });
    }
    std::vector<size_t> sent;
    sent.reserve(order.size());
    for (size_t i : order) {
        HeldServerRecord& held = fServerHeld[i];
        OSErr err = noErr;
        if (phases[i] == kRemoved) {
            err = SendRemoval(held.type, held.id);
        } else {
            int32_t t, r;
            fMap.FindID(held.type, held.id, true, &t, &r);
            const Handle contents = fMap.At(t, r).contents;
            err = SendContents(held.existed ? kReqWriteRes : kReqAddRes, held.type, held.id,
                               contents ? *contents : nullptr, contents ? GetHandleSize(contents) : 0, held.convert);
        }
        if (err != noErr) {
            // The server may have carried it out when only its reply failed.
            held.reached = LastRequestMayHaveLanded(err);
            if (held.reached) sent.push_back(i);
            TakeBackHeld(sent);
            Fail(err);
            return false;
        }
        held.reached = true;
        sent.push_back(i);
        DropFromCache(held.type, held.id);
    }
    fServerHeld.clear();
    fServerHeldAt.clear();
    fServerHeldWrites = 0;
    Fail(noErr);
    return true;
}

// Last written first, each write undone with the one that puts back what
// the server held; the first that cannot be made (the connection gone,
// contents never read) ends it.
void CPseudoResFile::TakeBackHeld(const std::vector<size_t>& sent)
{
    for (auto i = sent.rbegin(); i != sent.rend(); ++i) {
        HeldServerRecord& held = fServerHeld[*i];
        int32_t t, r;
        // A resource written back is written back again, a removed one added.
        const int16_t request = fMap.FindID(held.type, held.id, true, &t, &r) ? kReqWriteRes : kReqAddRes;
        OSErr err = paramErr;
        if (!held.existed) err = SendRemoval(held.type, held.id);
        else if (held.bytesKnown)
            err = SendContents(request, held.type, held.id, held.bytes.data(), int32_t(held.bytes.size()), held.convert);
        if (err != noErr) return;
        held.reached = false;
    }
}

void CPseudoResFile::DropHeldChange()
{
    bool part = false, all = true;
    for (HeldServerRecord& held : fServerHeld) {
        int32_t t, r;
        const bool exists = fMap.FindID(held.type, held.id, true, &t, &r);
        if (held.reached) {
            // The server holds it: so does the file, and its cache no more.
            part = true;
            DropFromCache(held.type, held.id);
            continue;
        }
        if (held.written) all = false;
        if (!held.existed) {
            if (exists) {
                const Handle added = fMap.At(t, r).contents;
                RemoveAt(t, r);
                if (added) DisposeHandle(added);
            }
            continue;
        }
        if (!exists) {
            MapRecord rec;
            rec.id = held.id;
            fMap.Add(held.type, rec, &t, &r);
        }
        MapRecord& rec = fMap.Edit(t, r);
        rec.stamp = held.stamp;
        rec.attributes = held.attributes;
        Handle h = fMap.At(t, r).contents;
        const Size size = Size(held.bytes.size());
        bool restored = false;
        if (held.bytesKnown) {
            if (!h && (h = NewHandle(size)) != nullptr) fMap.SetContents(t, r, h);
            if (h) {
                SetHandleSize(h, size);
                restored = MemError() == noErr;
                if (restored && size > 0) std::memcpy(*h, held.bytes.data(), size_t(size));
            }
        }
        // Contents whose earlier bytes are not known are fetched again.
        if (!restored) fMap.Edit(t, r).attributes |= kAttrChanged;
    }
    if (part) {
        fServerChangeLeft = all ? kAllLeft : kPartLeft;
        CPseudoResManager::NoteServerChangeLeft(fServerChangeLeft);
    }
    fServerHeld.clear();
    fServerHeldAt.clear();
    fServerHeldWrites = 0;
}
