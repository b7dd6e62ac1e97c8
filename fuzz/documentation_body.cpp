// Documentation bodies from outside: the general documentation as stored
// without the styled converter (the text read only as far as the bytes
// go); styled version-1 and older version-0 bodies read into styled and
// plain records (a refusal leaves the record as it was, an accepted body
// writes back to the text it gave); and the older stream form tagged
// 'HECO' with its style scrap.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/Documentation.h"
#include "browser/doctext/DocText.h"
#include "design/documentation/GetTe.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/textedit/TextEdit.h"

namespace {

using namespace platform;

std::string TextOf(TEHandle te) { return std::string(*(**te).hText, size_t((**te).teLength)); }

void ReadInto(const std::vector<uint8_t>& bytes, bool styled)
{
    G_MachineType = styled ? 4 : 3;
    const Rect r{0, 0, 200, 300};
    TEHandle te = styled ? TEStyleNew(&r, &r) : TENew(&r, &r);
    TEHandle back = TEStyleNew(&r, &r);
    Handle doc = nullptr;
    if (!te || !back || PtrToHand(bytes.data(), &doc, Size(bytes.size())) != noErr) __builtin_trap();
    TESetText("before", 6, te);
    const int16_t result = browser::StyleResToHte(doc, te);
    if (result == browser::kDamagedDoc && TextOf(te) != "before") __builtin_trap();
    if (result == 0 && bytes.size() >= 8 && (ReadBE32(bytes.data()) >> 16) <= 1 && TextOf(te) != "before") {
        // What was read is what a write of the record stores and reads again.
        Handle again = NewHandleClear(4);
        WriteBE32(*again, 0x00010000);
        if (browser::StyleHteToRes(again, te) != 0 || browser::StyleResToHte(again, back) != 0) __builtin_trap();
        if (TextOf(back) != TextOf(te)) __builtin_trap();
        DisposeHandle(again);
    }
    if ((**te).teLength < 0 || (**te).teLength > kTEMaxLength) __builtin_trap();
    TESetText("", 0, back);
    ReadDocStream(bytes.data(), bytes.size(), back);
    if ((**back).teLength > kTEMaxLength) __builtin_trap();
    DisposeHandle(doc);
    TEDispose(te);
    TEDispose(back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::string text;
    if (ReadPlainDocBody(bytes.data(), bytes.size(), &text) && text.size() + 8 > bytes.size()) __builtin_trap();
    ReadInto(bytes, true);
    ReadInto(bytes, false);
    return 0;
}
