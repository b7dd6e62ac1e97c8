// Moving the visible texts of a stored form into string lists and back. A
// text goes into a list through the form's DoItTxtStr, which turns it into
// a ":ID,INDEX" reference; a reference comes back as the item's text.
#include <cstring>
#include <string>

#include "forms/walkers/FormRewriteHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/LinkTexts.h"
#include "forms/walkers/RewriteSupport.h"
#include "forms/walkers/StoredListBox.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "platform/resfiles/StringListBody.h"

platform::Handle G_StrArrHdl = nullptr;

namespace {

// Static texts this long or longer stay in the form either way.
constexpr int32_t kLongText = 255;

struct ToListState {
    TObjQz** strObj = nullptr;
    unsigned char* nameBuffer = nullptr;
    TLayoutObjQz* form = nullptr;
    int16_t error = 0;  // the first text a list could not take
};

ToListState* StateOf(_GroupContext* c) { return static_cast<ToListState*>(WalkerFrameOf(c)->state); }

// The text turned into a reference in place; false when it stays.
bool ToList(_GroupContext* c, unsigned char* text)
{
    const auto doIt = GetFormRewriteHooks().doItTxtStr;
    ToListState* s = StateOf(c);
    if (!doIt || text[0] == 0) return false;
    unsigned char before[256];
    std::memcpy(before, text, size_t(text[0]) + 1);
    bool changed = false;
    if (const int16_t err = doIt(s->form, text, s->strObj, G_StrArrHdl, s->nameBuffer, &changed)) {
        // A text the list could not take ends the walk: the form is not
        // stored half converted.
        std::memcpy(text, before, size_t(before[0]) + 1);
        if (!s->error) s->error = err;
        return false;
    }
    return std::memcmp(before, text, size_t(before[0]) + 1) != 0;
}

// The item a ":ID,INDEX" reference names, from the resource chain; false
// when the text is no reference or the list lacks the item.
bool FromList(unsigned char* text)
{
    int16_t listId = 0, index = 0;
    if (!ParseStrRef(text, &listId, &index) || index < 1) return false;
    platform::Handle list = platform::GetResource(platform::FourCC("STR#"), listId);
    if (list && !*list) platform::LoadResource(list);
    if (!list || !*list ||
        platform::StringListCount(reinterpret_cast<uint8_t*>(*list), size_t(platform::GetHandleSize(list))) <
            uint32_t(index))
        return false;
    platform::GetIndString(text, listId, index);
    return true;
}

// Each converter hands a text to `convert` (a Str255 changed in place,
// true when it changed) and writes the chunk again with what it gave.
template <typename Convert>
IFFP ConvertFlag(_GroupContext* c, Convert convert)
{
    return RewriteChunk(c, [&](ChunkEdit& edit) -> IFFP {
        StoredFlag flag;
        if (const IFFP err = ReadStoredFlag(c, &flag)) return err;
        unsigned char text[256];
        std::memcpy(text, flag.formText.text, sizeof text);
        if (!flag.formText.Present() || !convert(text)) return IFF_OKAY;
        return Edited(RespellText(edit, flag.formText, text, false));
    });
}

template <typename Convert>
IFFP ConvertStaticText(_GroupContext* c, Convert convert, bool (*offered)(const uint8_t*, int32_t))
{
    return RewriteChunk(c, [&](ChunkEdit& edit) -> IFFP {
        StoredStaticText stored;
        if (const IFFP err = ReadStoredStaticText(c, &stored)) return err;
        if (stored.length >= kLongText || !offered(stored.text, stored.length)) return IFF_OKAY;
        unsigned char text[256];
        text[0] = uint8_t(stored.length);
        std::memcpy(text + 1, stored.text, size_t(stored.length));
        if (!convert(text)) return IFF_OKAY;
        return Edited(RespellStaticText(edit, stored, std::string(reinterpret_cast<char*>(text + 1), text[0])));
    });
}

template <typename Convert>
IFFP ConvertTitle(_GroupContext* c, Convert convert)
{
    return RewriteChunk(c, [&](ChunkEdit& edit) -> IFFP {
        StoredEditable var;
        if (const IFFP err = ReadStoredVar(c, &var)) return err;
        unsigned char title[256];
        std::memcpy(title, var.format.text, sizeof title);
        if (!HasTitle(var.subType) || !convert(title)) return IFF_OKAY;
        return Edited(RespellText(edit, var.format, title, true));
    });
}

template <typename Convert>
IFFP ConvertColumnTitles(_GroupContext* c, Convert convert)
{
    StoredListBox stored;
    if (const IFFP err = stored.Read(c)) return err;
    VGridView& view = stored.Grid().GetGridView();
    for (int32_t k = 1; stored.Readable() && k <= stored.Grid().GetGridColumnCount(); ++k) {
        VGridHeader* header = view.GetColumnHeader(k);
        unsigned char title[256];
        if (TitleAsStr255(header, title) && convert(title)) header->SetTitle(title);
    }
    return stored.Write(WalkOutput(c));
}

// A handler's result, or CLIENT_ERROR once a text was refused by its list.
IFFP Taken(_GroupContext* c, IFFP result) { return result == IFF_OKAY && StateOf(c)->error ? CLIENT_ERROR : result; }

bool AnyText(const uint8_t*, int32_t) { return true; }
bool WithoutReference(const uint8_t* text, int32_t length) { return !HasStaticRef(text, length); }

}  // namespace

bool HasStaticRef(const uint8_t* text, int32_t length)
{
    return length > 0 && std::memchr(text, '<', size_t(length)) != nullptr;
}

IFFP FlagToStr(_GroupContext* c)
{
    return Taken(c, ConvertFlag(c, [c](unsigned char* t) { return ToList(c, t); }));
}

IFFP TextToStr(_GroupContext* c)
{
    return Taken(c, ConvertStaticText(c, [c](unsigned char* t) { return ToList(c, t); }, WithoutReference));
}

IFFP VarToStr(_GroupContext* c)
{
    return Taken(c, ConvertTitle(c, [c](unsigned char* t) { return ToList(c, t); }));
}

IFFP ListBoxToStr(_GroupContext* c)
{
    return Taken(c, ConvertColumnTitles(c, [c](unsigned char* t) { return ToList(c, t); }));
}

IFFP StrToFlag(_GroupContext* c) { return ConvertFlag(c, FromList); }
IFFP StrToText(_GroupContext* c) { return ConvertStaticText(c, FromList, AnyText); }
IFFP StrToVar(_GroupContext* c) { return ConvertTitle(c, FromList); }
IFFP StrToListBox(_GroupContext* c) { return ConvertColumnTitles(c, FromList); }

int16_t TxtToStrIFF(platform::Handle source, platform::Handle output, TObjQz** strObj, unsigned char* nameBuffer,
                    TLayoutObjQz* form)
{
    ToListState state{strObj, nameBuffer, form};
    WalkerFrame frame;
    frame.target = frame.source = form;
    frame.state = &state;
    return RunTextWalker(&frame, source, output, {FlagToStr, TextToStr, VarToStr, ListBoxToStr});
}

int16_t StrToTxtIFF(platform::Handle source, platform::Handle output)
{
    WalkerFrame frame;
    return RunTextWalker(&frame, source, output, {StrToFlag, StrToText, StrToVar, StrToListBox});
}
