// The file-kind table lives in the system object, which comes later in the
// start-up; until it installs its functions here, a toolbox file kind is the
// platform file type itself, no kind is a template, every non-zero kind
// is valid and nothing has a Windows kind.
#pragma once

#include <cstdint>

class VString;

struct FileKindHooks {
    // The toolbox kind of a platform type (with the stationery flag and
    // the item's name, for kinds told by the extension).
    uint32_t (*virtualKindFromMacKind)(uint32_t macType, bool stationery, const VString& name) = nullptr;
    // The platform type of a toolbox kind, 0 when it has none.
    uint32_t (*macKindFromVirtualKind)(uint32_t kind) = nullptr;
    bool (*isTemplateFileKind)(uint32_t kind) = nullptr;
    bool (*isValidFileKind)(uint32_t kind) = nullptr;
    // The Windows kind of an extension (length-prefixed, with its '.') and
    // of a toolbox kind; 0 when there is none.
    uint32_t (*winKindFromExtension)(const uint8_t* pExtension) = nullptr;
    uint32_t (*winKindFromVirtualKind)(uint32_t kind) = nullptr;
};

// Installs the functions given (a null one keeps the default behaviour).
void SetFileKindHooks(const FileKindHooks& hooks);
void ResetFileKindHooks();

uint32_t VirtualKindFromMacKind(uint32_t macType, bool stationery, const VString& name);
uint32_t MacKindFromVirtualKind(uint32_t kind);
bool IsTemplateFileKind(uint32_t kind);
bool IsValidFileKind(uint32_t kind);
uint32_t WinKindFromExtension(const uint8_t* pExtension);
uint32_t WinKindFromVirtualKind(uint32_t kind);
