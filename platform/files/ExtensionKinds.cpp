#include "platform/files/ExtensionKinds.h"

#include <map>

#include "platform/core/FourCC.h"

namespace platform {
namespace {

struct Kind {
    OSType type;
    OSType creator;
};

std::map<std::string, Kind> BuiltInKinds()
{
    const OSType any = FourCC("????");
    return {
        {"txt", {FourCC("TEXT"), any}},  {"text", {FourCC("TEXT"), any}},
        {"csv", {FourCC("TEXT"), any}},  {"xml", {FourCC("TEXT"), any}},
        {"htm", {FourCC("TEXT"), any}},  {"html", {FourCC("TEXT"), any}},
        {"pct", {FourCC("PICT"), any}},  {"pict", {FourCC("PICT"), any}},
        {"png", {FourCC("PNGf"), any}},  {"gif", {FourCC("GIFf"), any}},
        {"jpg", {FourCC("JPEG"), any}},  {"jpeg", {FourCC("JPEG"), any}},
        {"tif", {FourCC("TIFF"), any}},  {"tiff", {FourCC("TIFF"), any}},
        {"bmp", {FourCC("BMPf"), any}},  {"pdf", {FourCC("PDF "), any}},
        {"rsrc", {FourCC("rsrc"), any}},
    };
}

std::map<std::string, Kind>& Table()
{
    static std::map<std::string, Kind> table = BuiltInKinds();
    return table;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

}  // namespace

bool KindFromExtension(const std::string& name, OSType* type, OSType* creator)
{
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return false;
    auto it = Table().find(Lower(name.substr(dot + 1)));
    if (it == Table().end()) return false;
    if (type) *type = it->second.type;
    if (creator) *creator = it->second.creator;
    return true;
}

void SetExtensionKind(const std::string& extension, OSType type, OSType creator)
{
    Table()[Lower(extension)] = Kind{type, creator};
}

void ResetExtensionKinds() { Table() = BuiltInKinds(); }

}  // namespace platform
