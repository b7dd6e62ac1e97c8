// A compiler declaration file of any bytes read beside a small structure:
// every block, name and line is read inside the file whatever it holds,
// and the file stays the document's data file.
#include <cstdint>
#include <string>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/text/DeclarationFile.h"
#include "fuzz/support/ScratchStructure.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

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

// The texts that name the file and its owners, below every open file.
int16_t OpenTexts()
{
    platform::ResourceFileImage image;
    auto add = [&](int16_t id, std::vector<uint8_t> data) {
        platform::ResourceImage r;
        r.type = FourCC("STR#");
        r.id = id;
        r.data = std::move(data);
        image.resources.push_back(std::move(r));
    };
    add(1013, StringList({".decl.txt"}));
    add(531, StringList({"", "(Object Method) ", "(Table Method) ", "(Form Method) ", "(Method) "}));
    add(1019, StringList({", ", ": "}));
    add(104, StringList({";", "", "", "", "", "", "", "", "", "", "", "$", "", "", "", "", "", "", "", "", "", "", "",
                         "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "<>"}));
    return platform::OpenResFileImageBelow(image);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ScratchStructure scratch;
    const int16_t texts = OpenTexts();
    const std::string path = fuzz::ScratchFolder() + "/S.QzB";
    if (scratch.Ready() && texts > 0 && fuzz::WriteFile(path + ".decl.txt", fuzz::Bytes(data, data + size))) {
        LoadTokenStrings();
        TMainDoc& doc = scratch.Doc();
        platform::FSMakeFSSpec(path, &doc.fSpec);
        scratch.Use();
        TObjQz* a = NewObj_Id(&doc, 2, PName("\x01" "A"), 1, false);
        NewObj_Id(&doc, 2, PName("\x01" "B"), 2, false);
        Get_GlobVar(&doc, PName("\x03Sum"));
        Get_GlobGlobVar(&doc, PName("\x07<>Count"));
        Get_LocalVar(a, PName("\x05$Rate"));
        ReadCompFile(&doc, PName("\x05S.QzB"));
        unsigned char info[256];
        static_cast<TProcObjQz*>(a)->GetMoreInfo(info, true);
        if (doc.fDataFile != -1) platform::FSClose(doc.fDataFile);
    }
    if (texts > 0) platform::CloseResFile(texts);
    return 0;
}
