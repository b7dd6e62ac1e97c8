#include "toolbox/drawing/EngineResFiles.h"

#include "toolbox/drawing/VDesignResFile.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/foundation/VArrayNumber.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/system/ToolboxResources.h"

namespace {

VResourceFile* MakeHostFile(int16_t fileRef)
{
    auto* file = new VMacResFile(fileRef);
    if (file) file->SetSearchChain(true);
    return file;
}

VDesignResFile* MakeDesignFile() { return new VDesignResFile; }

void DisposeHostFile(VResourceFile* file) { delete file; }

void DisposeDesignFile(VDesignResFile* file) { delete file; }

void MakeToolboxFile(VResourceFile* hostFile) { gResFile = hostFile; }

std::vector<int16_t> ListIDs(platform::ResType type)
{
    std::vector<int16_t> ids;
    if (!gResFile) return ids;
    VArrayWord* list = gResFile->GetResourceListIDs(type);
    if (!list) return ids;
    for (int32_t i = 1; i <= list->GetCount(); ++i) ids.push_back(list->GetWord(i));
    delete list;
    return ids;
}

platform::Handle GetToolboxResource(platform::ResType type, int16_t id)
{
    return gResFile ? gResFile->GetResource(type, id) : nullptr;
}

void ReleaseToolboxResource(platform::Handle h)
{
    if (gResFile) gResFile->ReleaseResource(h);
}

void GetToolboxString(VString& text, int16_t listId, int16_t index)
{
    if (gResFile)
        gResFile->GetString(text, listId, index);
    else
        text.Clear();
}

}  // namespace

void InstallEngineResourceFiles()
{
    VEngineResFileMakers makers;
    makers.makeHostFile = MakeHostFile;
    makers.makeDesignFile = MakeDesignFile;
    makers.disposeHostFile = DisposeHostFile;
    makers.disposeDesignFile = DisposeDesignFile;
    makers.makeToolboxFile = MakeToolboxFile;
    SetEngineResFileMakers(makers);

    ToolboxResources access;
    access.listIDs = ListIDs;
    access.getResource = GetToolboxResource;
    access.releaseResource = ReleaseToolboxResource;
    access.getString = GetToolboxString;
    SetToolboxResources(access);
}
