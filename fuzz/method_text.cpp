// A method's stored tokens ('CCQz') turned into text in both modes (styled
// into a text record, exported into a file) and rewritten by the
// rewriters, whatever the bytes: every count, length, token kind, literal,
// field path and plug-in or constant reference stays inside the blob. The
// input: a 'QzK#' slice, a 'QBNX' slice and a routine list 'STR#' slice,
// then the blob.
#include <cstdint>
#include <string>

#include "app/documents/MainDoc.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "design/text/MethodText.h"
#include "fuzz/support/ScratchStructure.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"

using fuzz::PName;
using platform::FourCC;

namespace {

std::vector<uint8_t> StringList(std::initializer_list<const char*> items)
{
    std::vector<uint8_t> out{0, uint8_t(items.size())};
    for (const char* s : items) {
        const std::string text(s);
        out.push_back(uint8_t(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    }
    return out;
}

// The application's texts the renderer reads, and the input's plug-in
// bundle and routine list, below every open file.
int16_t OpenTexts(const fuzz::Bytes& bundle, const fuzz::Bytes& routines)
{
    platform::ResourceFileImage image;
    auto add = [&](uint32_t type, int16_t id, std::vector<uint8_t> data) {
        platform::ResourceImage r;
        r.type = type;
        r.id = id;
        r.data = std::move(data);
        image.resources.push_back(std::move(r));
    };
    add(FourCC("STR#"), 104, StringList({";", "[", "]", "!", "\"", "'", "(", ")", "{", "}", "`", "$", "ERROR", "{}", ":=",
                                 "+", "-", "*", "/", "^", "<", ">", "=", "..", "#", " & ", " | ", "<=", ">=", "*+",
                                 "*|", "->", "\"", "\"", "\\", "%", "?", "\xA4", "<>", "\t", " ^| ", " >> ", " << ",
                                 " ?+ ", " ?- ", " ?? "}));
    add(FourCC("STR#"), 105, StringList({"Return", "", "", "", "", "Break", "", "If", "End if", "While", "Else", "End while",
                                 "Case of", ":", "End case", "", "", "Self", "Null", "", "", "True", "Repeat",
                                 "Until", "For", "End for", "False", "Pass"}));
    add(FourCC("STR#"), 8, StringList({"ALL RECORDS", "QUERY", "SEARCH"}));
    add(FourCC("QBNX"), 1, bundle);
    add(FourCC("STR#"), 20000, routines);
    return platform::OpenResFileImageBelow(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const fuzz::Bytes constants = in.Slice(1024), bundle = in.Slice(64), routines = in.Slice(4096);
    fuzz::ScratchStructure scratch;
    const int16_t texts = OpenTexts(bundle, routines);
    platform::GWorldPtr port = nullptr;
    platform::CGrafPtr saved = nullptr;
    if (scratch.Ready() && texts > 0 && OpenPictPort(&port, &saved) == 0) {
        TMainDoc& doc = scratch.Doc();
        scratch.Add(constants, FourCC("QzK#"), 1);
        scratch.Add(in.Rest(), FourCC("CCQz"), 1);
        scratch.Use();
        auto* table = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("\x01T"), 1));
        table->tableNumber = 1;
        for (int16_t k = 1; k <= 2; ++k) {
            auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, k == 2 ? 29 : 28, PName("\x01" "f"), k));
            f->ownerObj = table;
        }
        TObjQz* called = NewObj_Id(&doc, 2, PName("\x07" "Add_Tax"), 2, false);
        TObjQz* method = NewObj_Id(&doc, 2, PName("\x04Main"), 1, false);
        platform::FSSpec exportSpec;
        platform::FSMakeFSSpec(fuzz::ScratchFolder() + "/export.txt", &exportSpec);
        platform::FSpCreate(exportSpec, 0, 0);
        int16_t file = -1;
        platform::FSpOpenDF(exportSpec, platform::fsRdWrPerm, &file);
        auto render = [&] {
            const platform::Rect r{0, 0, 2047, 2047};
            for (int16_t mode : {0, 1}) {
                platform::TEHandle te = mode == 0 ? platform::TEStyleNew(&r, &r) : platform::TENew(&r, &r);
                if (!te) continue;
                DoTextProc(table, 1, method, mode == 0, te, 1, mode);
                platform::TEDispose(te);
            }
            if (file != -1) SaveProcText(table, 1, method, file);
        };
        render();
        RemoveCommentsInProc(1, doc.fResFile);
        RemoveCurrentMethodName(PName("\x04Main"), 1, doc.fResFile);
        ReplaceCommand(PName("\x05QUERY"), PName("\x07" "Add_Tax"), 1, doc.fResFile);
        ReplaceTxtInProc(PName("\x01" "a"), PName("\x03" "bbb"), 1, doc.fResFile);
        ReplaceInProc(PName("\x07" "Add_Tax"), PName("\x07" "Add_VAT"), called, table, 1, method);
        render();
        if (file != -1) platform::FSClose(file);
        ClosePictPort(saved, port);
    }
    if (texts > 0) platform::CloseResFile(texts);
    return 0;
}
