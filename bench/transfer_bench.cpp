// The conflict list's rows: 10,000 records (2,000 table records with four
// members chained under each) listed by SetC_List under the filter of all
// conflicts and that of indirect ones, beside the same walk copying the
// same record pointers into a vector with the same filter test. Prints
// both times and their ratio. Reads the choices of the program's own
// resources, as the dialog does.
//
// Then a copy: 1,000 project methods dropped with what they use (Option)
// from a 100,000-object structure into an empty library, headless, beside
// copying the same methods' code and properties with the store's get and
// add calls alone into an empty container and committing it once. Each
// is timed on fresh copies of the files; medians of three.
//
//   transfer_bench [--no-copy]
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/documents/MainDoc.h"
#include "bench/BenchTiming.h"
#include "design/documents/OpenQzB.h"
#include "design/objects/DesignGlobals.h"
#include "design/reading/ReadQzB.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "platform/events/DialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "resources/ResourceApi.h"
#include "tools/docbuilder/DocBuilder.h"
#include "transfer/InstallTransfer.h"
#include "transfer/driver/MoveDropped.h"
#include "design/objects/ObjQz.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictRows.h"

namespace {

constexpr int32_t kTables = 2000;
constexpr int32_t kMembers = 4;

void Walk(C_ListHdl list, int16_t filter, int16_t type, std::vector<TConflict*>* out)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* r = list->At(i);
        if (r->fVisible && transfer::PassesFilter(r, filter, type)) out->push_back(r);
        if (r->IsMember(1)) Walk(static_cast<TRConflict*>(r)->fSubList, filter, type, out);
    }
}

}  // namespace

int RowsBench();
int CopyBench();

int main(int argc, char** argv)
{
    if (const int err = RowsBench()) return err;
    const bool copy = !(argc > 1 && std::string(argv[1]) == "--no-copy");
    return copy ? CopyBench() : 0;
}

int RowsBench()
{
    G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    if (G_MainResFile <= 0) {
        std::fprintf(stderr, "transfer_bench: no application resources\n");
        return 1;
    }
    std::vector<std::unique_ptr<TObjQz>> objects;
    C_ListHdl list = nullptr;
    transfer::NewC_List(&list, transfer::kC_ListRoom);
    for (int32_t t = 0; t < kTables; ++t) {
        objects.push_back(std::make_unique<TObjQz>());
        objects.back()->kind = 1;
        TConflict* table = nullptr;
        transfer::RecordConflict(objects.back().get(), nullptr, 2, 1, list, &table);
        table->fVisible = true;
        for (int32_t m = 0; m < kMembers; ++m) {
            objects.push_back(std::make_unique<TObjQz>());
            objects.back()->kind = 28;
            TConflict* member = nullptr;
            transfer::ChainConflict(table, objects.back().get(), m == 0 ? 104 : 105, &member);
            member->fVisible = true;
        }
    }
    const platform::Rect view{0, 0, 400, 500};
    LongListHandle rows = LongLNew(&view, 0, kObjectRowLength, platform::Point{60, 500}, transfer::kConflictListDef,
                                   nullptr, false, transfer::C_ListLDEFProc);
    std::printf("SetC_List of %d records (%d tables, %d members each)\n", int(kTables * (1 + kMembers)), int(kTables),
                int(kMembers));
    std::printf("%-22s %12s %12s %8s\n", "filter", "SetC_List ms", "vector ms", "ratio");
    for (int16_t filter : {transfer::kAllFilter, transfer::kIndirectFilter}) {
        const double ours = bench::MedianMs(7, [&] { transfer::SetC_List(rows, list, nullptr, filter); });
        const int32_t listed = rows->rowCount;
        std::vector<TConflict*> peer;
        const double theirs = bench::MedianMs(7, [&] {
            peer.clear();
            Walk(list, filter, transfer::FilterType(filter), &peer);
        });
        if (int32_t(peer.size()) != listed) {
            std::fprintf(stderr, "transfer_bench: %d rows against %d\n", int(listed), int(peer.size()));
            return 1;
        }
        std::printf("%-22s %12.2f %12.2f %8.2f\n", filter == transfer::kAllFilter ? "all (1)" : "indirect (3)", ours,
                    theirs, ours / theirs);
    }
    LongLDispose(rows);
    transfer::DisposeC_List(list);
    platform::CloseResFile(G_MainResFile);
    G_MainResFile = -1;
    return 0;
}

namespace {

struct CopyPaths {
    std::string folder, source, dest, destCompanion;
};

bool SetUpApplication(const std::string& folder)
{
    platform::SetMemoryBudget(int64_t(8) << 30);
    UPrefs::Reset();
    InitGlobals();
    ResetPreferences();
    const std::string prefs = folder + "/prefs";
    std::filesystem::create_directories(prefs);
    setenv("QZ_PREFERENCES_DIR", prefs.c_str(), 1);
    G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    std::vector<uint8_t> templates;
    if (G_MainResFile <= 0 ||
        platform::ReadWholeFile(std::string(QZ_SOURCE_DIR) + "/resources/ByteSwap.txt", &templates) != 0 ||
        InitTokensFromText(templates.data(), int32_t(templates.size())) != 0)
        return false;
    ResetDesignGlobals();
    Build_xPRM();
    initresman();
    GromMemHdl = platform::NewHandle(64);
    transfer::InstallTransfer();
    return GromMemHdl != nullptr;
}

bool OpenDoc(TMainDoc* doc, const std::string& path, bool library)
{
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    int16_t other = -1;
    unsigned char password[16] = {0};
    if (NewTypeList(&doc->fTypeList) != 0) return false;
    if (OpenQzB(library ? 0 : 1, fileSpec, &doc->fRsrFile, &doc->fResFile, &other, password) != 0) return false;
    doc->fSpec = fileSpec;
    return ReadQzB(doc, 1, 1) == 0;
}

void CloseDoc(TMainDoc* doc)
{
    CloseQzB(doc->fRsrFile, doc->fResFile, -1, -1);
    DisposeTypeList(doc->fTypeList);
    doc->fTypeList = nullptr;
}

void FreshDest(const CopyPaths& p, const std::vector<uint8_t>& data, const std::vector<uint8_t>& companion)
{
    platform::WriteFileAtomically(p.dest, data.data(), data.size());
    platform::WriteFileAtomically(p.destCompanion, companion.data(), companion.size());
}

}  // namespace

int CopyBench()
{
    constexpr int32_t kObjects = 100000, kMethods = 1000;
    char pattern[] = "/tmp/transfer_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    CopyPaths p{pattern, "", "", ""};
    const docbuilder::BuildResult big = docbuilder::BuildDocument(
        "structure Big seed 7\ngenerate " + std::to_string(kObjects) + "\n", "Big.qzdoc", p.folder);
    const docbuilder::BuildResult shelf = docbuilder::BuildDocument("library Shelf\n", "Shelf.qzdoc", p.folder);
    if (big.error || shelf.error) {
        std::fprintf(stderr, "transfer_bench: %s%s\n", big.message.c_str(), shelf.message.c_str());
        return 1;
    }
    p.source = big.dataPath;
    p.dest = shelf.dataPath;
    p.destCompanion = shelf.companionPath;
    std::vector<uint8_t> destData, destCompanion;
    platform::ReadWholeFile(p.dest, &destData);
    platform::ReadWholeFile(p.destCompanion, &destCompanion);

    platform::HeadlessOptions options;
    options.watchdogTicks = UINT32_MAX / 2;
    platform::HeadlessBackend backend(platform::Script{}, options);
    backend.Install();
    platform::SetClock(nullptr);
    if (!SetUpApplication(p.folder)) {
        std::fprintf(stderr, "transfer_bench: no application\n");
        return 1;
    }
    TMainDoc source;
    if (!OpenDoc(&source, p.source, false)) {
        std::fprintf(stderr, "transfer_bench: cannot read the structure\n");
        return 1;
    }
    std::vector<TObjQz*> rows;
    ObjListHdl methods = GetObjListe(source.fTypeList, 2);
    for (int32_t i = 0; methods && i < methods->Size() && int32_t(rows.size()) < kMethods; ++i) rows.push_back(methods->At(i));
    // What the drop brings along: the methods among it are what the peer copies.
    ObjListHdl gathered = nullptr;
    NewObjList(&gathered, 30);
    for (TObjQz* obj : rows) obj->SelfAddObjList(&gathered, 1);
    std::vector<int16_t> codeIds;
    for (int32_t i = 0; i < gathered->Size(); ++i)
        if (gathered->At(i)->kind == 2 || gathered->At(i)->kind == 16) codeIds.push_back(gathered->At(i)->id);
    const int32_t gatheredCount = gathered->Size();
    FreeObjList(gathered);

    // Each run on fresh files; only the copy itself is timed, open and
    // close left out on both sides.
    int32_t copied = 0;
    std::vector<double> ourTimes, peerTimes;
    for (int run = 0; run < 3; ++run) {
        FreshDest(p, destData, destCompanion);
        TMainDoc dest;
        if (!OpenDoc(&dest, p.dest, true)) break;
        const int32_t before = GetObjListe(dest.fTypeList, 2)->Size();
        platform::PushDialogAnswer(1);
        const auto start = std::chrono::steady_clock::now();
        const int16_t err = transfer::MoveDropped(&source, &dest, rows.data(), int32_t(rows.size()), 1);
        ourTimes.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        platform::ClearDialogAnswers();
        copied = err ? -err : GetObjListe(dest.fTypeList, 2)->Size() - before;
        CloseDoc(&dest);

        FreshDest(p, destData, destCompanion);
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(p.dest, &fileSpec);
        const int16_t store = openres(fileSpec, false);
        const auto peerStart = std::chrono::steady_clock::now();
        for (int16_t id : codeIds)
            for (uint32_t type : {platform::FourCC("CCQz"), platform::FourCC("PrTo")}) {
                useres(source.fResFile);
                platform::Handle h = xget1res(type, id);
                if (!h || platform::HandToHand(&h) != 0) continue;
                useres(store);
                if (!xaddres(h, type, uniqueresid(type))) platform::DisposeHandle(h);
            }
        updateres(store);
        peerTimes.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - peerStart).count());
        closeres(store, false);
    }
    if (ourTimes.size() != 3) {
        std::fprintf(stderr, "transfer_bench: cannot open the library\n");
        return 1;
    }
    std::sort(ourTimes.begin(), ourTimes.end());
    std::sort(peerTimes.begin(), peerTimes.end());
    const double ours = ourTimes[1], theirs = peerTimes[1];
    std::printf("\nCopying %d methods with what they use (%d objects gathered, %d methods copied) from a %d-object "
                "structure into an empty library\n",
                int(kMethods), int(gatheredCount), int(copied), int(kObjects));
    std::printf("%-28s %12s\n", "", "ms");
    std::printf("%-28s %12.1f\n", "drop (DoMove)", ours);
    std::printf("%-28s %12.1f\n", "store get and add alone", theirs);
    std::printf("%-28s %12.2f\n", "ratio", ours / theirs);
    CloseQzB(source.fRsrFile, source.fResFile, -1, -1);
    DisposeTypeList(source.fTypeList);
    std::filesystem::remove_all(p.folder);
    return copied == int32_t(codeIds.size()) ? 0 : 1;
}
