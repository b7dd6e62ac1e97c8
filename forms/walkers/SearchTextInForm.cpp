// Searching the visible texts of a stored form, each as it shows: a text
// that names a string-list item is matched by that item. Names are matched
// as stored. Once a text matched, the walk still goes to the form's end but
// matches nothing more.
#include <algorithm>
#include <cstring>

#include "forms/calc/StringRefs.h"
#include "forms/walkers/FormRewriteHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/RewriteSupport.h"
#include "forms/walkers/StoredListBox.h"

namespace {

struct SearchState {
    unsigned char pattern[256] = {};
    int16_t mode = 0;
};

bool Done(_GroupContext* c) { return WalkerFrameOf(c)->found != 0; }

// Matches the text; a match sets the frame's found flag.
void Match(_GroupContext* c, const uint8_t* text, int32_t length)
{
    const auto match = GetFormRewriteHooks().match;
    const auto* s = static_cast<const SearchState*>(WalkerFrameOf(c)->state);
    if (!Done(c) && match && match(text, length, s->pattern, s->mode)) WalkerFrameOf(c)->found = 1;
}

void Match(_GroupContext* c, const unsigned char* text) { Match(c, text + 1, text[0]); }

// A visible text as it shows; one too long to be a reference as it is.
void MatchShown(_GroupContext* c, const uint8_t* text, int32_t length)
{
    unsigned char shown[256];
    if (length >= 0 && ShownStringText(text, size_t(length), shown)) Match(c, shown);
    else Match(c, text, length);
}

void MatchShown(_GroupContext* c, const unsigned char* text) { MatchShown(c, text + 1, text[0]); }

// The display types whose variable's name the search looks at.
bool NameSearched(int32_t subType)
{
    switch (subType) {
    case 5: case 8: case 9: case 16: case 21: case 24: case 25: case 26: return true;
    default: return false;
    }
}

}  // namespace

IFFP FlagTxtSearch(_GroupContext* c)
{
    if (Done(c)) return IFF_OKAY;
    StoredFlag flag;
    if (const IFFP err = ReadStoredFlag(c, &flag)) return err;
    if (flag.formText.Present()) MatchShown(c, flag.formText.text);
    if (flag.inheritedName.Present()) Match(c, flag.inheritedName.text);
    return IFF_OKAY;
}

IFFP TextTxtSearch(_GroupContext* c)
{
    if (Done(c)) return IFF_OKAY;
    StoredStaticText stored;
    if (const IFFP err = ReadStoredStaticText(c, &stored)) return err;
    MatchShown(c, stored.text, stored.length);
    return IFF_OKAY;
}

IFFP VarTxtSearch(_GroupContext* c)
{
    if (Done(c)) return IFF_OKAY;
    StoredEditable var;
    if (const IFFP err = ReadStoredVar(c, &var)) return err;
    if (HasTitle(var.subType)) MatchShown(c, var.format.text);
    else if (NameSearched(var.subType)) Match(c, var.varName);
    return IFF_OKAY;
}

IFFP ListboxTxtSearch(_GroupContext* c)
{
    if (Done(c)) return IFF_OKAY;
    StoredListBox stored;
    if (const IFFP err = stored.Read(c)) return err;
    VGridView& view = stored.Grid().GetGridView();
    for (int32_t k = 1; k <= stored.Grid().GetGridColumnCount(); ++k) {
        unsigned char title[256];
        view.GetColumnHeader(k)->GetTitle(title);
        MatchShown(c, title);
    }
    return IFF_OKAY;
}

uint8_t SearchTxtIFF(platform::Handle form, const char* text, int16_t mode)
{
    SearchState state;
    const size_t length = text ? std::min<size_t>(std::strlen(text), 255) : 0;
    state.pattern[0] = uint8_t(length);
    if (length) std::memcpy(state.pattern + 1, text, length);
    state.mode = mode;
    WalkerFrame frame;
    frame.state = &state;
    RunTextWalker(&frame, form, nullptr, {FlagTxtSearch, TextTxtSearch, VarTxtSearch, ListboxTxtSearch});
    return frame.found;
}
