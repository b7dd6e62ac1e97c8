// The main list over structures of 10,000 and 100,000 objects: a rebuild
// under the default filter, a rebuild with every group open, type-ahead to
// the last row and one screen of rows drawn. Beside it, the same objects
// through the filter into a std::vector and their labels drawn with
// DrawString. Prints both times and their ratio; each size runs three times.
// Then the most-used object is selected with the where-used and uses panes
// linked (both lists sorted and filtered into the panes) beside
// std::stable_sort of copies of the same lists.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/windows/PaneHooks.h"
#include "browser/CallPanes.h"
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

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

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

void SelectMostUsed(Structure* s)
{
    auto* main = new browser::TLstPlane;
    auto* calling = new browser::TCallingPlane;
    auto* called = new browser::TCalledPlane;
    const platform::Rect layout{0, 0, 100, 100};
    main->ITPlane(layout, nullptr, s->doc.fTypeList, nullptr, 0);
    calling->ITPlane(layout, nullptr, nullptr, nullptr, 0);
    called->ITPlane(layout, nullptr, nullptr, nullptr, 0);
    main->SetLinks(0, called, 0, calling, 0, nullptr);
    calling->SetFilter(browser::kDefaultFilter);
    called->SetFilter(browser::kDefaultFilter);
    main->SetFilter(browser::kDefaultFilter);
    main->SetList(nullptr, reinterpret_cast<platform::Handle>(s->doc.fTypeList));
    TObjQz* obj = s->mostUsed;
    // Both runs start from the lists in the order the links were made.
    const std::vector<TObjQz*> users(obj->usedBy->entries, obj->usedBy->entries + obj->usedBy->Size());
    const std::vector<TObjQz*> used(obj->uses->entries, obj->uses->entries + obj->uses->Size());

    const auto start = std::chrono::steady_clock::now();
    main->SelectObj(obj);
    const double ours = Seconds(start);
    const int32_t rows = calling->fList->rowCount + called->fList->rowCount;

    const auto peerStart = std::chrono::steady_clock::now();
    size_t peerRows = 0;
    for (const std::vector<TObjQz*>* links : {&users, &used}) {
        std::vector<TObjQz*> copy = *links;
        std::stable_sort(copy.begin(), copy.end(), KindThenName);
        std::vector<TObjQz*> shown;
        for (TObjQz* o : copy)
            if (ObjFilter(gAllKinds, o)) shown.push_back(o);
        peerRows += shown.size();
    }
    const double peer = Seconds(peerStart);

    // The two panes' share (the rest is the main list finding and
    // selecting the object's row), and of that the sort of the lists.
    std::copy(users.begin(), users.end(), obj->usedBy->entries);
    std::copy(used.begin(), used.end(), obj->uses->entries);
    const auto panesStart = std::chrono::steady_clock::now();
    ShellSort(obj->usedBy);
    ShellSort(obj->uses);
    const double sorting = Seconds(panesStart);
    calling->SetList(gAllKinds, reinterpret_cast<platform::Handle>(obj->usedBy));
    called->SetList(gAllKinds, reinterpret_cast<platform::Handle>(obj->uses));
    const double panes = Seconds(panesStart);
    std::printf("        select the most-used object (%zu users, %zu used): %.4f s (%d rows), of which the two "
                "panes %.4f s (sorting %.4f s); peer std::stable_sort %.4f s (%zu rows); ratio %.2f (panes alone "
                "%.2f)\n",
                users.size(), used.size(), ours, rows, panes, sorting, peer, peerRows, ours / peer, panes / peer);
    // Again, as the lists come back sorted the next time.
    std::copy(users.begin(), users.end(), obj->usedBy->entries);
    std::copy(used.begin(), used.end(), obj->uses->entries);
    main->Dispose();
    calling->Dispose();
    called->Dispose();
}

void Run(int32_t count, platform::WindowRef window)
{
    Structure s;
    Build(&s, count);
    const platform::Rect layout{0, 0, 100, 100};

    // Ours.
    auto* pane = new browser::TLstPlane;
    pane->ITPlane(layout, nullptr, s.doc.fTypeList, nullptr, 0);
    pane->SetFilter(browser::kDefaultFilter);
    const auto start = std::chrono::steady_clock::now();
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(s.doc.fTypeList));
    const double rebuild = Seconds(start);
    for (TObjQz* g : s.groups) {
        const int32_t row = browser::GetCellData(g, pane->fList);
        if (row >= 0) SetOpenCell(row, pane->fList, true);
    }
    const auto openStart = std::chrono::steady_clock::now();
    pane->SetList(nullptr, reinterpret_cast<platform::Handle>(s.doc.fTypeList));
    const double openRebuild = Seconds(openStart);
    const auto keyStart = std::chrono::steady_clock::now();
    uint32_t when = 1000;
    for (char c : s.last) {
        platform::EventRecord e{};
        e.message = uint8_t(c);
        e.when = when++;
        pane->key(e);
    }
    const double typeAhead = Seconds(keyStart);
    double draw = 0;
    if (window) {
        platform::SetPortWindowPort(window);
        pane->fList->port = platform::GetWindowPort(window);
        pane->fList->rView = platform::Rect{0, 0, 640, 584};
        pane->fList->cellSize = platform::Point{16, 584};
        LongLDoDraw(true, pane->fList);
        const auto drawStart = std::chrono::steady_clock::now();
        for (int32_t r = pane->fList->firstVisible; r <= pane->fList->lastVisible; ++r) LongLDraw(r, pane->fList);
        draw = Seconds(drawStart);
    }
    const double ours = rebuild + openRebuild + typeAhead + draw;
    const int32_t rows = pane->fList->rowCount;

    // The peer: the same objects through the filter into a vector.
    const auto peerStart = std::chrono::steady_clock::now();
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
    size_t found = 0;
    for (size_t i = 0; i < peerRows.size(); ++i) {
        unsigned char n[256];
        peerRows[i]->GetName(n);
        if (std::string(reinterpret_cast<char*>(n + 1), n[0]) == s.last) {
            found = i;
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
    const double peer = Seconds(peerStart);
    if (!window) std::printf("(no window: nothing drawn) ");
    std::printf("%7d objects: rebuild %.4f s, all groups open %.4f s, type-ahead %.4f s, one screen %.4f s; "
                "total %.4f s (%d rows); peer %.4f s (%zu rows, found at %zu); ratio %.2f\n",
                count, rebuild, openRebuild, typeAhead, draw, ours, rows, peer, peerRows.size(), found, ours / peer);
    pane->Dispose();
    SelectMostUsed(&s);
    DisposeTypeList(s.doc.fTypeList);
    s.doc.fTypeList = nullptr;
}

}  // namespace

int main(int, char** argv)
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
    for (int32_t count : {10000, 100000})
        for (int run = 0; run < 3; ++run) Run(count, window);
    if (window) platform::DisposeWindow(window);
    return 0;
}
