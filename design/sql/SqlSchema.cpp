#include "design/sql/SqlSchema.h"

namespace sql {
namespace {

std::string Cut(const std::string& name) { return name.substr(0, kMaxName); }

int64_t Key(int32_t table, int32_t column) { return (int64_t(table) << 32) | uint32_t(column); }

void Report(const Schema& s, const std::string& line)
{
    if (s.report) s.report(line);
}

}  // namespace

int32_t FindTable(const Schema& s, const std::string& name)
{
    const auto it = s.tableIndex.find(Cut(name));
    return it == s.tableIndex.end() ? -1 : it->second;
}

int32_t FindColumn(const Schema& s, int32_t table, const std::string& name)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return -1;
    const auto& index = s.tables[size_t(table)].columnIndex;
    const auto it = index.find(Cut(name));
    return it == index.end() ? -1 : it->second;
}

int32_t AddTable(Schema& s, const std::string& name)
{
    s.tables.push_back(Table{Cut(name), {}, {}});
    s.tableIndex.emplace(Cut(name), int32_t(s.tables.size() - 1));
    Report(s, "Table " + Cut(name) + "\n");
    return int32_t(s.tables.size() - 1);
}

int32_t AddColumn(Schema& s, int32_t table, const std::string& name)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return -1;
    Table& t = s.tables[size_t(table)];
    t.columns.push_back(Column{Cut(name)});
    t.columnIndex.emplace(Cut(name), int32_t(t.columns.size() - 1));
    Report(s, "          column " + Cut(name) + "\n");
    return int32_t(t.columns.size() - 1);
}

int32_t TableNamed(Schema& s, const std::string& name)
{
    const int32_t at = FindTable(s, name);
    return at >= 0 ? at : AddTable(s, name);
}

int32_t ColumnNamed(Schema& s, int32_t table, const std::string& name)
{
    const int32_t at = FindColumn(s, table, name);
    return at >= 0 ? at : AddColumn(s, table, name);
}

int32_t FindColumnList(const Schema& s, int32_t table, int32_t column)
{
    if (s.stackTop < 0 || !s.stack[s.stackTop].seen.count(Key(table, column))) return -1;
    const auto& items = s.stack[s.stackTop].items;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].first == table && items[i].second == column) return int32_t(i);
    return -1;
}

void AddColumnList(Schema& s, int32_t table, int32_t column)
{
    if (s.stackTop < 0 || table < 0 || column < 0) return;
    ColumnList& list = s.stack[s.stackTop];
    if (list.seen.insert(Key(table, column)).second) list.items.emplace_back(table, column);
}

bool PushColumnList(Schema& s)
{
    if (s.stackTop + 1 >= kColumnListSlots) return false;
    s.stack[++s.stackTop] = ColumnList{};
    return true;
}

void PopColumnList(Schema& s)
{
    if (s.stackTop >= 0) s.stack[s.stackTop--] = ColumnList{};
}

void AddLink(Schema& s, int32_t fromTable, int32_t fromColumn, int32_t toTable, int32_t toColumn)
{
    s.links.push_back(Link{fromTable, fromColumn, toTable, toColumn});
}

}  // namespace sql
