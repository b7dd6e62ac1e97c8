// Text from other programs reaching a text field: the clipboard's UTF-16
// pasted into a single-line and a multi-line field, and dropped bytes
// handed to a field's drop handler and inserted. Input: a flags byte, a
// slice of the field's text (UTF-16), then the clipboard and drop bytes.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Endian.h"
#include "platform/scrap/Scrap.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/NativeTextEditMac.h"
#include "toolbox/views/VFrameTextEdit.h"

using namespace platform;

namespace {

void Check(bool ok)
{
    if (!ok) std::abort();
}

std::u16string Units(const fuzz::Bytes& bytes)
{
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = char16_t(ReadBE16(&bytes[i * 2]));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const uint8_t flags = in.Byte();
    const std::u16string start = Units(in.Slice(2000));
    const fuzz::Bytes clip = in.Rest();

    ClearCurrentScrap();
    ScrapRef scrap = nullptr;
    if (GetCurrentScrap(&scrap) != noErr) return 0;
    PutScrapFlavor(scrap, (flags & 1) ? 0x54455854 : 0x75747874, 0, Size(clip.size()), clip.data());

    const Rect view{0, 0, 40, 300};
    for (const int32_t kind : {0, kNativeMultiline | kNativeMultiStyle}) {
        NativeTextEditMac editor(view, nullptr, kind);
        editor.SetUnicode(start.data(), int32_t(start.size()), false);
        Check(editor.GetText() == start);
        editor.Select(int32_t(flags >> 1) % (int32_t(start.size()) + 1), int32_t(start.size()));
        editor.DoPaste();
        const std::u16string pasted = editor.GetText();
        if (!kind && start.find_first_of(u"\r\n") == std::u16string::npos)
            Check(pasted.find_first_of(u"\r\n") == std::u16string::npos);
        // Undo gives back what was there (precomposed, as undo leaves
        // text), redo what the paste left.
        if (editor.CanUndo()) {
            editor.DoUndo();
            std::u16string composed = start;
            composed.resize(size_t(
                VIntlManagerRoot::PrecomposeUnicodeBuffer(composed.data(), int32_t(composed.size() * 2)) / 2));
            Check(editor.GetText() == composed);
            // Composing what undo brought back may have ended the history.
            if (editor.CanRedo()) {
                editor.DoRedo();
                Check(editor.GetText() == pasted);
            }
        }
    }

    // The same bytes dropped: a frame's handler receives them with two
    // zeros after them and may insert them anywhere.
    const VRect r(0, 0, 300, 40);
    VFrameTextEdit frame(nullptr, kEnteEnabled | kEnteDragDrop, &r);
    frame.GetEditor()->SetUnicode(start.data(), int32_t(start.size()), false);
    struct Seen {
        int32_t length = -1;
        bool zeros = false;
    } seen;
    frame.SetDropHandler(
        [](VFrameTextEdit* f, VFrameTextEditDropInfo& info, void* d) -> int32_t {
            auto* s = static_cast<Seen*>(d);
            s->length = info.fLength;
            s->zeros = info.fBytes[info.fLength] == 0 && info.fBytes[info.fLength + 1] == 0;
            VText text;
            std::u16string units(size_t(info.fLength) / 2, u'\0');
            for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t(ReadBE16(info.fBytes + i * 2));
            text.FromUniBlock(units.data(), 0, int32_t(units.size()));
            f->DropData(text, info.fOffset, info.fSameEditor, false, !info.fSameEditor, false);
            return 1;
        },
        &seen);
    DragDropInfo info;
    const int32_t length = int32_t(clip.size());
    VFrameTextEdit::myNativeTextEditDropCallBack(frame.GetEditor(), clip.data(), length, kNativeTextUnicode,
                                                VPoint(int32_t(flags) % 300, 5), (flags & 2) != 0, info, &frame);
    Check(seen.length == length && seen.zeros);
    // The single-line field took the first line of what came.
    const std::u16string came = Units(clip);
    const size_t line = std::min(came.size(), came.find_first_of(u"\r\n"));
    Check(frame.GetEditor()->GetTextLen(3) == int32_t(start.size() + line) || (flags & 2));
    ClearCurrentScrap();
    return 0;
}
