// The conflict list's rows: 10,000 records (2,000 table records with four
// members chained under each) listed by SetC_List under the filter of all
// conflicts and that of indirect ones, beside the same walk copying the
// same record pointers into a vector with the same filter test. Prints
// both times and their ratio. Reads the choices of the program's own
// resources, as the dialog does.
#include <cstdio>
#include <memory>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "bench/BenchTiming.h"
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

int main()
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
    return 0;
}
