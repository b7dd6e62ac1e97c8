// A help balloon's text (every byte of its resource after the first) with
// a word replaced throughout; the resource lands whole in one commit, or
// stays as it was.
#include <algorithm>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/filters/ObjFilter.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"
#include "design/rename/RenameCommit.h"

bool TBalloonObjQz::EnableReplaceTxt()
{
    return !TstFlag(kFlagCiphered) && !TstFlag(kFlagControlChar) && !(owner && owner->fRemote);
}

int16_t TBalloonObjQz::ReplaceTxt(const unsigned char* find, const unsigned char* replacement, int32_t*)
{
    if (!owner || find[0] == 0) return 0;
    ParseResFile store(owner);
    platform::Handle text = xget1res(TextType(), TextId());
    if (!text || !*text) return reserr == platform::memFullErr ? platform::memFullErr : 0;
    const int32_t size = platform::GetHandleSize(text);
    if (size <= 1) return 0;
    // Room for every occurrence grown: the text holds at most one per
    // length of the text found.
    const int32_t length = size - 1;
    std::vector<uint8_t> buffer(size_t(length) + size_t(length / find[0] + 1) * replacement[0] + 1);
    std::copy(reinterpret_cast<uint8_t*>(*text) + 1, reinterpret_cast<uint8_t*>(*text) + size, buffer.begin());
    int32_t replaced = length;
    Do_TxtReplace(buffer.data(), &replaced, find, replacement);
    if (replaced == length && std::equal(buffer.begin(), buffer.begin() + length, reinterpret_cast<uint8_t*>(*text) + 1))
        return 0;
    StoreChange change;
    if (const int16_t err = change.Begin(owner->fResFile)) return err;
    platform::SetHandleSize(text, platform::Size(replaced) + 1);
    if (platform::MemError() != platform::noErr) return platform::memFullErr;
    std::copy(buffer.begin(), buffer.begin() + replaced, reinterpret_cast<uint8_t*>(*text) + 1);
    if (!xwriteres(text)) return reserr ? reserr : platform::ioErr;
    return change.Commit();
}
