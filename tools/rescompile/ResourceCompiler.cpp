#include "tools/rescompile/ResourceCompiler.h"

#include <algorithm>

#include "platform/core/FourCC.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "tools/rescompile/Layouts.h"

namespace rescompile {

namespace {

void CompileResource(SourceReader& in, platform::ResourceFileImage* image)
{
    Token start = in.Peek();
    platform::ResourceImage res;
    res.type = in.Type("a resource type such as 'STR#'");
    res.id = int16_t(in.Integer(-32768, 32767, "the resource id"));
    if (in.Peek().kind == TokenKind::String) {
        res.hasName = true;
        res.name = in.String(255, "the resource name");
    }
    while (in.Peek().kind == TokenKind::Word) {
        Token at = in.Peek();
        std::string attr = in.Word("an attribute");
        if (attr == "purgeable") res.attributes |= platform::resPurgeable;
        else if (attr == "locked") res.attributes |= platform::resLocked;
        else if (attr == "preload") res.attributes |= platform::resPreload;
        else if (attr == "protected") res.attributes |= platform::resProtected;
        else if (attr == "sysheap") res.attributes |= platform::resSysHeap;
        else in.Fail(at, "unknown attribute '" + attr + "'");
    }
    in.Expect(TokenKind::Open, "'{' to open the resource's body");
    res.data = FindLayout(res.type)(in, res.id);
    in.Expect(TokenKind::Close, "'}' to close the resource's body");
    for (const auto& other : image->resources)
        if (other.type == res.type && other.id == res.id)
            in.Fail(start, "'" + platform::FourCCText(res.type) + "' " + std::to_string(res.id) + " is defined twice");
    image->resources.push_back(std::move(res));
}

}  // namespace

LayoutCompiler FindLayout(uint32_t type)
{
    struct Entry {
        const char* type;
        LayoutCompiler compile;
    };
    static const Entry kLayouts[] = {
        {"STR ", CompileStr},         {"STR#", CompileStrList},      {"MENU", CompileMenu},
        {"vers", CompileVersion},     {"STQz", CompileStyleTable},   {"DLOG", CompileDialog},
        {"ALRT", CompileAlert},       {"DITL", CompileItemList},     {"CURS", CompileCursor},
        {"ICN#", CompileIconList},    {"SICN", CompileSmallIcons},   {"PAT#", CompilePatternList},
        {"cicn", CompileColourIcon},  {"pltt", CompilePalette},      {"clut", CompileColourTable},
        {"MMBR", CompileMenuBar},     {"MITM", CompileMenuItem},
    };
    for (const auto& e : kLayouts) {
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) code = code << 8 | uint8_t(e.type[i]);
        if (code == type) return e.compile;
    }
    return CompileRaw;
}

bool CompileSource(const std::string& text, const std::string& fileName, platform::ResourceFileImage* image,
                   std::string* error)
{
    try {
        SourceReader in(text, fileName);
        while (!in.AtEnd()) CompileResource(in, image);
        return true;
    } catch (const CompileError& e) {
        *error = e.what();
        return false;
    }
}

bool CompileFiles(const std::vector<std::string>& sources, const std::string& output, std::string* error)
{
    platform::ResourceFileImage image;
    for (const auto& path : sources) {
        std::vector<uint8_t> bytes;
        if (platform::ReadWholeFile(path, &bytes) != platform::noErr) {
            *error = path + ": cannot be read";
            return false;
        }
        if (!CompileSource(std::string(bytes.begin(), bytes.end()), path, &image, error)) return false;
    }
    // Types in code order, ids ascending within a type: the same sources
    // always give the same file.
    std::stable_sort(image.resources.begin(), image.resources.end(), [](const auto& a, const auto& b) {
        return a.type != b.type ? a.type < b.type : a.id < b.id;
    });
    std::vector<uint8_t> file;
    if (platform::BuildResourceFile(image, &file) != platform::noErr) {
        *error = output + ": the resources do not fit in one resource file";
        return false;
    }
    if (platform::WriteFileAtomically(output, file.data(), file.size(), 0644) != platform::noErr) {
        *error = output + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace rescompile
