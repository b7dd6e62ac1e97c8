// Method text over the builder's structure of 100,000 generated objects
// (or the count given): every project method's tokens rendered into text
// and style runs (the styled buffer the preview is made from), and into a
// styled text record as the preview pane shows it. Beside them, the same
// token walk without making text: each method's lines loaded and every
// token read with x_gettoken. Prints the times (medians of 3), the
// methods, lines and bytes, and the ratios.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "bench/BenchApplication.h"
#include "bench/BenchTiming.h"
#include "design/documents/DocResources.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "design/text/MethodText.h"
#include "design/text/MethodTextSupport.h"
#include "forms/calc/CalcBlob.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/prefs/UPrefs.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "platform/textedit/TextEdit.h"
#include "resources/ResourceApi.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

struct Counts {
    int64_t lines = 0, tokens = 0, bytes = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const int32_t count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string folder =
        std::filesystem::temp_directory_path().string() + "/method_bench." + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    const std::string name = "Methods" + std::to_string(count);
    const docbuilder::BuildResult built = docbuilder::BuildDocument(
        "structure " + name + " seed 7\ngenerate " + std::to_string(count) + "\n", name + ".qzdoc", folder);
    if (built.error) {
        std::printf("build failed: %s\n", built.message.c_str());
        return 1;
    }
    platform::HeadlessOptions options;
    options.watchdogTicks = UINT32_MAX / 2;
    platform::HeadlessBackend backend(platform::Script{}, options);
    backend.Install();
    // Time as a person has it: the read's wait dialog shows after a second
    // of the real clock, not after a second of polls, and nobody is there
    // to answer it.
    platform::SetClock(nullptr);
    if (!SetUpBenchApplication(folder, QZ_APP_RESOURCES, QZ_SOURCE_DIR)) return 1;
    TMainDoc doc;
    int16_t other = -1;
    if (!OpenBuiltStructure(built.dataPath, &doc, &other)) {
        std::printf("the structure did not read\n");
        return 1;
    }
    std::vector<TGnlProcObjQz*> methods;
    ObjListHdl list = GetObjListe(doc.fTypeList, 2);
    for (int32_t i = 0; list && i < list->Size(); ++i) methods.push_back(static_cast<TGnlProcObjQz*>(list->At(i)));
    ParseResFile store(&doc);
    CompanionCurrent companion(&doc);

    Counts walked, rendered;
    int16_t failed = 0;
    const double walk = bench::MedianMs(3, [&] {
        walked = Counts{};
        for (TGnlProcObjQz* m : methods) {
            int16_t lineCount = 0, err = 0;
            platform::Handle lines = x_getcalc(m->id, &lineCount, nullptr, &err);
            if (err && !failed) failed = err;
            for (int32_t i = 0; lines && i < lineCount; ++i) {
                platform::Handle line = CalcRecordAt(lines, i);
                int16_t at = 0;
                for (;;) {
                    champoper token;
                    x_gettoken(line, &token, &at);
                    if (token.Kind() == kEndOfLineKind) break;
                    ++walked.tokens;
                }
                ++walked.lines;
            }
            x_effcalc(&lines, &lineCount);
        }
    });
    const double render = bench::MedianMs(3, [&] {
        rendered = Counts{};
        for (TGnlProcObjQz* m : methods)
            WalkProcText(m->table, m->id, m, [&](const ProcTextLine& line) {
                ++rendered.lines;
                rendered.tokens += int64_t(line.pieces.size());
                for (const auto& p : line.pieces) rendered.bytes += int64_t(p.text.size());
                return true;
            });
    });
    const platform::Rect r{0, 0, 2047, 2047};
    const double preview = bench::MedianMs(3, [&] {
        for (TGnlProcObjQz* m : methods) {
            platform::TEHandle te = platform::TEStyleNew(&r, &r);
            DoTextProc(m->table, m->id, m, true, te, MyApplFont, 0);
            platform::TEDispose(te);
        }
    });

    if (failed || walked.lines == 0 || walked.lines != rendered.lines) {
        std::fprintf(stderr, "method_bench: the methods were not read whole (error %d; %" PRId64 " lines walked, %" PRId64
                     " rendered)\n", int(failed), walked.lines, rendered.lines);
        return 1;
    }
    std::printf("method_bench: %zu project methods of a structure of %" PRId32 " objects, %" PRId64 " lines, %" PRId64
                " tokens, %" PRId64 " bytes of text\n",
                methods.size(), count, walked.lines, walked.tokens, rendered.bytes);
    std::printf("  token walk (x_gettoken, no text)     %10.1f ms\n", walk);
    std::printf("  rendered into text and style runs    %10.1f ms   ratio %.2f\n", render, render / walk);
    std::printf("  rendered into styled text records    %10.1f ms   ratio %.2f\n", preview, preview / walk);
    CloseQzB(doc.fRsrFile, doc.fResFile, other, doc.fDataFile);
    DisposeTypeList(doc.fTypeList);
    std::filesystem::remove_all(folder);
    return walked.lines == rendered.lines ? 0 : 1;
}
