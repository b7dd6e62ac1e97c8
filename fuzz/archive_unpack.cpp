// The folder archive reader on hostile archives: the bytes become the
// archive file, unpacked into a scratch folder (or only checked). Whatever
// the bytes, nothing may be made outside the destination.
// Input: one mode byte (bit 0: check only), then the archive.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/hostentry/HostEntry.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/ColonPath.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFileFolderUnStream.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VText.h"

namespace {

VText ColonOf(const std::string& posix)
{
    std::string colon;
    platform::PosixPathToColon(posix, &colon);
    VText text;
    FromUtf8(colon, text);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    gCallQz = entreeexterne;
    platform::ClearFileDialogAnswers();  // a missing part is cancelled
    fuzz::FuzzBytes in(data, size);
    const uint8_t mode = in.Byte();
    fuzz::ClearScratchFolder();
    const std::string root = fuzz::ScratchFolder();
    if (!fuzz::WriteFile(root + "/in.zip", in.Rest())) return 0;

    {
        VFileFolderUnStream reader;
        VText input = ColonOf(root + "/in.zip");
        reader.SetInputFile(input);
        if (!(mode & 1)) {
            VText dest = ColonOf(root + "/out/");
            reader.SetDestinationFolder(dest);
        }
        reader.Proceed();
    }
    for (const auto& item : std::filesystem::directory_iterator(root)) {
        const std::string name = item.path().filename().string();
        if (name != "in.zip" && name != "out") std::abort();
    }
    return 0;
}
