#include "toolbox/files/FileKindHooks.h"

namespace {

FileKindHooks& Hooks()
{
    static FileKindHooks hooks;
    return hooks;
}

}  // namespace

void SetFileKindHooks(const FileKindHooks& hooks) { Hooks() = hooks; }
void ResetFileKindHooks() { Hooks() = FileKindHooks{}; }

uint32_t VirtualKindFromMacKind(uint32_t macType, bool stationery, const VString& name)
{
    auto f = Hooks().virtualKindFromMacKind;
    return f ? f(macType, stationery, name) : macType;
}

uint32_t MacKindFromVirtualKind(uint32_t kind)
{
    auto f = Hooks().macKindFromVirtualKind;
    return f ? f(kind) : kind;
}

bool IsTemplateFileKind(uint32_t kind)
{
    auto f = Hooks().isTemplateFileKind;
    return f ? f(kind) : false;
}

bool IsValidFileKind(uint32_t kind)
{
    auto f = Hooks().isValidFileKind;
    return f ? f(kind) : kind != 0;
}

uint32_t WinKindFromExtension(const uint8_t* pExtension)
{
    auto f = Hooks().winKindFromExtension;
    return f && pExtension ? f(pExtension) : 0;
}

uint32_t WinKindFromVirtualKind(uint32_t kind)
{
    auto f = Hooks().winKindFromVirtualKind;
    return f ? f(kind) : 0;
}
