// A stored filter ('FLT2') opened in the criteria dialog headless and
// confirmed or cancelled: the first byte chooses the mode (bit 0: search)
// and the answer (bit 1: Cancel), the rest is the record. Confirmed, the
// record must hold a whole first term; cancelled, it must be unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/ArrowControl.h"
#include "browser/CallPanes.h"
#include "browser/dialogs/SearchDialog.h"
#include "browser/dialogs/TriStateBox.h"
#include "design/filters/FilterRecord.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Memory.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/InputState.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "tools/rescompile/ResourceCompiler.h"

namespace {

// The application's resources, compiled from their sources once.
bool Ready()
{
    static const bool ready = [] {
        if (platform::InitScreen(1024, 768) != platform::noErr) return false;
        namespace fs = std::filesystem;
        std::vector<fs::path> sources;
        for (const auto& entry : fs::directory_iterator(fuzz::SourceFile("resources/app")))
            if (entry.path().extension() == ".r") sources.push_back(entry.path());
        std::sort(sources.begin(), sources.end());
        platform::ResourceFileImage image;
        for (const fs::path& path : sources) {
            std::ifstream in(path, std::ios::binary);
            const std::string text((std::istreambuf_iterator<char>(in)), {});
            std::string error;
            if (!rescompile::CompileSource(text, path.filename().string(), &image, &error)) return false;
        }
        G_MainResFile = platform::OpenResFileImageBelow(image);
        browser::RegisterListDefinitions();
        browser::InstallTriStateBox();
        RegisterAppControlDefinitions();
        return G_MainResFile > 0;
    }();
    return ready;
}

// The record's bytes; none for an empty handle, whose block may be null.
std::vector<uint8_t> BytesOf(platform::Handle h)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(*h);
    return bytes ? std::vector<uint8_t>(bytes, bytes + platform::GetHandleSize(h)) : std::vector<uint8_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || !Ready()) return 0;
    const bool search = (data[0] & 1) != 0, cancel = (data[0] & 2) != 0;
    platform::Handle record = fuzz::HandleOf(data + 1, size - 1, 1u << 12);
    if (!record) return 0;
    const std::vector<uint8_t> before = BytesOf(record);
    platform::ResetEventManager();
    platform::ClearDialogAnswers();
    platform::Script script;
    script.Wait(2).Choose(cancel ? 2 : 1);
    platform::HeadlessOptions options;
    options.onWatchdog = [](const std::string&) {};
    int16_t result = 0;
    {
        platform::HeadlessBackend backend(std::move(script), std::move(options));
        backend.Install();
        uint8_t scope = 0;
        result = browser::GetSearchFilter(record, &scope, search);
    }
    platform::ResetEventManager();
    if (result == 1 && filterrec::FirstTermEnd(record) == 0) std::abort();
    if (result == 0 && BytesOf(record) != before) std::abort();
    platform::DisposeHandle(record);
    return 0;
}
