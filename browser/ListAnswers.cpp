#include "browser/ListAnswers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "design/objects/ObjList.h"
#include "design/objects/ObjQz.h"

namespace browser {

namespace {

constexpr uint32_t kNever = UINT32_MAX;

struct Answers {
    // RowsUseStringLists, for the rows and the objects' lists as they were.
    uint32_t strListRows = kNever;
    uint64_t strListLists = 0;
    bool strList = false;

    // Each row's folded name (none for an empty row) and the runs of rows
    // whose folded names rise, each ending where the next begins.
    uint32_t namesRows = kNever;
    std::string names;
    std::vector<uint32_t> nameAt;  // row -> offset into names; one more at the end
    std::vector<int32_t> runStarts;
};

void DisposeAnswers(void* answers) { delete static_cast<Answers*>(answers); }

// The list's answers, made when it has none; null when memory runs out.
Answers* AnswersOf(LongListHandle list)
{
    if (!list->companion) {
        auto* answers = new (std::nothrow) Answers;
        if (!answers) return nullptr;
        list->companion = answers;
        list->disposeCompanion = DisposeAnswers;
    }
    return list->disposeCompanion == DisposeAnswers ? static_cast<Answers*>(list->companion) : nullptr;
}

TObjQz* RowObj(int32_t row, LongListHandle list) { return static_cast<TObjQz*>(LongLRowObject(row, list)); }

bool WalkForStringLists(LongListHandle list)
{
    for (int32_t row = 0; row < list->rowCount; ++row) {
        TObjQz* o = RowObj(row, list);
        if (!o || (o->kind != 24 && o->kind != 6) || !o->uses) continue;
        for (int32_t i = 0; i < o->uses->Size(); ++i)
            if (o->uses->At(i)->kind == 11) return true;
    }
    return false;
}

std::string_view NameOf(const Answers& a, int32_t row)
{
    return std::string_view(a.names).substr(a.nameAt[size_t(row)], a.nameAt[size_t(row) + 1] - a.nameAt[size_t(row)]);
}

// FoldForTyping of every byte.
const std::array<uint8_t, 256>& FoldTable()
{
    static const std::array<uint8_t, 256> table = [] {
        std::array<uint8_t, 256> t{};
        for (int c = 0; c < 256; ++c) t[size_t(c)] = FoldForTyping(uint8_t(c));
        return t;
    }();
    return table;
}

void IndexNames(Answers* a, LongListHandle list)
{
    const auto& fold = FoldTable();
    a->names.clear();
    a->nameAt.assign(1, 0);
    a->runStarts.clear();
    a->nameAt.reserve(size_t(list->rowCount) + 1);
    a->names.reserve(size_t(list->rowCount) * 12);
    for (int32_t row = 0; row < list->rowCount; ++row) {
        if (TObjQz* o = RowObj(row, list)) {
            unsigned char name[256];
            o->GetName(name);
            const size_t at = a->names.size();
            a->names.resize(at + name[0]);
            for (int i = 0; i < name[0]; ++i) a->names[at + size_t(i)] = char(fold[name[1 + i]]);
        }
        a->nameAt.push_back(uint32_t(a->names.size()));
        if (row == 0 || NameOf(*a, row) < NameOf(*a, row - 1)) a->runStarts.push_back(row);
    }
    a->namesRows = list->rowVersion;
}

}  // namespace

uint8_t FoldForTyping(uint8_t c)
{
    static const char* const accented = "AACENOUaaaaaaceeeeiiiinooooouuuu";  // 0x80-0x9F
    if (c >= 'A' && c <= 'Z') return uint8_t(c - 'A' + 'a');
    if (c >= 0x80 && c <= 0x9F) return uint8_t(accented[c - 0x80]);
    switch (c) {
    case 0xCB: case 0xCC: case 0xE5: case 0xE7: return 'a';
    case 0xCD: case 0xEE: case 0xEF: case 0xF1: return 'o';
    case 0xE6: case 0xE8: case 0xE9: return 'e';
    case 0xEA: case 0xEB: case 0xEC: case 0xED: return 'i';
    case 0xF2: case 0xF3: case 0xF4: return 'u';
    case 0xD8: return 'y';
    default: return c;
    }
}

bool RowsUseStringLists(LongListHandle list)
{
    if (!list) return false;
    Answers* a = AnswersOf(list);
    if (!a) return WalkForStringLists(list);
    if (a->strListRows != list->rowVersion || a->strListLists != ObjListGeneration()) {
        a->strList = WalkForStringLists(list);
        a->strListRows = list->rowVersion;
        a->strListLists = ObjListGeneration();
    }
    return a->strList;
}

int32_t FindTypedRow(const uint8_t* typed, int32_t length, int32_t from, LongListHandle list)
{
    if (!list || from < 0 || from >= list->rowCount || length <= 0) return -1;
    std::string key(size_t(length), '\0');
    for (int32_t i = 0; i < length; ++i) key[size_t(i)] = char(FoldForTyping(typed[i]));
    Answers* a = AnswersOf(list);
    if (a && a->namesRows != list->rowVersion) {
        try {
            IndexNames(a, list);
        } catch (const std::bad_alloc&) {
            a->namesRows = kNever;
            a = nullptr;
        }
    }
    if (!a) {
        // Without the index the rows are walked, with the same answer.
        for (int32_t row = from; row < list->rowCount; ++row) {
            TObjQz* o = RowObj(row, list);
            if (!o) continue;
            unsigned char name[256];
            o->GetName(name);
            if (name[0] < length) continue;
            std::string folded;
            for (int32_t i = 1; i <= length; ++i) folded.push_back(char(FoldForTyping(name[i])));
            if (folded == key) return row;
        }
        return -1;
    }
    // In a run the names rise, so those starting with the key follow one
    // another from the first that is not below it.
    auto run = std::upper_bound(a->runStarts.begin(), a->runStarts.end(), from) - 1;
    for (; run != a->runStarts.end(); ++run) {
        const int32_t end = run + 1 != a->runStarts.end() ? *(run + 1) : list->rowCount;
        int32_t lo = std::max(*run, from), hi = end;
        while (lo < hi) {
            const int32_t mid = lo + (hi - lo) / 2;
            if (NameOf(*a, mid) < key) lo = mid + 1;
            else hi = mid;
        }
        if (lo < end && NameOf(*a, lo).substr(0, key.size()) == key) return lo;
    }
    return -1;
}

}  // namespace browser
