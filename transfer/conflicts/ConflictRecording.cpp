#include "transfer/conflicts/ConflictRecording.h"

#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

// Records are ended by Dispose, which gives their block back.
template <class T>
TConflict* Make()
{
    void* block = platform::NewPtrClear(sizeof(T));
    return block ? new (block) T : nullptr;
}

}  // namespace

TConflict* NewConflictOfCode(int16_t code)
{
    switch (code) {
    case 1: case 2: case 101: case 102: case 103: return Make<TFileConflict>();
    case 3: case 4: case 107: return Make<TLayOutConflict>();
    case 5: return Make<TGroupConflict>();
    case 6: return Make<TProcConflict>();
    case 7: return Make<TListConflict>();
    case 8: return Make<TBalloonConflict>();
    case 9: return Make<TStrConflict>();
    case 10: return Make<TExtConflict>();
    case 11: case 12: case 13: return Make<TPackConflict>();
    case 104: return Make<TCritConflict>();
    case 117: return Make<TMBarConflict>();
    default: return Make<TRConflict>();
    }
}

int16_t RecordConflict(TObjQz* source, TObjQz* dest, int16_t code, int16_t choice, C_ListHdl list, TConflict** out)
{
    *out = nullptr;
    if (!list) return 0;
    TConflict* record = NewConflictOfCode(code);
    if (!record) return platform::memFullErr;
    record->init(source, dest, code, choice);
    record->DoMajVis();
    if (AddC_List(list, record) != 0) {
        record->Dispose();
        return platform::memFullErr;
    }
    *out = record;
    return 0;
}

int16_t RecordC_Ref(TObjQz* source, TObjQz* copy, C_ListHdl list)
{
    if (!list) return 0;
    // Visible as made: the pair is the movers' own, not a question.
    TConflict* record = Make<TRConflict>();
    if (!record) return platform::memFullErr;
    record->init(source, copy, 0, 0);
    if (AddC_List(list, record) != 0) {
        record->Dispose();
        return platform::memFullErr;
    }
    return 0;
}

int16_t ChainConflict(TConflict* parent, TObjQz* obj, int16_t code, TConflict** out)
{
    *out = nullptr;
    if (!parent || !parent->IsMember(1)) return 0;
    auto* holder = static_cast<TRConflict*>(parent);
    const bool madeHere = !holder->fSubList;
    if (madeHere) {
        if (const int16_t err = NewC_List(&holder->fSubList, kC_ListRoom)) return err;
        holder->fSubList->holder = holder;
    }
    if (transfer::IsInC_List(holder->fSubList, obj)) return 0;
    const int16_t err = transfer::RecordConflict(obj, nullptr, code, 0, holder->fSubList, out);
    if (*out) {
        (*out)->fParent = parent;
    } else if (madeHere) {
        // The parent is left as it was: without a sub-list.
        DisposeC_List(holder->fSubList);
        holder->fSubList = nullptr;
    }
    return err;
}

}  // namespace transfer
