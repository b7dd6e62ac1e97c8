// The previews and printed contents of string lists and styles: a list's
// heading and numbered strings, a style's description.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/resfiles/Resources.h"
#include "platform/resfiles/StringListBody.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace {

// The list's heading: its resource name, the id label and the id.
std::string ListHeading(const unsigned char* resName, const char* between, int16_t id)
{
    unsigned char label[256];
    MyGetIndString(label, 1001, 11);
    return PText(resName) + " " + PText(label) + between + std::to_string(id);
}

struct ListPicture {
    std::string heading;
    std::vector<std::string> strings;
};

}  // namespace

void TSTRObjQz::GetStructName(unsigned char* out)
{
    GetName(out);
    unsigned char label[256];
    MyGetIndString(label, 1001, 11);
    PAppendChar(out, ' ');
    PAppend(out, label);
    PAppendChar(out, ':');
    PAppend(out, std::to_string(id));
}

bool TSTRObjQz::Strings(std::vector<std::string>* strings, unsigned char* resName)
{
    strings->clear();
    resName[0] = 0;
    if (!owner || owner->fRsrFile < 0 || !IsResFileOpen(owner->fRsrFile)) return false;
    const int16_t saved = CurResFile();
    UseResFile(owner->fRsrFile);
    Handle list = Get1Resource(FourCC("STR#"), id);
    if (list) {
        int16_t resId = 0;
        ResType type = 0;
        GetResInfo(list, &resId, &type, resName);
    }
    UseResFile(saved);
    if (!list || !*list) return list != nullptr;
    // Strings past the bytes are not there: the list ends where they do.
    ReadStringListBody(reinterpret_cast<const uint8_t*>(*list), size_t(GetHandleSize(list)), strings);
    return true;
}

int16_t TSTRObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                               int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    ListPicture list;
    unsigned char resName[256];
    Strings(&list.strings, resName);
    list.heading = ListHeading(resName, ": ", id);
    int16_t line = 0;
    int32_t widest = 0;
    {
        // Measured in the port the picture will be drawn in.
        SavedFont saved;
        ApplicationFont(underline);
        line = CurrentLine();
        widest = 10 + Width(list.heading);
        ApplicationFont(normal);
        for (const std::string& s : list.strings) widest = std::max<int32_t>(widest, 70 + Width(s));
    }
    *width = int16_t(std::min<int32_t>(widest + 18, 4096));
    *height = int16_t(std::min<int32_t>(10 + int32_t(list.strings.size() + 1) * line, 32000));
    return RecordPreview(display, r, *width, *height, [&list] {
        ApplicationFont(underline);
        FontInfo fi{};
        GetFontInfo(&fi);
        const int16_t h = LineOf(fi);
        DrawAt(list.heading, 10, int16_t(10 + fi.ascent));
        ApplicationFont(normal);
        int32_t top = 10 + h;
        for (size_t i = 0; i < list.strings.size() && top < 32000; ++i, top += h) {
            // The number flush right in a 40-point box ending 10 before the
            // strings' column at 70.
            const std::string number = std::to_string(i + 1);
            DrawAt(number, int16_t(60 - Width(number)), int16_t(top + fi.ascent));
            DrawAt(list.strings[i], 70, int16_t(top + fi.ascent));
        }
    });
}

int16_t TSTRObjQz::PrintObj(OutPutParmRec* options)
{
    std::vector<std::string> strings;
    unsigned char resName[256];
    Strings(&strings, resName);
    UsePrintStyle(bold);
    unsigned char text[256];
    auto toP = [&](const std::string& s) {
        text[0] = uint8_t(std::min<size_t>(s.size(), 255));
        std::memcpy(text + 1, s.data(), text[0]);
        return text;
    };
    GetHeading(text);
    PrintHeading(text, 0);
    TextFace(normal);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    if (options && options->contents && !TstFlag(kFlagCiphered)) {
        for (size_t i = 0; i < strings.size(); ++i) {
            PrintLine(toP(std::to_string(i + 1)), 20);
            PrintNewLine(toP(strings[i]), 60);
        }
        PrintNewLine(empty, 0);
    }
    return 0;
}

int16_t TStyleObjQz::InitDisplay(Handle* display, const Rect& r, int16_t* width, int16_t* height, int16_t* pageMin,
                                 int16_t* pageMax, int16_t* page, bool flag)
{
    TObjQz::InitDisplay(display, r, width, height, pageMin, pageMax, page, flag);
    const std::string text = PText(description);
    {
        SavedFont saved;
        ApplicationFont(normal);
        *width = int16_t(Width(text) + 28);
        *height = int16_t(CurrentLine() + 11);
    }
    return RecordPreview(display, r, *width, *height, [&text] {
        ApplicationFont(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        DrawAt(text, 10, int16_t(10 + fi.ascent));
    });
}

int16_t TStyleObjQz::PrintObj(OutPutParmRec*)
{
    unsigned char line[256];
    GetHeading(line);
    PAppend(line, std::string("   "));
    PAppend(line, description);
    UsePrintStyle(bold);
    PrintHeading(line, 0);
    TextFace(normal);
    const unsigned char empty[1] = {0};
    PrintNewLine(empty, 0);
    return 0;
}
