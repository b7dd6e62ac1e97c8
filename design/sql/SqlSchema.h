// The schema an SQL script describes, gathered while it is parsed: tables
// with their columns (type, length and flags of the field each becomes),
// the links of foreign keys, the stack of column lists, the current tables
// and columns, and the report of what was met.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace sql {

// Names are C strings of up to 31 characters, compared byte for byte.
constexpr size_t kMaxName = 31;
// The most tables a structure holds, and fields a table.
constexpr int16_t kMaxTables = 255;
constexpr int16_t kMaxFields = 511;

// Column flags; they become the field's attribute bits.
constexpr uint16_t kIndexed = 0x8000;
constexpr uint16_t kUnique = 0x4000;
constexpr uint16_t kNotNull = 0x2000;

// Name look-ups that take a view of the name.
struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};
using NameIndex = std::unordered_map<std::string, int32_t, NameHash, std::equal_to<>>;

struct Column {
    std::string name;
    int32_t type = 0;
    int16_t length = 0;
    uint16_t flags = 0;
    bool defined = false;  // by a column definition
    std::string written{};  // the name as first written, when it was cut
};

struct Table {
    std::string name;
    std::vector<Column> columns;
    NameIndex columnIndex;  // name -> column
    bool defined = false;  // by CREATE TABLE
    std::string written{};  // the name as first written, when it was cut
};

struct Link {
    int32_t fromTable, fromColumn, toTable, toColumn;
    int16_t zero = 0;
};

// The columns of a list, each once.
struct ColumnList {
    std::vector<std::pair<int32_t, int32_t>> items;  // (table, column)
    std::unordered_set<int64_t> seen;
};

constexpr int32_t kColumnListSlots = 4;

struct Schema {
    std::vector<Table> tables;
    NameIndex tableIndex;  // name -> table
    std::vector<Link> links;
    ColumnList stack[kColumnListSlots];
    int32_t stackTop = -1;  // -1: empty
    int32_t defTable = -1, refTable = -1;
    int32_t defColumn = -1, refColumn = -1;
    int16_t boxLeft = 10, boxTop = 10;
    // Where the report's lines go.
    std::function<void(const std::string&)> report;
    std::string line;  // the report line being made
    // The report's remarks: names cut, tables and columns merged.
    int32_t remarks = 0;
    std::unordered_set<std::string> mergesSaid;  // each other spelling once
};

// A remark of the report: one line, counted.
void Remark(Schema& s, const std::string& text);
// The index of a table or column, or -1.
int32_t FindTable(const Schema& s, const std::string& name);
int32_t FindColumn(const Schema& s, int32_t table, const std::string& name);
// Adds them (the name cut to 31) and reports "Table NAME" or
// "          column NAME"; the new index.
int32_t AddTable(Schema& s, const std::string& name);
int32_t AddColumn(Schema& s, int32_t table, const std::string& name);
// The table, found or added. A name cut to 31 characters is remarked in
// the report, and so is each other spelling that comes to the same name
// (the two are merged).
int32_t TableNamed(Schema& s, const std::string& name);
int32_t ColumnNamed(Schema& s, int32_t table, const std::string& name);
// Marks the table or column as defined by its statement; a second
// definition is remarked (the two are merged).
void DefineTable(Schema& s, int32_t table);
void DefineColumn(Schema& s, int32_t table, int32_t column);
// The position of (table, column) in the top column list, or -1.
int32_t FindColumnList(const Schema& s, int32_t table, int32_t column);
// Adds it to the top list unless it is there.
void AddColumnList(Schema& s, int32_t table, int32_t column);
// A new list on the stack; false when the four slots are taken.
bool PushColumnList(Schema& s);
void PopColumnList(Schema& s);
void AddLink(Schema& s, int32_t fromTable, int32_t fromColumn, int32_t toTable, int32_t toColumn);
// Reports a REFERENCES written after a column, which makes no relation:
// "          column NAME REFERENCES TABLE (COLUMNS): no relation, ...".
void ReportUnrelatedReference(Schema& s, int32_t table, int32_t column, int32_t toTable,
                              const std::vector<int32_t>& toColumns);

}  // namespace sql
