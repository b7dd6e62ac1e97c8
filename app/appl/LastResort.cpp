#include "app/appl/LastResort.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/appl/AppObjects.h"
#include "app/dialogs/Messages.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "platform/files/SpecialFolders.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/TextFiles.h"
#include "platform/text/Utf8.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace lastresort {
namespace {

// 'STR#' 1002: the program ends; before the kept files' names; some
// typing not kept; after an editor's title, the name of its kept file.
constexpr int16_t kErrorTexts = 1002;
constexpr int16_t kEnds = 148, kKeptIn = 149, kNotKept = 150, kKeptName = 151;
constexpr uint8_t kEllipsis = 0xC9;  // Mac Roman
// A kept file takes a name no file has: "... (not saved) 2.txt" and on.
constexpr int kMostNames = 99;

struct Texts {
    Str255 ends{}, keptIn{}, notKept{}, keptName{};
    bool read = false;
};
Texts gTexts;

// `more` after `text`, cut with an ellipsis where the room ends; nothing
// once it is full.
void AppendCut(unsigned char* text, const unsigned char* more, size_t length)
{
    if (text[0] == 255) return;
    size_t room = size_t(255 - text[0]);
    if (length > room) {
        std::memcpy(text + 1 + text[0], more, room - 1);
        text[255] = kEllipsis;
        text[0] = 255;
        return;
    }
    std::memcpy(text + 1 + text[0], more, length);
    text[0] = uint8_t(text[0] + length);
}
void AppendCut(unsigned char* text, const unsigned char* pascal) { AppendCut(text, pascal + 1, pascal[0]); }

// The folder a window's kept file goes to: its document's, or the user's
// documents folder for a document that has none (from a server).
bool FolderOf(TWindow* window, FSSpec* folder)
{
    TDocument* doc = window->fDoc;
    if (doc && !doc->fSpec.path.empty()) {
        *folder = FSpGetParent(doc->fSpec);
        return true;
    }
    return FindSpecialFolder(SpecialFolder::Documents, false, folder) == noErr;
}

// `text` (Mac Roman) written whole as a new text file in `folder`, named
// after the window's title; the name it took in `name`, as the program
// holds it. A file already there keeps its name and bytes.
bool Keep(TWindow* window, const std::string& text, const FSSpec& folder, std::string* name)
{
    Str255 title;
    window->GetTitle(title);
    const std::string lines = TextFileLines(text.data(), text.size());
    // A colon of the title (which no name the program holds has) stays a
    // colon on the disk.
    std::string macTitle(reinterpret_cast<const char*>(title + 1), title[0]);
    std::replace(macTitle.begin(), macTitle.end(), ':', '/');
    const std::string stem = FileNameOf(macTitle);
    const std::string kept(reinterpret_cast<const char*>(gTexts.keptName + 1), gTexts.keptName[0]);
    for (int n = 1; n <= kMostNames; ++n) {
        const std::string suffix = FileNameOf(kept + (n > 1 ? " " + std::to_string(n) : "") + ".txt");
        const std::string fileName = ProposedFileName(stem, suffix);
        const std::string path = folder.path + "/" + fileName;
        TemporaryFile file;
        OSErr err = file.Create(path, 0666);
        if (err == noErr) err = file.Write(lines.data(), lines.size());
        if (err == noErr) err = file.Commit(true);
        if (err == dupFNErr) continue;
        if (err != noErr) return false;
        *name = Utf8ToMacRomanString(fileName);
        return true;
    }
    return false;
}

}  // namespace

void Prepare()
{
    MyGetIndString(gTexts.ends, kErrorTexts, kEnds);
    MyGetIndString(gTexts.keptIn, kErrorTexts, kKeptIn);
    MyGetIndString(gTexts.notKept, kErrorTexts, kNotKept);
    MyGetIndString(gTexts.keptName, kErrorTexts, kKeptName);
    gTexts.read = gTexts.ends[0] != 0;
}

void EndForWantOfMemory()
{
    if (GromMemHdl) {
        DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
    }
    if (!gTexts.read) {
        try {
            Prepare();
        } catch (const std::bad_alloc&) {
        }
    }
    // The names of the kept files, one after the other; whether some
    // typing could not be kept.
    Str255 names{};
    bool lost = false;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) {
        TWindow* window = GetTWindow(w);
        if (!window) continue;
        for (TPlan* pane = window->fFirstPlane; pane; pane = pane->fNext) {
            if (!pane->Modified()) continue;
            bool kept = false;
            try {
                FSSpec folder;
                std::string name;
                if (FolderOf(window, &folder) && Keep(window, pane->TypedText(), folder, &name)) {
                    if (names[0]) AppendCut(names, reinterpret_cast<const unsigned char*>(", "), 2);
                    AppendCut(names, reinterpret_cast<const unsigned char*>(name.data()), name.size());
                    kept = true;
                }
            } catch (const std::bad_alloc&) {
            }
            lost = lost || !kept;
        }
    }
    Str255 text{};
    AppendCut(text, gTexts.ends);
    if (lost) AppendCut(text, gTexts.notKept);
    if (names[0]) {
        AppendCut(text, gTexts.keptIn);
        AppendCut(text, names);
    }
    try {
        XAlert(1000, text, kStopAlert);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qzbrowser: not enough memory to show that the program ends.\n");
    }
}

}  // namespace lastresort
