// From a read description to the bytes of every resource and the manifest:
// names resolved, ids given, limits checked. Nothing touches the disk here,
// so a refused description leaves no file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/docbuilder/Bytes.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

struct ResourceOut {
    bool companion = false;  // in the companion resource file, else the container
    uint32_t type = 0;
    int16_t id = 0;
    std::string name;
    Bytes bytes;
    int line = 0;  // the statement that made it
    // Enciphered by the store with this key (0: the store's own key), as a
    // member of an installed component.
    bool enciphered = false;
    uint32_t key = 0;
};

// A plug-in file beside the document: a plain resource file of file type
// 'QzCB'.
struct PlugInFileOut {
    std::string fileName;  // "Name.plugin"
    std::vector<ResourceOut> resources;
};

struct LaidOut {
    std::string dataName;       // "Name.QzB" or "Name.QTL"
    std::string companionName;  // "Name.RSR"
    uint32_t creator = 0, fileType = 0;
    bool littleEndian = false;
    uint32_t seconds = 0;  // the description's date, seconds since 1904
    std::vector<ResourceOut> resources;
    std::vector<std::string> manifest;  // tab-separated lines
    bool moduleRecords = false;  // the container holds them: its format is 'DDUY'
    std::optional<std::string> declarations;  // the declaration file's bytes
    std::vector<PlugInFileOut> plugInFiles;
};

// The suffix of a structure's declaration file, as the application's
// 'STR#' 1013 item 1 names it.
inline constexpr const char* kDeclarationSuffix = ".decl.txt";

std::optional<LaidOut> LayOut(const DocumentSpec& doc, BuildError* error);

}  // namespace docbuilder
