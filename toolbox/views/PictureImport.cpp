#include "toolbox/views/PictureImport.h"

#include <new>

#include "platform/imports/GraphicsImport.h"
#include "toolbox/drawing/PictureImportHooks.h"
#include "toolbox/files/VFile.h"

platform::Handle MacPictureFromFile(VFile& file, VError* error)
{
    platform::PicHandle picture = nullptr;
    VError err = 600;
    try {
        platform::FSSpec fileSpec{};
        platform::GraphicsImportComponent importer = nullptr;
        platform::OSErr result = file.MAC_GetFSSpec(fileSpec);
        if (result == platform::noErr) result = platform::GetGraphicsImporterForFile(&fileSpec, &importer);
        if (result == platform::noErr) {
            result = platform::OSErr(platform::GraphicsImportGetAsPicture(importer, &picture));
            platform::CloseComponent(importer);
        }
        if (result != platform::noErr) {
            picture = nullptr;
            err = result == platform::memFullErr ? 100 : 600;
        } else {
            err = picture ? 0 : 600;
        }
    } catch (const std::bad_alloc&) {
        if (picture) platform::KillPicture(picture);
        picture = nullptr;
        err = 100;
    }
    if (error) *error = err;
    return picture;
}

void InstallPictureImport()
{
    PictureImportHooks hooks;
    hooks.macPictureFromFile = MacPictureFromFile;
    SetPictureImportHooks(hooks);
}
