#include "transfer/dialogs/ConflictExport.h"

#include <new>
#include <string>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/TextFiles.h"
#include "design/objects/ObjText.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictTexts.h"

namespace transfer {

namespace {

constexpr uint8_t kLineEnd = 13;
const char kChainIndent[] = "       |";
const char kDescriptionLead[] = "     * ";
const char kChoiceLead[] = "       -> ";

void Append(ExportText* out, const char* text) { out->insert(out->end(), text, text + std::char_traits<char>::length(text)); }
void Append(ExportText* out, const unsigned char* p) { out->insert(out->end(), p + 1, p + 1 + p[0]); }

// One line: the indent, the text (a length-prefixed string, already cut at
// 255) and the line end.
void Line(ExportText* out, const char* indent, const unsigned char* text)
{
    Append(out, indent);
    Append(out, text);
    out->push_back(kLineEnd);
}

// Some record of the list, or below it, is shown.
bool HoldsVisible(C_ListHdl list)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* r = list->At(i);
        if (r->fVisible) return true;
        if (r->IsMember(1) && HoldsVisible(static_cast<TRConflict*>(r)->fSubList)) return true;
    }
    return false;
}

// The shown members of a record that is not shown, each with all of its
// own members.
void ExportShownMembers(C_ListHdl list, ExportText* out)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* r = list->At(i);
        if (r->fVisible) r->Export(out);
        else if (r->IsMember(1)) ExportShownMembers(static_cast<TRConflict*>(r)->fSubList, out);
    }
}

}  // namespace

}  // namespace transfer

using transfer::ExportText;

int16_t TConflict::Export(ExportText* out)
{
    const char* indent = fParent && fParent->fVisible ? transfer::kChainIndent : "";
    unsigned char text[256], part[256];
    transfer::NamePrefix(fCode, text);
    if (fSource) {
        transfer::GetFullName(fSource, part);
        PAppend(text, part);
        PAppend(text, " (" + std::to_string(fCode) + ") ");
    } else {
        transfer::KindName(transfer::ChooseTypeObj(fCode), part);
        PAppend(text, part);
    }
    transfer::Line(out, indent, text);

    PSet(text, transfer::kDescriptionLead);
    transfer::CodeDescription(fCode, part);
    PAppend(text, part);
    transfer::Line(out, indent, text);

    PSet(text, transfer::kChoiceLead);
    transfer::ChoiceText(this, part);
    PAppend(text, part);
    transfer::Line(out, indent, text);

    out->push_back(transfer::kLineEnd);
    return 0;
}

int16_t TRConflict::Export(ExportText* out)
{
    TConflict::Export(out);
    for (int32_t i = 0; fSubList && i < fSubList->Size(); ++i) fSubList->At(i)->Export(out);
    return 0;
}

namespace transfer {

void ConflictListText(const unsigned char* title, C_ListHdl list, ExportText* out)
{
    out->clear();
    Append(out, title);
    out->push_back(kLineEnd);
    out->push_back(kLineEnd);
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* r = list->At(i);
        if (r->fVisible) r->Export(out);
        else if (r->IsMember(1) && HoldsVisible(static_cast<TRConflict*>(r)->fSubList))
            ExportShownMembers(static_cast<TRConflict*>(r)->fSubList, out);
    }
}

int16_t ExportC_List(const unsigned char* defaultName, const unsigned char* firstLine, C_ListHdl list)
{
    unsigned char prompt[256];
    ListString(1013, 11, prompt);
    platform::FSSpec spec;
    if (const int16_t cancelled = MacPutFile(prompt, defaultName, &spec)) return cancelled;
    int16_t err = 0;
    try {
        ExportText text;
        ConflictListText(firstLine, list, &text);
        // Written beside and renamed over: the old file stays whole until
        // the new one is.
        err = platform::WriteTextDocument(spec.path, text.data(), text.size(), platform::FourCC("MACA"));
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    if (err != 0) ErrMsg(err);
    return err;
}

}  // namespace transfer
