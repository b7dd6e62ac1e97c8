// The main list over structures of 10,000 and 100,000 objects: a rebuild
// under the default filter, a rebuild with every group open, type-ahead to
// the last row and one screen of rows drawn. Beside it, the same objects
// through the filter into a std::vector and their labels drawn with
// DrawString. Prints both times and their ratio.
// Last, the main list of generated structures of the same sizes exported
// with every option (contents, users, used objects, documentation) beside
// its rows' headings and lists written with fwrite to a memory file.
// Then the most-used object is selected with the where-used and uses panes
// linked (both lists sorted and filtered into the panes) beside
// std::stable_sort of copies of the same lists. Last the whole document
// searched by name (contains) beside a case- and accent-free substring
// test over the same names in a vector. Each size runs five times; the
// figures are medians, with the growth exponent of each step. Last, on the
// generated structures whose project method is called by 3/32 of their
// objects, the most-used project method or variable renamed with
// every user following beside its users' tokens walked and linked
// (ParseProc) without rewriting.
//
//   browser_bench [SMALL LARGE]   (other sizes than 10,000 and 100,000)
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "bench/BenchApplication.h"
#include "bench/BenchTiming.h"
#include "design/documents/OpenQzB.h"
#include "design/reading/ReadQzB.h"
#include "tools/docbuilder/DocBuilder.h"
#include "platform/files/FileSpec.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/resfiles/Resources.h"
#include "platform/windows/Windows.h"

namespace {

// Seconds of processor time since `sinceMs` (bench::CpuMs).
double Seconds(double sinceMs) { return (bench::CpuMs() - sinceMs) / 1000.0; }

void PStr(const std::string& s, unsigned char* p)
{
    p[0] = uint8_t(s.size());
    for (size_t i = 0; i < s.size(); ++i) p[1 + i] = uint8_t(s[i]);
}

struct Structure {
    TMainDoc doc;
    std::vector<TObjQz*> groups;
    std::string last;
    TObjQz* mostUsed = nullptr;
};

// A filter record passing every kind.
platform::Handle gAllKinds = nullptr;

void Build(Structure* s, int32_t count)
{
    NewTypeList(&s->doc.fTypeList);
    const int16_t kinds[] = {2, 4, 6, 9, 11, 12, 13, 18};
    unsigned char name[256];
    for (int32_t i = 0; i < count; ++i) {
        const std::string n = "obj" + std::to_string(100000 + i);
        PStr(n, name);
        TObjQz* obj = NewObj_Id(&s->doc, kinds[i % 8], name, int16_t(1 + i % 30000), true);
        if (n > s->last && obj && obj->kind == 18) s->last = n;
    }
    // One group per 100 objects, holding 10 project methods each.
    ObjListHdl methods = GetObjListe(s->doc.fTypeList, 2);
    for (int32_t g = 0; g < count / 100; ++g) {
        PStr("grp" + std::to_string(g), name);
        auto* group = static_cast<TGroupObjQz*>(NewObj_Id(&s->doc, 23, name, int16_t(1 + g), true));
        NewObjList(&group->members, 10);
        for (int32_t m = 0; m < 10; ++m) {
            TObjQz* member = methods->At(g * 10 + m);
            AddObjList(&group->members, member);
            member->parent = group;
            member->level = 1;
            member->SetFlag(kFlagGrouped, true);
        }
        s->groups.push_back(group);
    }
    // One variable used by every tenth object; it uses every hundredth.
    s->mostUsed = GetObjListe(s->doc.fTypeList, 9)->At(0);
    ObjListHdl all[] = {GetObjListe(s->doc.fTypeList, 2), GetObjListe(s->doc.fTypeList, 4),
                        GetObjListe(s->doc.fTypeList, 18)};
    int32_t n = 0;
    for (ObjListHdl list : all)
        for (int32_t i = list->Size() - 1; i >= 0; --i, ++n) {
            if (n % 4 == 0) XRef(list->At(i), s->mostUsed);
            if (n % 40 == 0) XRef(s->mostUsed, list->At(i));
        }
}

// The display order of the cross-reference panes: by kind, groups last,
// then by name.
bool KindThenName(TObjQz* a, TObjQz* b)
{
    const int ka = a->kind == 23 ? 1000 : a->kind, kb = b->kind == 23 ? 1000 : b->kind;
    if (ka != kb) return ka < kb;
    const int n = std::min(a->name[0], b->name[0]);
    const int c = std::memcmp(a->name + 1, b->name + 1, size_t(n));
    return c != 0 ? c < 0 : a->name[0] < b->name[0];
}

// One run's figures, in seconds.
struct Figures {
    double rebuild = 0, openRebuild = 0, perKey = 0, screen = 0, mainTotal = 0, mainPeer = 0;
    double select = 0, panes = 0, sorting = 0, selectPeer = 0;
    double search = 0, searchPeer = 0;
    int32_t rows = 0, keys = 0, selectRows = 0, selectPeerRows = 0, searchRows = 0, searchPeerRows = 0;
    size_t peerRows = 0, found = 0, users = 0, used = 0;
};

// The main list with its where-used and uses panes linked, as a browser
// window has them.
struct Window {
    browser::TLstPlane* main = new browser::TLstPlane;
    browser::TCallingPlane* calling = new browser::TCallingPlane;
    browser::TCalledPlane* called = new browser::TCalledPlane;

    explicit Window(Structure* s)
    {
        const platform::Rect layout{0, 0, 100, 100};
        main->ITPlane(layout, nullptr, s->doc.fTypeList, nullptr, 0);
        calling->ITPlane(layout, nullptr, nullptr, nullptr, 0);
        called->ITPlane(layout, nullptr, nullptr, nullptr, 0);
        main->SetLinks(0, called, 0, calling, 0, nullptr);
        calling->SetFilter(browser::kDefaultFilter);
        called->SetFilter(browser::kDefaultFilter);
        main->SetFilter(browser::kDefaultFilter);
    }
    ~Window()
    {
        main->Dispose();
        calling->Dispose();
        called->Dispose();
    }
};

void SelectMostUsed(Structure* s, Figures* f)
{
    Window w(s);
    w.main->SetList(nullptr, reinterpret_cast<platform::Handle>(s->doc.fTypeList));
    TObjQz* obj = s->mostUsed;
    const std::vector<TObjQz*> users(obj->usedBy->entries, obj->usedBy->entries + obj->usedBy->Size());
    const std::vector<TObjQz*> used(obj->uses->entries, obj->uses->entries + obj->uses->Size());

    const auto start = bench::CpuMs();
    w.main->SelectObj(obj);
    f->select = Seconds(start);
    f->selectRows = w.calling->fList->rowCount + w.called->fList->rowCount;

    const auto peerStart = bench::CpuMs();
    size_t peerRows = 0;
    for (const std::vector<TObjQz*>* links : {&users, &used}) {
        std::vector<TObjQz*> copy = *links;
        std::stable_sort(copy.begin(), copy.end(), KindThenName);
        std::vector<TObjQz*> shown;
        for (TObjQz* o : copy)
            if (ObjFilter(gAllKinds, o)) shown.push_back(o);
        peerRows += shown.size();
    }
    f->selectPeer = Seconds(peerStart);
    f->selectPeerRows = int32_t(peerRows);

    // The two panes' share (the rest is the main list finding and
    // selecting the object's row), and of that the sort of the lists (the
    // panes sort copies: the graph keeps its own order).
    const auto sortStart = bench::CpuMs();
    for (const std::vector<TObjQz*>* links : {&users, &used}) {
        ObjListHdl copy = nullptr;
        if (NewObjList(&copy, 10) != 0) continue;
        SetObjListEntries(copy, links->data(), int32_t(links->size()));
        SortShownLinks(copy);
        FreeObjList(copy);
    }
    f->sorting = Seconds(sortStart);
    const auto panesStart = bench::CpuMs();
    w.calling->SetList(gAllKinds, reinterpret_cast<platform::Handle>(obj->usedBy));
    w.called->SetList(gAllKinds, reinterpret_cast<platform::Handle>(obj->uses));
    f->panes = Seconds(panesStart);
    f->users = users.size();
    f->used = used.size();
}

// Upper case without accents, as the names are compared: the peer folds
// each name it tests, as the comparison folds each character.
const std::array<uint8_t, 256>& FoldTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int c = 0; c < 256; ++c) t[size_t(c)] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
        // Mac Roman's accented capitals and small letters to their base.
        const char* accented = "AACENOUaaaaaaceeeeiiiinooooouuuu";
        for (int c = 0x80; c < 0xA0; ++c) t[size_t(c)] = uint8_t(std::toupper(uint8_t(accented[c - 0x80])));
        return t;
    }();
    return table;
}

// Every object whose name contains "9999": the search's rows, flat.
void SearchByName(Structure* s, Figures* f)
{
    Window w(s);
    const uint8_t record[] = {0, 1, 0x7F, 0xFF, 0xFF, 0xFE, 0, 0, 0, 1, 0, 0, 4, '9', '9', '9', '9', 0};
    platform::Handle saved = G_SearchFilterHdl;
    platform::PtrToHand(record, &G_SearchFilterHdl, platform::Size(sizeof record));
    WaitParamRec wait;
    w.main->SearchRows(G_SearchFilterHdl, false, &wait);  // as warm as the peer's second pass
    const auto start = bench::CpuMs();
    w.main->SearchRows(G_SearchFilterHdl, false, &wait);
    f->search = Seconds(start);
    f->searchRows = w.main->fList->rowCount;
    platform::DisposeHandle(G_SearchFilterHdl);
    G_SearchFilterHdl = saved;

    std::vector<std::string> names;
    browser::TypeNum order;
    for (int16_t k = order.Next(); k != -1; k = order.Next())
        if (ObjListHdl list = GetObjListe(s->doc.fTypeList, k))
            for (int32_t i = 0; i < list->Size(); ++i)
                names.emplace_back(reinterpret_cast<const char*>(list->At(i)->name + 1), list->At(i)->name[0]);
    const auto& fold = FoldTable();
    const std::string pattern = "9999";
    const auto peerStart = bench::CpuMs();
    std::vector<size_t> found;
    for (int pass = 0; pass < 2; ++pass) {
        found.clear();
        for (size_t i = 0; i < names.size(); ++i) {
            char folded[256];
            const std::string& n = names[i];
            for (size_t c = 0; c < n.size(); ++c) folded[c] = char(fold[uint8_t(n[c])]);
            if (memmem(folded, n.size(), pattern.data(), pattern.size())) found.push_back(i);
        }
    }
    f->searchPeer = Seconds(peerStart) / 2;
    f->searchPeerRows = int32_t(found.size());
}

Figures Run(int32_t count, platform::WindowRef window)
{
    Figures f;
    Structure s;
    Build(&s, count);

    // Ours: the main list of a window, with its linked panes.
    Window w(&s);
    browser::TLstPlane* pane = w.main;
    // Timed as a window rebuilds its rows again and again: once untimed
    // first, so that neither side pays for the objects' first touch.
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(s.doc.fTypeList));
    const auto start = bench::CpuMs();
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(s.doc.fTypeList));
    f.rebuild = Seconds(start);
    for (TObjQz* g : s.groups) {
        const int32_t row = browser::GetCellData(g, pane->fList);
        if (row >= 0) SetOpenCell(row, pane->fList, true);
    }
    const auto openStart = bench::CpuMs();
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(s.doc.fTypeList));
    f.openRebuild = Seconds(openStart);
    // Type-ahead to the last row, a key at a time as a person types: each
    // finds its row, selects it, fills the linked panes and sets the menus.
    const auto keyStart = bench::CpuMs();
    uint32_t when = 1000;
    for (char c : s.last) {
        platform::EventRecord e{};
        e.message = uint8_t(c);
        e.when = when++;
        pane->key(e);
    }
    f.keys = int32_t(s.last.size());
    const double typeAhead = Seconds(keyStart);
    f.perKey = typeAhead / f.keys;
    if (window) {
        platform::SetPortWindowPort(window);
        pane->fList->port = platform::GetWindowPort(window);
        pane->fList->rView = platform::Rect{0, 0, 640, 584};
        pane->fList->cellSize = platform::Point{16, 584};
        LongLDoDraw(true, pane->fList);
        const auto drawStart = bench::CpuMs();
        for (int32_t r = pane->fList->firstVisible; r <= pane->fList->lastVisible; ++r) LongLDraw(r, pane->fList);
        f.screen = Seconds(drawStart);
    }
    f.mainTotal = f.rebuild + f.openRebuild + typeAhead + f.screen;
    f.rows = pane->fList->rowCount;

    // The peer: the same objects through the filter into a vector (its
    // first pass is as warm as ours).
    const auto peerStart = bench::CpuMs();
    std::vector<TObjQz*> peerRows;
    for (int pass = 0; pass < 2; ++pass) {
        peerRows.clear();
        browser::TypeNum order;
        for (int16_t k = order.Next(); k != -1; k = order.Next()) {
            ObjListHdl list = GetObjListe(s.doc.fTypeList, k);
            if (!list || k == 1 || k == 24 || k == 25 || k == 26 || k == 27) continue;
            for (int32_t i = 0; i < list->Size(); ++i) {
                TObjQz* o = list->At(i);
                if (!ObjFilter(nullptr, o) || o->TstFlag(kFlagGrouped)) continue;
                peerRows.push_back(o);
                if (pass == 1 && o->members)
                    for (int32_t m = 0; m < o->members->Size(); ++m) peerRows.push_back(o->members->At(m));
            }
        }
    }
    for (size_t i = 0; i < peerRows.size(); ++i) {
        unsigned char n[256];
        peerRows[i]->GetName(n);
        if (std::string(reinterpret_cast<char*>(n + 1), n[0]) == s.last) {
            f.found = i;
            break;
        }
    }
    if (window) {
        for (size_t r = 0; r < 40 && r < peerRows.size(); ++r) {
            unsigned char text[256];
            browser::RowText(peerRows[r], text, text);
            platform::MoveTo(40, int16_t(12 + 16 * r));
            platform::DrawString(text);
        }
    }
    f.mainPeer = Seconds(peerStart);
    f.peerRows = peerRows.size();
    SelectMostUsed(&s, &f);
    SearchByName(&s, &f);
    DisposeTypeList(s.doc.fTypeList);
    s.doc.fTypeList = nullptr;
    return f;
}

// The export, over a structure the document builder generates (its
// methods have their texts): the main list exported with every option to a
// file, beside the rows' headings and lists written with fwrite to a memory
// file. Medians of 3.
struct ExportFigures {
    double ours = 0, peer = 0;
    int16_t result = 0;
    size_t bytes = 0, peerBytes = 0;
    int32_t rows = 0;
};

// The most-used project method or variable renamed with every user
// following (one commit), beside its users' tokens read and linked.
struct RenameFigures {
    double rename = 0, renamePeer = 0;
    int16_t renameResult = 0;
    size_t renameUsers = 0;
};

// The project method or variable with the most users.
TObjQz* MostUsedRenamable(TMainDoc* doc)
{
    TObjQz* best = nullptr;
    for (int16_t kind : {2, 9}) {
        ObjListHdl list = GetObjListe(doc->fTypeList, kind);
        for (int32_t i = 0; list && i < list->Size(); ++i) {
            TObjQz* o = list->At(i);
            if (o->usedBy && o->EnableReplace() && (!best || o->usedBy->Size() > best->usedBy->Size())) best = o;
        }
    }
    return best;
}

// Renamed back and forth (medians of 3), then the peer: every user's
// tokens walked and linked again, as reading the document does.
void RenameMostUsed(TMainDoc* doc, RenameFigures* f)
{
    TObjQz* obj = MostUsedRenamable(doc);
    if (!obj) {
        f->renameResult = -1;
        return;
    }
    f->renameUsers = size_t(obj->usedBy->Size());
    unsigned char names[2][256];
    obj->GetName(names[0]);
    PStr(obj->kind == 9 ? "vRenamed_Bench" : "Renamed_Bench", names[1]);
    int turn = 1;
    f->rename = bench::MedianMs(3, [&] {
        ObjListHdl users = nullptr;
        NewObjList(&users, 10);
        for (int32_t i = 0; i < obj->usedBy->Size(); ++i) AddObjList(&users, obj->usedBy->At(i));
        TObjQz* out = nullptr;
        const int16_t err = obj->DoReplace(names[turn], true, users, &out, false);
        if (err) f->renameResult = err;
        if (out) obj = out;
        turn = 1 - turn;
    });
    std::vector<TGnlProcObjQz*> users;
    for (int32_t i = 0; i < obj->usedBy->Size(); ++i)
        if (auto* m = dynamic_cast<TGnlProcObjQz*>(obj->usedBy->At(i))) users.push_back(m);
    f->renamePeer = bench::MedianMs(3, [&] {
        ParseResFile current(doc);
        const int16_t saved = platform::CurResFile();
        if (doc->fRsrFile != -1) platform::UseResFile(doc->fRsrFile);
        for (TGnlProcObjQz* m : users) ParseProc(m->table, m->id, m);
        platform::UseResFile(saved);
    });
}

ExportFigures ExportGenerated(int32_t count, platform::WindowRef window)
{
    ExportFigures f;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("browser_bench." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string name = "Export" + std::to_string(count);
    const docbuilder::BuildResult built = docbuilder::BuildDocument(
        "structure " + name + " seed 7\ngenerate " + std::to_string(count) + "\n", name + ".qzdoc", folder.string());
    if (built.error || !SetUpBenchApplication(folder.string(), QZ_APP_RESOURCES, QZ_SOURCE_DIR)) {
        f.result = -1;
        return f;
    }
    TMainDoc doc;
    int16_t other = -1;
    if (!OpenBuiltStructure(built.dataPath, &doc, &other)) {
        f.result = -2;
        return f;
    }
    PStr(name, doc.fName);
    auto* pane = new browser::TLstPlane;
    pane->ITPlane(platform::Rect{0, 0, 100, 100}, nullptr, doc.fTypeList, nullptr, 0);
    pane->SetFilter(browser::kDefaultFilter);
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(doc.fTypeList));
    f.rows = pane->fList->rowCount;
    // Text records are made in the current port.
    if (window) platform::SetPortWindowPort(window);
    const std::filesystem::path path = folder / "export.txt";
    platform::FSSpec fileRef;
    platform::FSMakeFSSpec(path.string(), &fileRef);
    f.ours = bench::MedianMs(3, [&] {
        OutPutParmRec parms{1, 1, 1, 1, 0, 0};
        f.result = pane->ExportList(&doc, fileRef, &parms);
    });
    std::error_code ec;
    f.bytes = size_t(std::filesystem::file_size(path, ec));
    f.peer = bench::MedianMs(3, [&] {
        char* buffer = nullptr;
        size_t length = 0;
        FILE* mem = open_memstream(&buffer, &length);
        auto line = [&](const unsigned char* text, int tabs) {
            for (int t = 0; t < tabs; ++t) std::fputc('\t', mem);
            std::fwrite(text + 1, 1, text[0], mem);
            std::fputc('\r', mem);
        };
        for (int32_t r = 0; r < pane->fList->rowCount; ++r) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(r, pane->fList));
            unsigned char text[256], info[256];
            obj->GetFullName(text);
            obj->GetMoreInfo(info, false);
            std::fwrite(text + 1, 1, text[0], mem);
            line(info, 0);
            for (ObjListHdl list : {obj->usedBy, obj->uses})
                for (int32_t i = 0; list && i < list->Size(); ++i) {
                    list->At(i)->GetFullName(text);
                    line(text, 2);
                }
        }
        std::fclose(mem);
        f.peerBytes = length;
        std::free(buffer);
    });
    pane->Dispose();
    CloseQzB(doc.fRsrFile, doc.fResFile, other, doc.fDataFile);
    DisposeTypeList(doc.fTypeList);
    std::filesystem::remove_all(folder, ec);
    return f;
}

// A generated structure of `count` objects, count * 3 / 32 of them (9,375
// of 100,000) methods that call one more project method: that method is
// renamed with every caller following.
RenameFigures RenameGenerated(int32_t count)
{
    RenameFigures f;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("browser_bench_rename." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string name = "Rename" + std::to_string(count);
    // The callers take the place of as many generated objects: the methods'
    // ids stay within their 32,767.
    const int32_t callers = count * 3 / 32;
    std::string description =
        "structure " + name + " seed 7\ngenerate " + std::to_string(count - callers) + "\n";
    description += "method Hot_Method\n  comment \"Called everywhere\"\n";
    for (int32_t i = 0; i < callers; ++i)
        description += "method Hot_User" + std::to_string(i) + "\n  call Hot_Method ; comment \"user\"\n";
    const docbuilder::BuildResult built = docbuilder::BuildDocument(description, name + ".qzdoc", folder.string());
    if (built.error || !SetUpBenchApplication(folder.string(), QZ_APP_RESOURCES, QZ_SOURCE_DIR)) {
        if (built.error) std::fprintf(stderr, "browser_bench: the structure to rename was not built: %s\n", built.message.c_str());
        f.renameResult = -1;
        return f;
    }
    TMainDoc doc;
    int16_t other = -1;
    if (!OpenBuiltStructure(built.dataPath, &doc, &other)) {
        f.renameResult = -2;
        return f;
    }
    PStr(name, doc.fName);
    RenameMostUsed(&doc, &f);
    CloseQzB(doc.fRsrFile, doc.fResFile, other, doc.fDataFile);
    DisposeTypeList(doc.fTypeList);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return f;
}

constexpr int kRuns = 5;

// The median of one figure over the runs.
double Median(const std::vector<Figures>& runs, double Figures::*field)
{
    std::vector<double> v;
    for (const Figures& f : runs) v.push_back(f.*field);
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    GromMemHdl = platform::NewHandle(64);
    const uint8_t all[] = {0, 1, 0x7F, 0xFF, 0xFF, 0xFE, 0, 0, 0, 1, 0, 0, 0, 0};
    platform::PtrToHand(all, &gAllKinds, platform::Size(sizeof all));
    PaneHooks().filterRecord = [](int16_t) -> char** { return gAllKinds; };
    // The application's strings and icons, beside the build tree's programs.
    const std::filesystem::path resources =
        std::filesystem::weakly_canonical(argv[0]).parent_path().parent_path() / "Qz Resources.rsrc";
    G_MainResFile = platform::OpenResFile(resources.string(), platform::fsRdPerm, platform::ResFileFork::Data);
    if (G_MainResFile <= 0) std::printf("(application resources not found (%d): rows drawn without icons)\n", int(platform::ResError()));
    const platform::Rect bounds{40, 10, 700, 610};
    const unsigned char title[] = "\x05" "Bench";
    platform::WindowRef window =
        platform::NewCWindow(nullptr, &bounds, title, false, 0, reinterpret_cast<platform::WindowRef>(-1), false, 0);
    if (!window) std::printf("(no window: nothing drawn)\n");
    int32_t counts[] = {10000, 100000};
    if (argc == 3) counts[0] = std::max(100, std::atoi(argv[1])), counts[1] = std::max(100, std::atoi(argv[2]));
    std::vector<std::vector<Figures>> all_runs;
    for (int32_t count : counts) {
        std::vector<Figures> runs;
        for (int run = 0; run < kRuns; ++run) runs.push_back(Run(count, window));
        all_runs.push_back(runs);
        const Figures& one = runs.front();
        auto m = [&](double Figures::*field) { return Median(runs, field); };
        std::printf("%7d objects (%d rows), medians of %d runs:\n", count, one.rows, kRuns);
        std::printf("  main list: rebuild %.3f ms, all groups open %.3f ms, type-ahead %.3f ms a key (%d keys), one "
                    "screen %.3f ms; total %.3f ms; peer %.3f ms (%zu rows, found at %zu); ratio %.2f\n",
                    1000 * m(&Figures::rebuild), 1000 * m(&Figures::openRebuild), 1000 * m(&Figures::perKey), one.keys,
                    1000 * m(&Figures::screen), 1000 * m(&Figures::mainTotal), 1000 * m(&Figures::mainPeer),
                    one.peerRows, one.found, m(&Figures::mainTotal) / m(&Figures::mainPeer));
        std::printf("  select the most-used object (%zu users, %zu used): %.3f ms (%d rows), of which the two panes "
                    "%.3f ms (sorting %.3f ms); peer std::stable_sort and filter %.3f ms; ratio %.2f\n",
                    one.users, one.used, 1000 * m(&Figures::select), one.selectRows, 1000 * m(&Figures::panes),
                    1000 * m(&Figures::sorting), 1000 * m(&Figures::selectPeer),
                    m(&Figures::select) / m(&Figures::selectPeer));
        std::printf("  search the document by name (contains): %.3f ms (%d rows); peer folded substring test over "
                    "the names %.3f ms (%d found); ratio %.2f\n",
                    1000 * m(&Figures::search), one.searchRows, 1000 * m(&Figures::searchPeer), one.searchPeerRows,
                    m(&Figures::search) / m(&Figures::searchPeer));
    }
    // Growth exponents: e = ln(time ratio) / ln(size ratio); 1 is linear.
    const double sizeRatio = double(counts[1]) / double(counts[0]);
    std::printf("growth exponent from %d to %d objects (1 is linear):\n", counts[0], counts[1]);
    const std::pair<const char*, double Figures::*> steps[] = {
        {"rebuild", &Figures::rebuild},          {"all groups open", &Figures::openRebuild},
        {"type-ahead a key", &Figures::perKey},  {"select the most-used", &Figures::select},
        {"  peer of the select", &Figures::selectPeer}, {"main list total", &Figures::mainTotal},
        {"  peer of the main list", &Figures::mainPeer}, {"search by name", &Figures::search},
        {"  peer of the search", &Figures::searchPeer}};
    for (const auto& [name, field] : steps) {
        const double a = Median(all_runs[0], field), b = Median(all_runs[1], field);
        std::printf("  %-24s e = %.2f\n", name, a > 0 && b > 0 ? std::log(b / a) / std::log(sizeRatio) : 0.0);
    }
    ExportFigures exports[2];
    for (int i = 0; i < 2; ++i) {
        exports[i] = ExportGenerated(counts[i], window);
        const ExportFigures& e = exports[i];
        if (e.result != 0) {
            std::fprintf(stderr, "browser_bench: the export of a generated structure of %d objects failed: %d\n",
                         counts[i], int(e.result));
            return 1;
        }
        std::printf("export of a generated structure of %d objects (%d rows) with every option: %.3f ms (result %d, "
                    "%zu bytes); peer fwrite to a memory file %.3f ms (%zu bytes); ratio %.2f\n",
                    counts[i], e.rows, e.ours, int(e.result), e.bytes, e.peer, e.peerBytes, e.ours / e.peer);
    }
    std::printf("  export                   e = %.2f\n  peer of the export       e = %.2f\n",
                std::log(exports[1].ours / exports[0].ours) / std::log(sizeRatio),
                std::log(exports[1].peer / exports[0].peer) / std::log(sizeRatio));
    RenameFigures renames[2];
    for (int i = 0; i < 2; ++i) {
        renames[i] = RenameGenerated(counts[i]);
        const RenameFigures& e = renames[i];
        if (e.renameResult != 0) {
            std::fprintf(stderr, "browser_bench: the rename in a generated structure of %d objects failed: %d\n",
                         counts[i], int(e.renameResult));
            return 1;
        }
        std::printf("rename the most-used object of a generated structure of %d objects (%zu users, every one "
                    "rewritten, one commit): %.3f ms (result %d); peer ParseProc over the same users %.3f ms; "
                    "ratio %.2f\n",
                    counts[i], e.renameUsers, e.rename, int(e.renameResult), e.renamePeer, e.rename / e.renamePeer);
    }
    std::printf("  rename                   e = %.2f\n  peer of the rename       e = %.2f\n",
                std::log(renames[1].rename / renames[0].rename) / std::log(sizeRatio),
                std::log(renames[1].renamePeer / renames[0].renamePeer) / std::log(sizeRatio));
    if (window) platform::DisposeWindow(window);
    return 0;
}
