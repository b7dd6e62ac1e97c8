// Preferences as the kernel reads them: a preferences file of any bytes,
// and the same bytes as a resource of the current structure, asked for
// with any type, id and size. A missing, short or damaged resource answers
// its code and leaves the buffer alone. The input: the file as a slice,
// the resource as a slice, then (type, id, size) questions.
#include <cstdint>
#include <vector>

#include "fuzz/support/ScratchStructure.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"
#include "resources/kernelaccess/KernelStoreAccess.h"

using platform::FourCC;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    fuzz::ScratchStructure scratch;
    if (!scratch.Ready()) return 0;
    InstallKernelStoreAccess();
    const fuzz::Bytes file = in.Slice(1 << 16);
    scratch.Add(in.Slice(1 << 14), FourCC("Look"), 2);
    scratch.Use();
    platform::ResetResourceManager();
    UPrefs::Reset();
    const std::string path = fuzz::ScratchFolder() + "/Preferences";
    if (!fuzz::WriteFile(path, file)) return 0;
    UPrefs::fSpec.path = path;
    UPrefs::fInited = true;
    const platform::ResType types[] = {FourCC("Look"), FourCC("PREF"), FourCC("wvar"), FourCC("STR#")};
    std::vector<uint8_t> buffer;
    for (int k = 0; k < 8 && !in.Empty(); ++k) {
        const platform::ResType type = types[in.Byte() % 4];
        const int16_t id = int16_t(in.U16());
        const int32_t wanted = int32_t(in.U16()) - 8;  // a few negative sizes too
        buffer.assign(size_t(wanted > 0 ? wanted : 0) + 1, 0xA5);
        GetPrefData(type, id, buffer.data(), wanted, uint8_t(k & 1));
    }
    UPrefs::Reset();
    platform::ResetResourceManager();
    return 0;
}
