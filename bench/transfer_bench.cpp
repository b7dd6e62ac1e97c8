// The conflict list's rows: 10,000 records (2,000 table records with four
// members chained under each) listed by SetC_List under the filter of all
// conflicts and that of indirect ones, beside the same walk copying the
// same record pointers into a vector with the same filter test. Prints
// both times and their ratio. Reads the choices of the program's own
// resources, as the dialog does.
//
// Then a copy: 1,000 and 10,000 project methods dropped with what they
// use (Option) from a 100,000-object structure into an empty library,
// headless, beside copying the same methods' code and properties with the
// store's get and add calls alone into an empty container and committing
// it once. Each is timed on fresh copies of the files (processor time);
// medians of seven, and how both grow with the objects gathered.
//
// Then 100 tables of 50 fields with their forms copied from the same
// 100,000-object structure into a structure of one table, as one transfer
// (MoveQzFile and MoveLayOut in a session), beside copying the same
// tables' definitions, form tables and form images with the store's get
// and add calls alone and committing once; medians of three.
//
// Then a component of 1,000 methods (100 public, 200 protected, 700
// private, renamed when generated) generated into a library and the
// library installed into a structure of one table, each through its
// command with the dialogs answered, beside dropping the same 1,000
// methods into that structure (DoMove without the component steps);
// medians of three, each on fresh files.
//
// Then an installed component of 1,000 and of 10,000 methods (a tenth
// public, a fifth protected, the rest private; each calls the next and
// all name one process variable, so that the variable is used by every
// one of them), with a group outside it whose method calls the first
// ones, uninstalled through the command's work up to its commit, beside
// removing the same objects' links and list entries from standard
// containers (hash sets of each object's uses and users, the kind's
// list, the folders' members). Processor time, medians of three, each on
// fresh files, and how both grow.
//
//   transfer_bench [--no-copy]
//   transfer_bench --drop       (the method drops alone)
//   transfer_bench --uninstall  (the uninstall alone)
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/program/DocumentHooks.h"
#include "app/documents/MainDoc.h"
#include "bench/BenchTiming.h"
#include "design/documents/OpenQzB.h"
#include "design/objects/DesignGlobals.h"
#include "design/reading/ReadQzB.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "resources/ResourceApi.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
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
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/FormMovers.h"
#include "transfer/movers/TableMovers.h"
#include "transfer/components/Generate.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/components/Install.h"
#include "design/objects/ObjKinds.h"

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
int TableCopyBench();
int ComponentBench();
int UninstallBench();

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--drop") return CopyBench();
    if (argc > 1 && std::string(argv[1]) == "--uninstall") return UninstallBench();
    if (const int err = RowsBench()) return err;
    const bool copy = !(argc > 1 && std::string(argv[1]) == "--no-copy");
    if (!copy) return 0;
    if (const int err = CopyBench()) return err;
    if (const int err = TableCopyBench()) return err;
    if (const int err = ComponentBench()) return err;
    return UninstallBench();
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

// The built source and destination become the run's paths, the
// destination's bytes kept for fresh copies; false (said) when either was
// not built.
bool TakeBuilt(const docbuilder::BuildResult& source, const docbuilder::BuildResult& dest, CopyPaths* p,
               std::vector<uint8_t>* destData, std::vector<uint8_t>* destCompanion)
{
    if (source.error || dest.error) {
        std::fprintf(stderr, "transfer_bench: %s%s\n", source.message.c_str(), dest.message.c_str());
        return false;
    }
    p->source = source.dataPath;
    p->dest = dest.dataPath;
    p->destCompanion = dest.companionPath;
    platform::ReadWholeFile(p->dest, destData);
    platform::ReadWholeFile(p->destCompanion, destCompanion);
    return true;
}

using ResourceList = std::vector<std::pair<uint32_t, int16_t>>;

double WallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Processor time of this thread in milliseconds: on a machine shared with
// other work, waiting for a processor is not the code's own time.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}


// The peer: these resources of the source's store added to the fresh
// destination's store under new ids with the store's calls alone, then
// committed once. Its time in ms by `clock`.
double PeerCopy(const CopyPaths& p, int16_t sourceStore, const ResourceList& resources, double (*clock)() = WallMs)
{
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(p.dest, &fileSpec);
    const int16_t store = openres(fileSpec, false);
    const double start = clock();
    for (const auto& [type, id] : resources) {
        useres(sourceStore);
        platform::Handle h = xget1res(type, id);
        if (!h || platform::HandToHand(&h) != 0) continue;
        useres(store);
        if (!xaddres(h, type, uniqueresid(type))) platform::DisposeHandle(h);
    }
    updateres(store);
    const double ms = clock() - start;
    closeres(store, false);
    return ms;
}

// The medians of both sides' times and their ratio.
void PrintFigures(const char* ourLabel, std::vector<double> ourTimes, std::vector<double> peerTimes)
{
    std::sort(ourTimes.begin(), ourTimes.end());
    std::sort(peerTimes.begin(), peerTimes.end());
    const double ours = ourTimes[ourTimes.size() / 2], theirs = peerTimes[peerTimes.size() / 2];
    std::printf("%-28s %12s\n", "", "ms");
    std::printf("%-28s %12.1f\n", ourLabel, ours);
    std::printf("%-28s %12.1f\n", "store get and add alone", theirs);
    std::printf("%-28s %12.2f\n", "ratio", ours / theirs);
}

}  // namespace

namespace {

struct DropFigures {
    double ours = 0, peer = 0;
    int32_t gathered = 0, copied = 0, code = 0;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// The first `count` methods of the source dropped with what they use into
// fresh copies of the library, each run beside the peer copying the
// gathered methods' code and properties; only the copy itself is timed
// (processor time), open and close left out on both sides. Medians of
// seven.
DropFigures MeasureDrop(TMainDoc* source, const CopyPaths& p, const std::vector<uint8_t>& destData,
                        const std::vector<uint8_t>& destCompanion, int32_t count)
{
    DropFigures f;
    std::vector<TObjQz*> rows;
    ObjListHdl methods = GetObjListe(source->fTypeList, 2);
    for (int32_t i = 0; methods && i < methods->Size() && int32_t(rows.size()) < count; ++i) rows.push_back(methods->At(i));
    // What the drop brings along: the methods among it are what the peer copies.
    ObjListHdl gathered = nullptr;
    NewObjList(&gathered, 30);
    for (TObjQz* obj : rows) obj->SelfAddObjList(&gathered, 1);
    ResourceList resources;
    for (int32_t i = 0; i < gathered->Size(); ++i)
        if (gathered->At(i)->kind == 2 || gathered->At(i)->kind == 16) {
            ++f.code;
            for (uint32_t type : {platform::FourCC("CCQz"), platform::FourCC("PrTo")})
                resources.push_back({type, gathered->At(i)->id});
        }
    f.gathered = gathered->Size();
    FreeObjList(gathered);

    std::vector<double> ourTimes, peerTimes;
    for (int run = 0; run < 7; ++run) {
        FreshDest(p, destData, destCompanion);
        TMainDoc dest;
        if (!OpenDoc(&dest, p.dest, true)) {
            f.copied = -1;
            return f;
        }
        const int32_t before = GetObjListe(dest.fTypeList, 2)->Size();
        platform::PushDialogAnswer(1);
        const double start = CpuMs();
        const int16_t err = transfer::MoveDropped(source, &dest, rows.data(), int32_t(rows.size()), 1);
        ourTimes.push_back(CpuMs() - start);
        platform::ClearDialogAnswers();
        f.copied = err ? -err : GetObjListe(dest.fTypeList, 2)->Size() - before;
        CloseDoc(&dest);

        FreshDest(p, destData, destCompanion);
        peerTimes.push_back(PeerCopy(p, source->fResFile, resources, CpuMs));
    }
    f.ours = Median(ourTimes);
    f.peer = Median(peerTimes);
    return f;
}

}  // namespace

int CopyBench()
{
    constexpr int32_t kObjects = 100000;
    const int32_t counts[2] = {1000, 10000};
    char pattern[] = "/tmp/transfer_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    CopyPaths p{pattern, "", "", ""};
    const docbuilder::BuildResult big = docbuilder::BuildDocument(
        "structure Big seed 7\ngenerate " + std::to_string(kObjects) + "\n", "Big.qzdoc", p.folder);
    const docbuilder::BuildResult shelf = docbuilder::BuildDocument("library Shelf\n", "Shelf.qzdoc", p.folder);
    std::vector<uint8_t> destData, destCompanion;
    if (!TakeBuilt(big, shelf, &p, &destData, &destCompanion)) return 1;

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
    DropFigures f[2];
    for (int i = 0; i < 2; ++i) f[i] = MeasureDrop(&source, p, destData, destCompanion, counts[i]);
    CloseQzB(source.fRsrFile, source.fResFile, -1, -1);
    DisposeTypeList(source.fTypeList);
    std::filesystem::remove_all(p.folder);
    if (f[0].copied < 0 || f[1].copied < 0) {
        std::fprintf(stderr, "transfer_bench: cannot open the library\n");
        return 1;
    }
    for (const DropFigures& d : f)
        if (d.copied != d.code) {
            std::fprintf(stderr, "transfer_bench: the drop copied %d methods, not %d\n", int(d.copied), int(d.code));
            return 1;
        }
    std::printf("\nCopying methods with what they use from a %d-object structure into an empty library, beside the "
                "store's get and add of their code and properties and one commit (processor time, medians of 7)\n",
                int(kObjects));
    std::printf("%8s %9s %9s %12s %12s %8s\n", "methods", "gathered", "copied", "drop ms", "store ms", "ratio");
    for (int i = 0; i < 2; ++i)
        std::printf("%8d %9d %9d %12.1f %12.1f %8.2f\n", int(counts[i]), int(f[i].gathered), int(f[i].copied), f[i].ours,
                    f[i].peer, f[i].ours / f[i].peer);
    const double x = double(f[1].gathered) / double(f[0].gathered);
    auto e = [&](double a, double b) { return std::log(b / a) / std::log(x); };
    std::printf("growth (objects gathered x%.1f): drop e = %.2f, store e = %.2f; 1 is linear\n", x,
                e(f[0].ours, f[1].ours), e(f[0].peer, f[1].peer));
    return f[0].copied == f[0].code && f[1].copied == f[1].code ? 0 : 1;
}

int TableCopyBench()
{
    constexpr int32_t kObjects = 100000, kCopied = 100, kFields = 50;
    char pattern[] = "/tmp/transfer_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    CopyPaths p{pattern, "", "", ""};
    std::string description = "structure Big seed 7\n";
    for (int32_t t = 1; t <= kCopied; ++t) {
        description += "table BT" + std::to_string(t) + "\n";
        for (int32_t f = 1; f <= kFields; ++f) description += "  field F" + std::to_string(f) + " longint\n";
        description += "  form Entry iff\n    field F1\n    field F2\n  form Card iff\n    field F3\n";
    }
    description += "generate " + std::to_string(kObjects) + "\n";
    const docbuilder::BuildResult big = docbuilder::BuildDocument(description, "Big.qzdoc", p.folder);
    const docbuilder::BuildResult depot =
        docbuilder::BuildDocument("structure Depot\ntable Keep\n  field F longint\n", "Depot.qzdoc", p.folder);
    std::vector<uint8_t> destData, destCompanion;
    if (!TakeBuilt(big, depot, &p, &destData, &destCompanion)) return 1;
    TMainDoc source;
    if (!OpenDoc(&source, p.source, false)) {
        std::fprintf(stderr, "transfer_bench: cannot read the structure\n");
        return 1;
    }
    std::vector<TFileObjQz*> tables;
    ObjListHdl list = GetObjListe(source.fTypeList, 1);
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        auto* t = dynamic_cast<TFileObjQz*>(list->At(i));
        if (t && t->kind == 1 && t->name[0] > 2 && t->name[1] == 'B' && t->name[2] == 'T') tables.push_back(t);
    }
    // What the peer copies: each table's definition and form table, each form's image.
    ResourceList resources;
    int32_t forms = 0;
    for (TFileObjQz* t : tables) {
        useres(source.fResFile);
        resources.push_back({platform::FourCC("FIQz"), t->id});
        if (platform::Handle def = xget1res(platform::FourCC("FIQz"), t->id); def && platform::GetHandleSize(def) >= 6)
            resources.push_back({platform::FourCC("TFQz"), platform::ReadBES16(reinterpret_cast<const uint8_t*>(*def) + 4)});
        for (int32_t i = 0; t->forms && i < t->forms->Size(); ++i, ++forms)
            if (auto* form = dynamic_cast<TLayoutObjQz*>(t->forms->At(i)))
                resources.push_back({platform::FourCC("FOQz"), form->formResId});
    }
    int32_t copied = 0;
    std::vector<double> ourTimes, peerTimes;
    for (int run = 0; run < 3; ++run) {
        FreshDest(p, destData, destCompanion);
        TMainDoc dest;
        if (!OpenDoc(&dest, p.dest, false)) break;
        const auto start = std::chrono::steady_clock::now();
        int16_t err = 0;
        {
            transfer::TransferSession session;
            err = session.Begin(&dest);
            for (TFileObjQz* t : tables) {
                TObjQz* made = nullptr;
                if (err == 0) err = transfer::MoveQzFile(&source, &dest, t, &made, nullptr);
                for (int32_t i = 0; err == 0 && t->forms && i < t->forms->Size(); ++i) {
                    TObjQz* form = nullptr;
                    err = transfer::MoveLayOut(&source, &dest, t->forms->At(i), made, &form, nullptr);
                }
            }
            if (err == 0) err = session.Commit();
            else session.RollBack();
        }
        ourTimes.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        copied = err ? -err : GetObjListe(dest.fTypeList, 1)->Size();
        CloseDoc(&dest);

        FreshDest(p, destData, destCompanion);
        peerTimes.push_back(PeerCopy(p, source.fResFile, resources));
    }
    if (ourTimes.size() != 3) {
        std::fprintf(stderr, "transfer_bench: cannot open the destination\n");
        return 1;
    }
    if (copied <= 0 || tables.size() != size_t(kCopied)) {
        std::fprintf(stderr, "transfer_bench: the tables' copy failed (%d; %zu tables)\n", int(copied), tables.size());
        return 1;
    }
    std::printf("\nCopying %d tables of %d fields with their %d forms from a %d-object structure (%d entries listed "
                "after)\n",
                int(tables.size()), int(kFields), int(forms), int(kObjects), int(copied));
    PrintFigures("tables and forms (session)", ourTimes, peerTimes);
    CloseQzB(source.fRsrFile, source.fResFile, -1, -1);
    DisposeTypeList(source.fTypeList);
    std::filesystem::remove_all(p.folder);
    return copied > 0 && tables.size() == size_t(kCopied) ? 0 : 1;
}

int ComponentBench()
{
    constexpr int32_t kMembers = 1000, kPublic = 100, kProtected = 200;
    char pattern[] = "/tmp/transfer_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    CopyPaths p{pattern, "", "", ""};
    // Each method calls the next, so that the private ones are used.
    std::string description = "structure Parts seed 7\ntable Stock\n  field Item longint\n";
    auto name = [](int32_t i) { return "Part_" + std::to_string(10000 + i); };
    for (int32_t i = 1; i <= kMembers; ++i) {
        description += "method " + name(i) + " id " + std::to_string(100 + i) + "\n  comment \"part " + std::to_string(i) + "\"\n";
        if (i < kMembers) description += "  call " + name(i + 1) + "\n";
    }
    description += "component Kit id 20 number 1 prefix \"kt\" comments \"Kit\" rename\n";
    for (int32_t i = 1; i <= kMembers; ++i) {
        if (i == 1) description += "  public\n";
        if (i == kPublic + 1) description += "  protected\n";
        if (i == kPublic + kProtected + 1) description += "  private\n";
        description += "    method " + name(i) + "\n";
    }
    const docbuilder::BuildResult parts = docbuilder::BuildDocument(description, "Parts.qzdoc", p.folder);
    const docbuilder::BuildResult depot =
        docbuilder::BuildDocument("structure Depot\ntable Keep\n  field F longint\n", "Depot.qzdoc", p.folder);
    std::vector<uint8_t> destData, destCompanion;
    if (!TakeBuilt(parts, depot, &p, &destData, &destCompanion)) return 1;
    platform::HeadlessOptions options;
    options.watchdogTicks = UINT32_MAX / 2;
    platform::HeadlessBackend backend(platform::Script{}, options);
    backend.Install();
    platform::SetClock(nullptr);
    InstallDocumentHooks();
    InstallKernelStoreAccess();
    transfer::InstallModuleManager();
    MyAppl = new TAppl;
    OpenPrefResFile();
    G_ModuleUpdate = 4;
    TMainDoc source;
    if (!OpenDoc(&source, p.source, false)) {
        std::fprintf(stderr, "transfer_bench: cannot read the component's structure\n");
        return 1;
    }
    TModuleObjQz* kit = nullptr;
    ObjListHdl components = GetObjListe(source.fTypeList, 32);
    for (int32_t i = 0; components && i < components->Size(); ++i)
        if (components->At(i)->kind == 32) kit = static_cast<TModuleObjQz*>(components->At(i));
    std::vector<TObjQz*> members;
    ObjListHdl methods = GetObjListe(source.fTypeList, 2);
    for (int32_t i = 0; methods && i < methods->Size(); ++i)
        if (methods->At(i)->kind == 2) members.push_back(methods->At(i));
    if (!kit || int32_t(members.size()) != kMembers) {
        std::fprintf(stderr, "transfer_bench: no component of %d members\n", int(kMembers));
        return 1;
    }
    const std::string library = p.folder + "/Kit-1.QCP";
    auto since = [](std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    std::vector<double> generateTimes, installTimes, peerTimes;
    int32_t installed = 0, dropped = 0;
    for (int run = 0; run < 3; ++run) {
        std::filesystem::remove(library);
        platform::PushFileDialogAnswer(library);
        platform::PushDialogAnswer(1);  // the note of the first generation
        auto start = std::chrono::steady_clock::now();
        int16_t err = transfer::GenerateComponent(&source, kit);
        generateTimes.push_back(since(start));
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        if (err != 0) {
            std::fprintf(stderr, "transfer_bench: generating gave %d\n", int(err));
            return 1;
        }

        FreshDest(p, destData, destCompanion);
        TMainDoc dest;
        if (!OpenDoc(&dest, p.dest, false)) break;
        platform::PushFileDialogAnswer(library);
        platform::PushDialogAnswer(1);  // the structure brought to the current format
        const int32_t before = GetObjListe(dest.fTypeList, 2)->Size();
        start = std::chrono::steady_clock::now();
        err = transfer::M_Install(&dest);
        installTimes.push_back(since(start));
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        installed = err ? -err : GetObjListe(dest.fTypeList, 2)->Size() - before;
        CloseDoc(&dest);

        FreshDest(p, destData, destCompanion);
        TMainDoc peer;
        if (!OpenDoc(&peer, p.dest, false)) break;
        platform::PushDialogAnswer(1);
        start = std::chrono::steady_clock::now();
        err = transfer::MoveDropped(&source, &peer, members.data(), int32_t(members.size()), 1);
        peerTimes.push_back(since(start));
        platform::ClearDialogAnswers();
        dropped = err ? -err : GetObjListe(peer.fTypeList, 2)->Size() - before;
        CloseDoc(&peer);
    }
    if (peerTimes.size() != 3) {
        std::fprintf(stderr, "transfer_bench: cannot open the destination\n");
        return 1;
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    if (installed != kMembers || dropped != kMembers) {
        std::fprintf(stderr, "transfer_bench: %d methods installed and %d dropped, not %d\n", int(installed),
                     int(dropped), int(kMembers));
        return 1;
    }
    const double generate = median(generateTimes), install = median(installTimes), drop = median(peerTimes);
    std::printf("\nA component of %d methods generated, then installed into a structure of one table (%d methods "
                "installed), beside dropping the same methods there (%d copied)\n",
                int(kMembers), int(installed), int(dropped));
    std::printf("%-28s %12s %8s\n", "", "ms", "ratio");
    std::printf("%-28s %12.1f %8.2f\n", "generate (M_Generate)", generate, generate / drop);
    std::printf("%-28s %12.1f %8.2f\n", "install (M_Install)", install, install / drop);
    std::printf("%-28s %12.1f\n", "drop (DoMove alone)", drop);
    CloseQzB(source.fRsrFile, source.fResFile, -1, -1);
    DisposeTypeList(source.fTypeList);
    std::filesystem::remove_all(p.folder);
    return installed == kMembers && dropped == kMembers ? 0 : 1;
}

namespace {

// The objects of a document a walk from its lists reaches, with their
// links and memberships as standard containers: the peer's copy of what
// an uninstall takes apart.
struct PeerGraph {
    std::unordered_map<const TObjQz*, std::unordered_set<const TObjQz*>> uses, usedBy, members;
    std::unordered_set<const TObjQz*> listed;
};

PeerGraph PeerOf(TMainDoc* doc)
{
    PeerGraph g;
    for (ObjListHdl list : doc->fTypeList->lists)
        for (int32_t i = 0; list && i < list->Size(); ++i) {
            TObjQz* obj = list->At(i);
            g.listed.insert(obj);
            for (int32_t u = 0; obj->uses && u < obj->uses->Size(); ++u) g.uses[obj].insert(obj->uses->At(u));
            for (int32_t u = 0; obj->usedBy && u < obj->usedBy->Size(); ++u) g.usedBy[obj].insert(obj->usedBy->At(u));
            for (int32_t u = 0; obj->members && u < obj->members->Size(); ++u) g.members[obj].insert(obj->members->At(u));
        }
    return g;
}

// The peer's uninstall: each object's links gone from both ends, the
// object out of its folder's members and of the listed objects.
void PeerRemove(PeerGraph* g, const std::vector<const TObjQz*>& gone)
{
    for (const TObjQz* obj : gone) {
        for (const TObjQz* used : g->uses[obj]) g->usedBy[used].erase(obj);
        for (const TObjQz* user : g->usedBy[obj]) g->uses[user].erase(obj);
        g->uses.erase(obj);
        g->usedBy.erase(obj);
        g->listed.erase(obj);
        for (auto& [group, held] : g->members) held.erase(obj);
    }
}

}  // namespace

int UninstallBench()
{
    const int32_t counts[2] = {1000, 10000};
    char pattern[] = "/tmp/transfer_bench_XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    platform::HeadlessOptions options;
    options.watchdogTicks = UINT32_MAX / 2;
    platform::HeadlessBackend backend(platform::Script{}, options);
    backend.Install();
    platform::SetClock(nullptr);
    if (!SetUpApplication(pattern)) {
        std::fprintf(stderr, "transfer_bench: no application\n");
        return 1;
    }
    InstallDocumentHooks();
    InstallKernelStoreAccess();
    transfer::InstallModuleManager();
    G_ModuleUpdate = 4;
    double ours[2] = {}, peer[2] = {};
    int32_t removed[2] = {};
    for (int c = 0; c < 2; ++c) {
        const int32_t n = counts[c];
        auto name = [](int32_t i) { return "Part_" + std::to_string(100000 + i); };
        std::string description = "structure Parts seed 7\ntable Stock\n  field Item longint\n";
        for (int32_t i = 1; i <= n; ++i) {
            description += "method " + name(i) + " id " + std::to_string(100 + i) + "\n  var vShared\n";
            if (i < n) description += "  call " + name(i + 1) + "\n";
        }
        description += "method Outside id 30000\n";
        for (int32_t i = 1; i <= 10; ++i) description += "  call " + name(i) + "\n";
        description += "group Users\n  method Outside\n";
        description += "component Kit id 20 number 1 installed\n";
        for (int32_t i = 1; i <= n; ++i) {
            if (i == 1) description += "  public\n";
            if (i == n / 10 + 1) description += "  protected\n";
            if (i == n / 10 + n / 5 + 1) description += "  private\n";
            description += "    method " + name(i) + "\n";
        }
        const std::string folder = std::string(pattern) + "/" + std::to_string(n);
        std::filesystem::create_directories(folder);
        const docbuilder::BuildResult built = docbuilder::BuildDocument(description, "Parts.qzdoc", folder);
        if (built.error) {
            std::fprintf(stderr, "transfer_bench: %s\n", built.message.c_str());
            return 1;
        }
        std::vector<uint8_t> data, companion;
        platform::ReadWholeFile(built.dataPath, &data);
        platform::ReadWholeFile(built.companionPath, &companion);
        std::vector<double> ourTimes, peerTimes;
        for (int run = 0; run < 3; ++run) {
            platform::WriteFileAtomically(built.dataPath, data.data(), data.size());
            platform::WriteFileAtomically(built.companionPath, companion.data(), companion.size());
            TMainDoc doc;
            if (!OpenDoc(&doc, built.dataPath, false)) {
                std::fprintf(stderr, "transfer_bench: cannot read the structure of %d methods\n", int(n));
                return 1;
            }
            TModuleObjQz* kit = nullptr;
            ObjListHdl groups = GetObjListe(doc.fTypeList, 32);
            for (int32_t i = 0; groups && i < groups->Size(); ++i)
                if (groups->At(i)->kind == 32 && groups->At(i)->IsModule()) kit = static_cast<TModuleObjQz*>(groups->At(i));
            ObjListHdl methods = GetObjListe(doc.fTypeList, 2);
            const int32_t before = methods->Size();
            std::vector<const TObjQz*> gone;
            for (int32_t i = 0; i < methods->Size(); ++i)
                if (methods->At(i)->TstFlag(kFlagInComponent)) gone.push_back(methods->At(i));
            PeerGraph g = PeerOf(&doc);
            double start = CpuMs();
            PeerRemove(&g, gone);
            peerTimes.push_back(CpuMs() - start);
            start = CpuMs();
            const int16_t err = kit ? transfer::UninstallComponent(&doc, kit) : int16_t(-1);
            ourTimes.push_back(CpuMs() - start);
            removed[c] = err ? -err : before - GetObjListe(doc.fTypeList, 2)->Size();
            if (int32_t(gone.size()) != n) removed[c] = -1;
            CloseDoc(&doc);
        }
        ours[c] = Median(ourTimes);
        peer[c] = Median(peerTimes);
    }
    std::filesystem::remove_all(pattern);
    if (removed[0] != counts[0] || removed[1] != counts[1]) {
        std::fprintf(stderr, "transfer_bench: the uninstalls removed %d and %d methods, not %d and %d\n",
                     int(removed[0]), int(removed[1]), int(counts[0]), int(counts[1]));
        return 1;
    }
    std::printf("\nUninstalling an installed component of methods that each call the next and share one variable, "
                "beside removing the same links and entries from standard containers (processor time, medians of 3)\n");
    std::printf("%8s %9s %14s %12s %8s\n", "methods", "removed", "uninstall ms", "peer ms", "ratio");
    for (int c = 0; c < 2; ++c)
        std::printf("%8d %9d %14.1f %12.2f %8.1f\n", int(counts[c]), int(removed[c]), ours[c], peer[c], ours[c] / peer[c]);
    const double x = double(counts[1]) / double(counts[0]);
    auto e = [&](double a, double b) { return std::log(b / a) / std::log(x); };
    std::printf("growth (methods x%.0f): uninstall e = %.2f, peer e = %.2f; 1 is linear\n", x, e(ours[0], ours[1]),
                e(peer[0], peer[1]));
    return removed[0] == counts[0] && removed[1] == counts[1] ? 0 : 1;
}
