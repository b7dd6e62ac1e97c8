#include "looks/Startup.h"

#include <string>


#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/collation/CollationTables.h"
#include "kernel/formats/InstallKernelTextHooks.h"
#include "kernel/guards/DrawingGuards.h"
#include "kernel/handles/KernelHandles.h"
#include "kernel/hostentry/HostEntry.h"
#include "kernel/numtext/KernelTextServices.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/StartupServices.h"
#include "looks/AppResources.h"
#include "looks/Cust.h"
#include "looks/LookManager.h"
#include "platform/core/Errors.h"
#include "platform/files/SpecialFolders.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "toolbox/drawing/CompatFunctions.h"
#include "toolbox/drawing/EngineResFiles.h"
#include "toolbox/drawing/VClipScrap.h"
#include "toolbox/drawing/IconResourceAccess.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/files/SystemFileServices.h"
#include "toolbox/files/VFileDlg.h"
#include "toolbox/foundation/startup/InitVToolBox.h"
#include "toolbox/views/PictureImport.h"
#include "toolbox/views/TextEditors.h"
#include "toolbox/views/VCursor.h"
#include "toolbox/views/VDialQz.h"
#include "toolbox/views/VFrame.h"
#include "toolbox/views/VTSMTEDoc.h"

namespace {

const char* gMessage = "";

constexpr const char* kNoMemory = "Not enough memory to start. Close other programs and try again.";

int16_t Stop(int16_t error, const char* message)
{
    gMessage = message;
    return error ? error : -1;
}

// Why the byte-swap templates could not be read, naming the folder or file
// looked at.
std::string SwapTemplatesMessage(int16_t error)
{
    platform::FSSpec folder;
    platform::FindSpecialFolder(platform::SpecialFolder::Extensions, false, &folder);
    if (error == -1)
        return "The extensions folder \"" + folder.path +
               "\" is not there, so the byte-swap templates could not be read. Reinstall the program, or set "
               "QZ_EXTENSIONS_DIR to the folder that holds " + kSwapFileName + ".";
    std::string message = "The byte-swap templates \"" + folder.path + "/" + kSwapFileName + "\" could not be read";
    if (error == kBadSwapFileErr) message += ": " + SwapFileMessage();
    return message + ". Reinstall the program.";
}

// The resource store, and the kernel's way into it, right after it is made.
void StartResourceManager()
{
    initresman();
    InstallKernelStoreAccess();
}

}  // namespace

const char* StartQzMessage() { return gMessage; }

int16_t StartQz()
{
    gMessage = "";
    // The fonts first: nothing can be shown without them.
    if (const int16_t err = platform::InitFonts(); err != 0) return Stop(err, platform::FontStartupMessage());
    if (OpenApplicationResources() == -1) {
        const int16_t err = platform::ResError();
        static std::string message;
        message = "The program's resource file \"" + ApplicationResourcesPath() +
                  "\" could not be opened. Reinstall the program.";
        return Stop(err ? err : platform::fnfErr, message.c_str());
    }

    // The security manager's maker comes from the design layer, above.
    KernelStartupServices services = InstalledKernelStartupServices();
    services.readCust = ReadCust;
    services.initResourceManager = StartResourceManager;
    services.initLooks = InitVI;
    SetKernelStartupServices(services);
    FontSaver::SetTextFontProc(myTextFont);
    InstallEngineResourceFiles();
    InstallIconResourceAccess();
    InstallImageDataAccess();
    InstallPictureRepair();
    InstallPictureImport();
    InstallDialQzList();
    InstallTextServicesDoc();
    InstallFrameHooks();
    VToolBoxLayerSteps steps;
    steps.makeCursor = MakeStartupCursor;
    steps.makeScrap = MakeStartupScrap;
    steps.initPainter = VPainter::Init;
    steps.initMenus = InitMenus;
    steps.initTextEditors = InitTextEditors;
    steps.initMovies = QT_Init;
    steps.initDrawTextBox = VFrameTextEdit::InitDrawTextBox;
    SetToolBoxLayerSteps(steps);

    if (!InitVToolBox(entreeexterne, kDialectNotSet)) return Stop(platform::memFullErr, ToolBoxStartupError());
    // The objects the layers' steps made.
    if (!gCursor || !gScrap || !VFrameTextEdit::GetDrawTextBox(false) || !VFrameTextEdit::GetDrawTextBox(true))
        return Stop(platform::memFullErr, kNoMemory);
    InstallSystemFileServices();
    FileDialogHooks fileDialogHooks;
    fileDialogHooks.getBundleInfo = GetBundleInfo;
    SetFileDialogHooks(fileDialogHooks);
    if (const int16_t swapErr = InitTokens(); swapErr != 0) {
        static std::string message;
        message = SwapTemplatesMessage(swapErr);
        return Stop(swapErr, message.c_str());
    }
    if (!x_initQzGlobals()) return Stop(erreure ? erreure : platform::memFullErr, kNoMemory);
    InstallKernelTextHooks();
    InstallKernelTextServices();
    DefaultCentury = 19;
    PivotYear = 80;
    init_Strings();
    return 0;
}
