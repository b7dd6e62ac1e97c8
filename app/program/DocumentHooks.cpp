// The design layer's document functions behind the application's hooks.
#include "app/program/DocumentHooks.h"

#include "app/documents/DocHooks.h"
#include "design/sql/SqlScript.h"
#include "design/documents/CreateQzLib.h"
#include "design/documents/DocResources.h"
#include "design/reading/ModuleManager.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjList.h"
#include "design/objects/OpenEditors.h"
#include "design/plugins/PlugInNotices.h"
#include "design/preferences/PrefUpgrade.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/reading/ReadQzB.h"
#include "design/security/Login.h"
#include "design/security/SecurityManager.h"
#include "kernel/startup/StartupServices.h"

namespace {

void SortKind(TypeListRec* list, int16_t kind)
{
    if (ObjListHdl objects = list ? GetObjListe(list, kind) : nullptr) ShellStrictSort(objects);
}

int32_t CountKind(TypeListRec* list, int16_t kind)
{
    ObjListHdl objects = list ? GetObjListe(list, kind) : nullptr;
    return objects ? objects->Size() : 0;
}

int16_t Read(TMainDoc* doc, bool initial, bool allowGenerated)
{
    const int16_t result = ReadQzB(doc, initial ? 1 : 0, allowGenerated ? 1 : 0);
    // The plug-ins the read passed over are named once it is done.
    TellUnreadPlugIns();
    return result;
}

}  // namespace

void InstallDocumentHooks()
{
    AppDocHooks& hooks = DocHooks();
    hooks.openQzB = OpenQzB;
    hooks.closeQzB = CloseQzB;
    hooks.acceptQzB = AcceptQzB;
    hooks.createQzLib = CreateQzLib;
    hooks.copyFile = CopyFile;
    hooks.readQzB = Read;
    hooks.readAgain = ReadAgainKeepingEditors;
    hooks.useQzRes = UseQzRes;
    hooks.newTypeList = NewTypeList;
    hooks.disposeTypeList = DisposeTypeList;
    hooks.sortKind = SortKind;
    hooks.countKind = CountKind;
    hooks.searchObjName = SearchObj_Name;
    hooks.newModuleManager = NewModuleMgr;
    hooks.deleteModuleManager = DisposeModuleMgr;
    hooks.countModules = [](IModuleManager* m) { return m ? m->CountModules() : int32_t(0); };
    hooks.baseCompilee = basecompilee;
    hooks.readServerPasswords = ReadServerPasswords;
    hooks.takePass = takepass;
    hooks.okStruct = okstruct;
    hooks.sql = SQL;
    hooks.debugLogOpen = DebugLog_Open;
    hooks.debugLogClose = DebugLog_Close;
    hooks.updatePrefResFile = UpdatePrefResFile;
    hooks.setBlockArray = SetBlockArray;
}

void InstallSecurityStart()
{
    KernelStartupServices services = InstalledKernelStartupServices();
    services.makeSecurityManager = MakeSecurityManager;
    SetKernelStartupServices(services);
}
