// Replacing a literal text in the visible texts of a stored form: the form
// text, static texts and group box titles, button titles and the titles of
// list box columns. A string list reference is replaced as its characters
// stand; the list item is not touched.
#include <cstring>
#include <string>
#include <vector>

#include "forms/walkers/FormRewriteHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/RewriteSupport.h"
#include "forms/walkers/StoredListBox.h"

namespace {

constexpr int32_t kStr255 = 255;

struct ReplaceState {
    unsigned char find[256] = {}, replacement[256] = {};
    int32_t leftWhole = 0;  // texts the replacement would have taken past their limit
};

ReplaceState* StateOf(_GroupContext* c) { return static_cast<ReplaceState*>(WalkerFrameOf(c)->state); }

// `text` with every find replaced, into `out`; false when nothing changed
// or the result would pass `max` characters (counted).
bool ReplacedText(ReplaceState* s, const uint8_t* text, int32_t length, int32_t max, std::string* out)
{
    const auto replace = GetFormRewriteHooks().replace;
    const int32_t f = s->find[0], r = s->replacement[0];
    if (!replace || f == 0 || length < f) return false;
    // Room for every place the find could be.
    const int64_t room = int64_t(length) + (r > f ? int64_t(length / f) * (r - f) : 0);
    if (room > INT32_MAX) {
        ++s->leftWhole;
        return false;
    }
    std::vector<uint8_t> buffer(size_t(room) + 1);
    std::memcpy(buffer.data(), text, size_t(length));
    int32_t n = length;
    replace(buffer.data(), &n, s->find, s->replacement);
    if (n > max) ++s->leftWhole;
    if (n < 0 || n > max || (n == length && std::memcmp(buffer.data(), text, size_t(n)) == 0)) return false;
    out->assign(reinterpret_cast<const char*>(buffer.data()), size_t(n));
    return true;
}

// A Str255 field with every find replaced, kept within 255 characters.
bool ReplacedStr255(ReplaceState* s, const unsigned char* text, unsigned char* out)
{
    std::string replaced;
    if (!ReplacedText(s, text + 1, text[0], kStr255, &replaced)) return false;
    out[0] = uint8_t(replaced.size());
    std::memcpy(out + 1, replaced.data(), replaced.size());
    return true;
}

}  // namespace

IFFP FlagTxtReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        StoredFlag flag;
        if (const IFFP err = ReadStoredFlag(c, &flag)) return err;
        unsigned char text[256];
        // The size object's name is a name, not a text.
        if (!flag.formText.Present() || !ReplacedStr255(StateOf(c), flag.formText.text, text)) return IFF_OKAY;
        return Edited(RespellText(edit, flag.formText, text, false));
    });
}

IFFP TextTxtReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        StoredStaticText stored;
        if (const IFFP err = ReadStoredStaticText(c, &stored)) return err;
        std::string text;
        if (!ReplacedText(StateOf(c), stored.text, stored.length, INT32_MAX - 64, &text)) return IFF_OKAY;
        return Edited(RespellStaticText(edit, stored, text));
    });
}

IFFP VarTxtReplace(_GroupContext* c)
{
    return RewriteChunk(c, [c](ChunkEdit& edit) -> IFFP {
        StoredEditable var;
        if (const IFFP err = ReadStoredVar(c, &var)) return err;
        unsigned char title[256];
        if (!HasTitle(var.subType) || !ReplacedStr255(StateOf(c), var.format.text, title)) return IFF_OKAY;
        return Edited(RespellText(edit, var.format, title, true));
    });
}

IFFP ListBoxTxtReplace(_GroupContext* c)
{
    StoredListBox stored;
    if (const IFFP err = stored.Read(c)) return err;
    VGridView& view = stored.Grid().GetGridView();
    for (int32_t k = 1; stored.Readable() && k <= stored.Grid().GetGridColumnCount(); ++k) {
        VGridHeader* header = view.GetColumnHeader(k);
        unsigned char title[256], replaced[256];
        if (TitleAsStr255(header, title) && ReplacedStr255(StateOf(c), title, replaced)) header->SetTitle(replaced);
    }
    return stored.Write(WalkOutput(c));
}

int16_t ReplaceTxtIFF(platform::Handle source, platform::Handle output, const unsigned char* find,
                      const unsigned char* replacement, int32_t* leftWhole)
{
    ReplaceState state;
    CopyCut(state.find, find, 255);
    CopyCut(state.replacement, replacement, 255);
    WalkerFrame frame;
    frame.state = &state;
    const int16_t err =
        RunTextWalker(&frame, source, output, {FlagTxtReplace, TextTxtReplace, VarTxtReplace, ListBoxTxtReplace});
    if (leftWhole) *leftWhole += state.leftWhole;
    return err;
}
