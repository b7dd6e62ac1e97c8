// The uses graph over structures the document builder writes, each step
// beside a peer in the same run; processor time, medians.
//
// First, one process variable used by N project methods (each method names
// it once): the structure opened, read with every object parsed for its
// links (ReadQzB) and closed, beside the same structure whose methods name a
// string literal instead (the same objects and tokens, no link). N is
// 10,000 and 30,000 (method ids are 16-bit), medians of five; then how both
// grow: e = ln(time ratio) / ln(N ratio), 1 is linear.
//
// Then n project methods (each calls the next and names one process
// variable) deleted one at a time, each deletion a command of its own as
// the browser's Clear runs it (the document told, the method out of its
// kind's list, DeleteObj, the command's graph changes settled as it ends):
// first all of them members of one group, then the same deletions in the
// same structure without the group. n is 1,000, 4,000 and 10,000, each on a
// fresh copy of the files, medians of three (one at 10,000).
//
//   graph_bench [--read] [--delete]   (one part alone)
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/BenchApplication.h"
#include "bench/BenchTiming.h"
#include "design/links/XRef.h"
#include "design/objects/ObjQz.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

using bench::CpuMs;

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double Growth(double a, double b, double x) { return std::log(b / a) / std::log(x); }

std::string MethodName(int32_t i) { return "Method_" + std::to_string(100000 + i); }

struct Files {
    std::string data, companion;
    std::vector<uint8_t> dataBytes, companionBytes;
};

bool Build(const std::string& description, const std::string& folder, Files* out)
{
    std::filesystem::create_directories(folder);
    const docbuilder::BuildResult built = docbuilder::BuildDocument(description, "Graph.qzdoc", folder);
    if (built.error) {
        std::fprintf(stderr, "graph_bench: %s\n", built.message.c_str());
        return false;
    }
    out->data = built.dataPath;
    out->companion = built.companionPath;
    return platform::ReadWholeFile(out->data, &out->dataBytes) == 0 &&
           platform::ReadWholeFile(out->companion, &out->companionBytes) == 0;
}

void Fresh(const Files& f)
{
    platform::WriteFileAtomically(f.data, f.dataBytes.data(), f.dataBytes.size());
    platform::WriteFileAtomically(f.companion, f.companionBytes.data(), f.companionBytes.size());
}

bool Open(TMainDoc* doc, const std::string& path, double* readMs = nullptr)
{
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    int16_t other = -1;
    unsigned char password[16] = {0};
    if (NewTypeList(&doc->fTypeList) != 0) return false;
    if (OpenQzB(1, fileSpec, &doc->fRsrFile, &doc->fResFile, &other, password) != 0) return false;
    doc->fSpec = fileSpec;
    const double start = CpuMs();
    const int16_t err = ReadQzB(doc, 1, 1);
    if (readMs) *readMs = CpuMs() - start;
    return err == 0;
}

void Close(TMainDoc* doc)
{
    CloseQzB(doc->fRsrFile, doc->fResFile, -1, -1);
    DisposeTypeList(doc->fTypeList);
    doc->fTypeList = nullptr;
}

// N methods naming one variable (`shared`) or a literal each.
std::string HubStructure(int32_t n, bool shared)
{
    std::string d = "structure Graph seed 7\ntable Stock\n  field Item longint\n";
    for (int32_t i = 1; i <= n; ++i)
        d += "method " + MethodName(i) + " id " + std::to_string(100 + i) + (shared ? "\n  var vShared\n" : "\n  \"vShared\"\n");
    return d;
}

int ReadBench(const std::string& base)
{
    const int32_t counts[] = {10000, 30000};
    double hub[2] = {}, plain[2] = {};
    for (int c = 0; c < 2; ++c) {
        Files withVar, withText;
        const std::string folder = base + "/hub" + std::to_string(counts[c]);
        if (!Build(HubStructure(counts[c], true), folder + "/var", &withVar) ||
            !Build(HubStructure(counts[c], false), folder + "/text", &withText))
            return 1;
        std::vector<double> a, b;
        for (int run = 0; run < 5; ++run)
            for (int side = 0; side < 2; ++side) {
                TMainDoc doc;
                double ms = 0;
                if (!Open(&doc, side == 0 ? withVar.data : withText.data, &ms)) {
                    std::fprintf(stderr, "graph_bench: cannot read the structure of %d methods\n", int(counts[c]));
                    return 1;
                }
                (side == 0 ? a : b).push_back(ms);
                Close(&doc);
            }
        hub[c] = Median(a);
        plain[c] = Median(b);
    }
    std::printf("Reading N project methods that all name one process variable, beside the same methods naming a "
                "literal (processor time, medians of 5)\n");
    std::printf("%8s %14s %14s %8s\n", "N", "one var ms", "literals ms", "ratio");
    for (int c = 0; c < 2; ++c)
        std::printf("%8d %14.1f %14.1f %8.2f\n", int(counts[c]), hub[c], plain[c], hub[c] / plain[c]);
    const double x = double(counts[1]) / double(counts[0]);
    std::printf("growth (N x%.0f): one var e = %.2f, literals e = %.2f; 1 is linear\n\n", x, Growth(hub[0], hub[1], x),
                Growth(plain[0], plain[1], x));
    return 0;
}

// n methods, each calling the next and naming vShared; in one group when
// `grouped`.
std::string ChainStructure(int32_t n, bool grouped)
{
    std::string d = "structure Graph seed 7\ntable Stock\n  field Item longint\n";
    for (int32_t i = 1; i <= n; ++i) {
        d += "method " + MethodName(i) + " id " + std::to_string(100 + i) + "\n  var vShared\n";
        if (i < n) d += "  call " + MethodName(i + 1) + "\n";
    }
    if (grouped) {
        d += "group Members\n";
        for (int32_t i = 1; i <= n; ++i) d += "  method " + MethodName(i) + "\n";
    }
    return d;
}

// Every project method deleted, one command each; the time of the
// deletions alone, or -1.
double DeleteEach(const Files& f, int32_t n)
{
    Fresh(f);
    TMainDoc doc;
    if (!Open(&doc, f.data)) return -1;
    std::vector<TObjQz*> methods;
    ObjListHdl list = GetObjListe(doc.fTypeList, 2);
    for (int32_t i = 0; list && i < list->Size(); ++i) methods.push_back(list->At(i));
    const double start = CpuMs();
    for (TObjQz* obj : methods) {
        LinkChanges command;
        doc.DelObjMsg(obj);
        obj->ListRemove();
        obj->DeleteObj(true);
    }
    const double ms = CpuMs() - start;
    list = GetObjListe(doc.fTypeList, 2);
    const bool all = int32_t(methods.size()) == n && (!list || list->Size() == 0);
    Close(&doc);
    return all ? ms : -1;
}

int DeleteBench(const std::string& base)
{
    const int32_t counts[] = {1000, 4000, 10000};
    double grouped[3] = {}, loose[3] = {};
    for (int c = 0; c < 3; ++c) {
        Files inGroup, outside;
        const std::string folder = base + "/chain" + std::to_string(counts[c]);
        if (!Build(ChainStructure(counts[c], true), folder + "/group", &inGroup) ||
            !Build(ChainStructure(counts[c], false), folder + "/loose", &outside))
            return 1;
        std::vector<double> a, b;
        for (int run = 0; run < (counts[c] >= 10000 ? 1 : 3); ++run) {
            a.push_back(DeleteEach(inGroup, counts[c]));
            b.push_back(DeleteEach(outside, counts[c]));
        }
        grouped[c] = Median(a);
        loose[c] = Median(b);
        if (grouped[c] < 0 || loose[c] < 0) {
            std::fprintf(stderr, "graph_bench: the deletions of %d methods failed\n", int(counts[c]));
            return 1;
        }
    }
    std::printf("Deleting n project methods one command at a time, members of one group, beside the same deletions "
                "outside any group (processor time, medians of 3, one at 10,000)\n");
    std::printf("%8s %14s %14s %8s\n", "n", "in a group ms", "outside ms", "ratio");
    for (int c = 0; c < 3; ++c)
        std::printf("%8d %14.1f %14.1f %8.2f\n", int(counts[c]), grouped[c], loose[c], grouped[c] / loose[c]);
    const double x = double(counts[2]) / double(counts[1]);
    std::printf("growth (n x%.1f): in a group e = %.2f, outside e = %.2f\n\n", x, Growth(grouped[1], grouped[2], x),
                Growth(loose[1], loose[2], x));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bool read = argc == 1, remove = argc == 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--read") == 0) read = true;
        if (std::strcmp(argv[i], "--delete") == 0) remove = true;
    }
    char pattern[] = "/tmp/graph_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    const std::string base = pattern;
    platform::HeadlessOptions options;
    options.watchdogTicks = UINT32_MAX / 2;
    platform::HeadlessBackend backend(platform::Script{}, options);
    backend.Install();
    platform::SetClock(nullptr);
    int result = SetUpBenchApplication(base, QZ_APP_RESOURCES, QZ_SOURCE_DIR) ? 0 : 1;
    if (result == 0 && read) result = ReadBench(base);
    if (result == 0 && remove) result = DeleteBench(base);
    std::filesystem::remove_all(base);
    return result;
}
