// A 200,000-row long list beside a vector of pointers with a vector<bool>
// of selection bits doing the same edits: rows added one at a time at the
// end and in the middle, a shift selection of all, keeping every other row,
// rows deleted one at a time. Prints both times and their ratio.
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/longlist/LongList.h"

namespace {

constexpr int32_t kRows = 200000;
constexpr int32_t kMiddle = 20000;

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double RunLongList(int32_t* check)
{
    const platform::Rect view{0, 0, 400, 300};
    LongListHandle l = LongLNew(&view, 0, kObjectRowLength, platform::Point{16, 300}, 0, nullptr, false, nullptr);
    LongLDoDraw(false, l);
    const auto start = std::chrono::steady_clock::now();
    for (int32_t i = 0; i < kRows; ++i) {
        void* p = reinterpret_cast<void*>(intptr_t(i + 1));
        LongLSetCell(&p, kObjectRowLength, LongLAddRow(1, l->rowCount, l), l);
    }
    for (int32_t i = 0; i < kMiddle; ++i) LongLAddRow(1, l->rowCount / 2, l);
    DoSelect(0, 0, l, true, 0);
    DoSelect(l->rowCount - 1, kLongLShiftKey, l, true, 0);
    RazSelect(l);
    for (int32_t r = 0; r < l->rowCount; r += 2) LongLSetSelect(true, r, l);
    LongLSeltoList(l);
    for (int32_t i = 0; i < kMiddle / 2; ++i) LongLDelRow(1, l->rowCount / 2, l);
    while (l->rowCount > 0) LongLDelRow(1, l->rowCount - 1, l);
    const double t = Seconds(start);
    *check = l->rowCount;
    LongLDispose(l);
    return t;
}

double RunVectors(int32_t* check)
{
    std::vector<void*> rows;
    std::vector<bool> sel;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t i = 0; i < kRows; ++i) {
        rows.push_back(reinterpret_cast<void*>(intptr_t(i + 1)));
        sel.push_back(false);
    }
    for (int32_t i = 0; i < kMiddle; ++i) {
        const size_t at = rows.size() / 2;
        rows.insert(rows.begin() + std::ptrdiff_t(at), nullptr);
        sel.insert(sel.begin() + std::ptrdiff_t(at), false);
    }
    sel.assign(rows.size(), true);
    sel.assign(rows.size(), false);
    for (size_t r = 0; r < rows.size(); r += 2) sel[r] = true;
    std::vector<void*> kept;
    for (size_t r = 0; r < rows.size(); ++r)
        if (sel[r]) kept.push_back(rows[r]);
    rows.swap(kept);
    sel.assign(rows.size(), true);
    for (int32_t i = 0; i < kMiddle / 2; ++i) {
        const size_t at = rows.size() / 2;
        rows.erase(rows.begin() + std::ptrdiff_t(at));
        sel.erase(sel.begin() + std::ptrdiff_t(at));
    }
    while (!rows.empty()) {
        rows.pop_back();
        sel.pop_back();
    }
    const double t = Seconds(start);
    *check = int32_t(rows.size());
    return t;
}

}  // namespace

int main()
{
    int32_t a = -1, b = -1;
    const double ours = RunLongList(&a);
    const double peer = RunVectors(&b);
    std::printf("long list, %d rows (+%d in the middle): %.3f s\n", kRows, kMiddle, ours);
    std::printf("std::vector<void*> + std::vector<bool>:     %.3f s\n", peer);
    std::printf("ratio (long list / vectors): %.2f\n", peer > 0 ? ours / peer : 0.0);
    return a == 0 && b == 0 ? 0 : 1;
}
