#include "design/sql/SqlSchema.h"

namespace sql {
namespace {

std::string_view Cut(const std::string& name) { return std::string_view(name).substr(0, kMaxName); }

int64_t Key(int32_t table, int32_t column) { return (int64_t(table) << 32) | uint32_t(column); }

void Report(Schema& s, const char* before, const std::string& name)
{
    if (!s.report) return;
    s.line.assign(before);
    s.line += name;
    s.line += '\n';
    s.report(s.line);
}

// A table or column met under `spelling`, its schema name `name` (the
// spelling cut to 31 characters); `written` keeps the first spelling
// when it was cut. A cut is said where the name is made, and each other
// spelling that comes to the same name once (`table`: -1 for a table,
// else the table of the column).
void Spelled(Schema& s, const char* before, const char* one, int32_t table, const std::string& name,
             std::string* written, const std::string& spelling, bool added)
{
    if (added) {
        if (spelling.size() <= kMaxName) return;
        *written = spelling;
        Remark(s, before + name + ": cut to 31 characters from " + spelling);
        return;
    }
    const std::string& first = written->empty() ? name : *written;
    if (spelling == first || !s.mergesSaid.insert(std::to_string(table) + ":" + spelling).second) return;
    Remark(s, before + spelling + " and " + first + " agree in their first 31 characters: one " + one + ", " + name);
}

}  // namespace

void Remark(Schema& s, const std::string& text)
{
    ++s.remarks;
    if (s.report) s.report(text + "\n");
}

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
    s.tables.push_back(Table{std::string(Cut(name)), {}, {}});
    s.tableIndex.emplace(s.tables.back().name, int32_t(s.tables.size() - 1));
    Report(s, "Table ", s.tables.back().name);
    return int32_t(s.tables.size() - 1);
}

int32_t AddColumn(Schema& s, int32_t table, const std::string& name)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return -1;
    Table& t = s.tables[size_t(table)];
    t.columns.push_back(Column{std::string(Cut(name))});
    t.columnIndex.emplace(t.columns.back().name, int32_t(t.columns.size() - 1));
    Report(s, "          column ", t.columns.back().name);
    return int32_t(t.columns.size() - 1);
}

int32_t TableNamed(Schema& s, const std::string& name)
{
    const auto [it, added] = s.tableIndex.try_emplace(std::string(Cut(name)), int32_t(s.tables.size()));
    if (added) {
        s.tables.push_back(Table{it->first, {}, {}});
        Report(s, "Table ", it->first);
    }
    Table& t = s.tables[size_t(it->second)];
    Spelled(s, "Table ", "table", -1, t.name, &t.written, name, added);
    return it->second;
}

int32_t ColumnNamed(Schema& s, int32_t table, const std::string& name)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return -1;
    Table& t = s.tables[size_t(table)];
    const auto [it, added] = t.columnIndex.try_emplace(std::string(Cut(name)), int32_t(t.columns.size()));
    if (added) {
        t.columns.push_back(Column{it->first});
        Report(s, "          column ", it->first);
    }
    Column& c = t.columns[size_t(it->second)];
    Spelled(s, "          column ", "field", table, c.name, &c.written, name, added);
    return it->second;
}

void DefineTable(Schema& s, int32_t table)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return;
    Table& t = s.tables[size_t(table)];
    if (t.defined) Remark(s, "Table " + t.name + " defined again: one table holds the columns of both");
    t.defined = true;
}

void DefineColumn(Schema& s, int32_t table, int32_t column)
{
    if (table < 0 || size_t(table) >= s.tables.size()) return;
    Table& t = s.tables[size_t(table)];
    if (column < 0 || size_t(column) >= t.columns.size()) return;
    Column& c = t.columns[size_t(column)];
    if (c.defined) Remark(s, "          column " + c.name + " defined again: one field, of the type defined last");
    c.defined = true;
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

void ReportUnrelatedReference(Schema& s, int32_t table, int32_t column, int32_t toTable,
                              const std::vector<int32_t>& toColumns)
{
    if (!s.report || toTable < 0) return;
    const Table& to = s.tables[size_t(toTable)];
    s.line.assign("          column ");
    s.line += s.tables[size_t(table)].columns[size_t(column)].name;
    s.line += " REFERENCES ";
    s.line += to.name;
    for (size_t i = 0; i < toColumns.size(); ++i) {
        s.line += i == 0 ? " (" : ", ";
        s.line += to.columns[size_t(toColumns[i])].name;
    }
    if (!toColumns.empty()) s.line += ')';
    s.line += ": no relation made, only FOREIGN KEY makes one\n";
    s.report(s.line);
}

}  // namespace sql
