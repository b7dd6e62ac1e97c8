// The module-manager seam and its stand-in.
#include "design/reading/ModuleManager.h"

#include <new>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"

namespace {

ModuleHooks gHooks;

// No component records, so nothing is installed and nothing is removed.
class StandInModuleManager final : public IModuleManager {
public:
    int16_t LoadModules(int16_t flag) override { (void)flag; return 0; }
    int16_t RemoveModules() override { return 0; }
    int32_t CountModules() override { return 0; }
    IModule* GetModule(int32_t index) override { (void)index; return nullptr; }
    IModule* GetNamedModule(const unsigned char* name) override { (void)name; return nullptr; }
    int16_t GetObjState(uint32_t type, int16_t id) override { (void)type, (void)id; return 0; }
    // Nothing to uninstall without records: the caller must not loop on it.
    int16_t UnInstall(TModuleObjQz* component) override { (void)component; return 1020; }
};

}  // namespace

void SetModuleHooks(const ModuleHooks& hooks) { gHooks = hooks; }
void ResetModuleHooks() { gHooks = ModuleHooks{}; }

IModuleManager* NewModuleMgr(TMainDoc* doc)
{
    if (gHooks.newManager) return gHooks.newManager(doc);
    return new (std::nothrow) StandInModuleManager;
}

void DisposeModuleMgr(IModuleManager* manager) { delete manager; }

int16_t ModuleMgr_GetObjState(IModuleManager* manager, uint32_t type, int16_t id)
{
    return manager ? manager->GetObjState(type, id) : 0;
}

int16_t M_UnInstall(TModuleObjQz* component)
{
    if (!component || !component->owner || !component->owner->fModuleManager) return -1;
    return component->owner->fModuleManager->UnInstall(component);
}

void DebugLog_Open()
{
    if (gHooks.logOpen) gHooks.logOpen();
}

void DebugLog_Close()
{
    if (gHooks.logClose) gHooks.logClose();
}

void DebugLog_WritePStr(const char* format, const unsigned char* text)
{
    if (gHooks.logWrite) gHooks.logWrite(format, text);
}
