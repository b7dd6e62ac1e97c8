// SQL schema scripts: the scanner, the statements that fill the schema, the
// report, and the structure built of it, whole or not at all.
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

#include "design/documents/DocumentPairs.h"
#include "design/sql/SqlBuild.h"
#include "design/sql/SqlScript.h"
#include "platform/core/Endian.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "platform/core/Faults.h"
#include "platform/text/Utf8.h"
#include "platform/events/FileDialogAnswers.h"
#include "tests/design/ReadFixture.h"
#include "tests/platform/files/LockedFolder.h"
#include "tests/platform/files/TempFolder.h"

namespace readtest {
namespace {

using sql::Schema;

class SqlScript : public ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        InstallKernelStoreAccess();
    }
    int16_t Parse(const std::string& text)
    {
        report_.clear();
        return sql::ParseSQLText(text, &schema_, &report_);
    }
    const sql::Column& Column(size_t table, size_t column) { return schema_.tables[table].columns[column]; }
    // The script written, SQL run with `target` (`Out.QzB` unless told)
    // answering the save dialog.
    int16_t Run(const std::string& script, const std::string& target = "")
    {
        std::ofstream(folder_ / "s.sql", std::ios::binary) << script;
        platform::ClearFileDialogAnswers();
        platform::PushFileDialogAnswer(target.empty() ? out_ : target);
        unsigned char scriptPath[256], reportPath[256];
        apptest::ToP(folder_ / "s.sql", scriptPath);
        apptest::ToP(folder_ / "s.sql.report.txt", reportPath);
        made_ = platform::FSSpec{};
        return SQL(scriptPath, reportPath, &made_);
    }
    std::string Report() const
    {
        const Bytes b = FileBytes(folder_ / "s.sql.report.txt");
        return std::string(b.begin(), b.end());
    }
    // Field `field` (from 1) of the 'FIQz' of table `table` of the built
    // structure, read as stored.
    Bytes Definition(int16_t table)
    {
        if (doc_.fResFile == -1) Open(out_);
        useres(doc_.fResFile);
        const Bytes param = Stored(FourCC("PRQz"), 0);
        return Stored(FourCC("FIQz"), int16_t(platform::ReadBE16(&param[size_t(78 + 14 * (table - 1))])));
    }
    // Files beside the script, its report and the old file (with the Finder
    // information the save dialog gave it).
    std::string Leftovers() const
    {
        std::set<std::string> left;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path())) {
            const std::string name = e.path().filename();
            if (name != "prefs" && name != "s.sql" && name != "s.sql.report.txt" && name != "Out.QzB" && name != "._Out.QzB")
                left.insert(name);
        }
        std::string names;
        for (const std::string& name : left) names += name + " ";
        return names;
    }
    static const uint8_t* Field(const Bytes& def, int16_t field) { return &def[size_t(30 + 66 * (field - 1))]; }

    Schema schema_;
    std::string report_;
    const std::string out_ = folder_ / "Out.QzB";
    platform::FSSpec made_;
};

// Each data type of the grammar: the field it becomes, with its stored type
// and length and the type its description names (as exported).
TEST_F(SqlScript, DataTypesGiveTheirFieldTypesAndLengths)
{
    const std::tuple<const char*, int, int16_t, const char*> cases[] = {
        {"CHAR(100)", 0, 80, "Alpha (80)"},
        {"char(79)", 0, 79, "Alpha (79)"},
        {"CHAR(80)", 0, 80, "Alpha (80)"},
        {"CHAR", 0, 2, "Alpha (2)"},
        {"CHARACTER(7)", 0, 7, "Alpha (7)"},
        {"NCHAR(9)", 0, 9, "Alpha (9)"},
        {"NATIONAL CHAR(3)", 0, 3, "Alpha (3)"},
        {"VARCHAR(10)", 2, 0, "Text"},
        {"CHAR VARYING(4)", 2, 0, "Text"},
        {"NATIONAL CHARACTER VARYING(5)", 2, 0, "Text"},
        {"NCHAR VARYING", 2, 0, "Text"},
        {"CHAR(5) VARYING", 2, 0, "Text"},
        {"NUMERIC(5, 2)", 1, 0, "Real"},
        {"NUMERIC", 1, 0, "Real"},
        {"DEC(4)", 1, 0, "Real"},
        {"DECIMAL", 1, 0, "Real"},
        {"BIGINT", 1, 0, "Real"},
        {"FLOAT", 1, 0, "Real"},
        {"FLOAT(8)", 1, 0, "Real"},
        {"REAL", 1, 0, "Real"},
        {"DOUBLE", 1, 0, "Real"},
        {"DOUBLE PRECISION", 1, 0, "Real"},
        {"SMALLINT", 8, 0, "Integer"},
        {"TINYINT", 8, 0, "Integer"},
        {"INT", 9, 0, "Long integer"},
        {"INTEGER", 9, 0, "Long integer"},
        {"BIT", 6, 0, "Boolean"},
        {"BIT(3)", 30, 0, "BLOB"},
        {"BIT VARYING", 30, 0, "BLOB"},
        {"BIT VARYING(8)", 30, 0, "BLOB"},
        {"BINARY", 30, 0, "BLOB"},
        {"BINARY(4)", 30, 0, "BLOB"},
        {"DATE", 4, 0, "Date"},
        {"TIME", 11, 0, "Time"},
        {"TIME(2)", 11, 0, "Time"},
        {"TIMESTAMP", 11, 0, "Time"},
        {"TIMESTAMP(6)", 11, 0, "Time"},
        {"TIME WITH TIME ZONE", 11, 0, "Time"},
        {"TIMESTAMP WITH TIME ZONE", 11, 0, "Time"},
        {"VARBINARY", 0, 0, "Alpha (0)"},
        {"VARBINARY(4)", 0, 0, "Alpha (0)"},
        {"LONG VARBINARY", 0, 0, "Alpha (0)"},
        {"LONG VARCHAR(9)", 0, 0, "Alpha (0)"},
    };
    std::string script = "CREATE TABLE t (";
    for (size_t i = 0; i < std::size(cases); ++i) script += (i ? ", c" : "c") + std::to_string(i) + " " + std::get<0>(cases[i]);
    ASSERT_EQ(Run(script + ");"), 0) << Report();
    const Bytes def = Definition(1);
    EXPECT_EQ(def[8], 1) << "a text field";
    ASSERT_EQ(Read(), 0);
    TObjQz* table = Find(1, "t");
    ASSERT_TRUE(table && table->members);
    ASSERT_EQ(table->members->Size(), int32_t(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& [type, code, length, name] = cases[i];
        const uint8_t* e = Field(def, int16_t(i + 1));
        auto* field = static_cast<TCritObjQz*>(table->members->At(int32_t(i)));
        EXPECT_EQ(std::tuple(int(e[32]), int16_t(platform::ReadBE16(e + 34)), field->Describe().lines.at(0)),
                  std::tuple(code, length, std::string("Type: ") + name))
            << type;
    }
}

// Repeated names are merged as the schema keeps them; the report says each
// merge and each name cut to 31 characters, each character left out, and
// a script read as Windows-1252 (not UTF-8).
TEST_F(SqlScript, MergedTablesAndColumnsAndCutNamesAreRemarked)
{
    const std::string n31(31, 'n'), c31(31, 'c'), a = n31 + "A", b = n31 + "B", c32 = c31 + "x";
    struct Case {
        std::string script, report, tables;
        int32_t remarks;
    };
    const Case cases[] = {
        // A UTF-8 script's names are Mac Roman in the schema and its report;
        // a text Mac Roman lacks outside a name is no matter, and nor is a
        // byte-order mark.
        {"\xEF\xBB\xBF" "CREATE TABLE Clients_\u00E9 (Nom_\u00E9 CHAR DEFAULT '\u2603'); CREATE TABLE Clients_\u00E9 (Pr\u00E9nom INT);",
         "Table Clients_\x8E\n          column Nom_\x8E\nTable Clients_\x8E defined again: one table holds the columns of "
         "both\n          column Pr\x8Enom\n",
         "Clients_\x8E(Nom_\x8E:0 Pr\x8Enom:9) ", 1},
        // Without the mark; a character no name holds is left out, and said.
        {"CREATE TABLE Co\u00FBt\u20AC (Prix INT);",
         "Line 1 left out: \"\xDB\" in Co\x9Et\xDB, which is read as Co\x9Et\nTable Co\x9Et\n          column Prix\n",
         "Co\x9Et(Prix:9) ", 1},
        // A script that is not UTF-8 is read as Windows-1252, which is said:
        // Latin-1, Windows-1252, and Mac Roman holding no byte Windows-1252
        // lacks, misread so.
        {"CREATE TABLE Caf\xE9 (Prix INT);",
         "The script is not UTF-8: it was read as Windows-1252.\nTable Caf\x8E\n          column Prix\n",
         "Caf\x8E(Prix:9) ", 1},
        {"CREATE TABLE Caf\xE9 (Prix\x80 INT);",
         "The script is not UTF-8: it was read as Windows-1252.\nTable Caf\x8E\nLine 1 left out: \"\xDB\" in "
         "Prix\xDB, which is read as Prix\n          column Prix\n",
         "Caf\x8E(Prix:9) ", 2},
        {"CREATE TABLE \x80pfel (Gr\x9Fn INT);",
         "The script is not UTF-8: it was read as Windows-1252.\nLine 1 left out: \"\xDB\" in \xDBpfel, which is "
         "read as pfel\nTable pfel\n          column Gr\xD9n\n",
         "pfel(Gr\xD9n:9) ", 2},
        {"CREATE TABLE t (a INT); CREATE TABLE t (b CHAR);",
         "Table t\n          column a\nTable t defined again: one table holds the columns of both\n          column b\n",
         "t(a:9 b:0) ", 1},
        {"CREATE TABLE t (a INT, a FLOAT NOT NULL);",
         "Table t\n          column a\n          column a defined again: one field, of the type defined last\n",
         "t(a:1) ", 1},
        {"CREATE TABLE " + a + " (x INT); CREATE TABLE " + b + " (y INT);",
         "Table " + n31 + "\nTable " + n31 + ": cut to 31 characters from " + a + "\n          column x\nTable " + b +
             " and " + a + " agree in their first 31 characters: one table, " + n31 + "\nTable " + n31 +
             " defined again: one table holds the columns of both\n          column y\n",
         n31 + "(x:9 y:9) ", 3},
        {"CREATE TABLE t (" + c31 + " INT, " + c32 + " DATE);",
         "Table t\n          column " + c31 + "\n          column " + c32 + " and " + c31 +
             " agree in their first 31 characters: one field, " + c31 + "\n          column " + c31 +
             " defined again: one field, of the type defined last\n",
         "t(" + c31 + ":4) ", 2},
        // A long name written again, and a table named before it is
        // defined, are no merge.
        {"DROP TABLE " + a + "; CREATE INDEX i ON " + a + " (k);"
         "CREATE TABLE u (x INT, FOREIGN KEY (x) REFERENCES v (y)); CREATE TABLE v (y INT);",
         "Table " + n31 + "\nTable " + n31 + ": cut to 31 characters from " + a +
             "\n          column k\nTable u\n          column x\nTable v\n          column y\n",
         n31 + "(k:0) u(x:9) v(y:9) ", 1},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Parse(c.script), 0) << c.script;
        EXPECT_EQ(report_, c.report) << c.script;
        std::string tables;
        for (const sql::Table& t : schema_.tables) {
            tables += t.name + "(";
            for (const sql::Column& col : t.columns) tables += col.name + ":" + std::to_string(col.type) + " ";
            if (!t.columns.empty()) tables.pop_back();
            tables += ") ";
        }
        EXPECT_EQ(std::tuple(tables, schema_.remarks), std::tuple(c.tables, c.remarks)) << c.script;
    }
    // The structure holds what the schema holds; SQL says the report has
    // remarks, written as UTF-8.
    ASSERT_EQ(Run(cases[0].script), sql::kMadeWithRemarks);
    EXPECT_EQ(std::tuple(made_.path, Report()),
              std::tuple(out_, "Table Clients_\u00E9\n          column Nom_\u00E9\nTable Clients_\u00E9 defined again: one "
                               "table holds the columns of both\n          column Pr\u00E9nom\n"));
    const Bytes t = Definition(1);
    EXPECT_EQ(std::tuple(platform::ReadBE16(&t[0]), Field(t, 1)[32], Field(t, 2)[32]), std::tuple(2, 0, 9));
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(Find(1, "Clients_\x8E"), nullptr);
}

// The text of `utf8` in UTF-16 of either byte order, with its mark or not.
std::string Utf16(const std::string& utf8, bool little, bool mark)
{
    std::u16string units(utf8.size(), u'\0');
    const platform::ConversionResult r = platform::Utf8ToUtf16(reinterpret_cast<const uint8_t*>(utf8.data()),
                                                               int32_t(utf8.size()), units.data(), int32_t(units.size()), true);
    units.resize(size_t(r.produced));
    if (mark) units.insert(units.begin(), u'\uFEFF');
    std::string bytes;
    for (char16_t u : units) {
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        bytes += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return bytes;
}

// Each script is read in the encoding found for it: its names are as
// written (Mac Roman in the schema), and the report names the line and
// byte of whatever could not be read.
TEST_F(SqlScript, EachScriptIsReadInTheEncodingFoundForIt)
{
    const std::string utf8 = "CREATE TABLE Caf\u00E9 (\u00DCbung INT,\r\n Nom CHAR);";
    const std::string tables = "Table Caf\x8E\n          column \x86" "bung\n          column Nom\n";
    const std::string window1252 = "The script is not UTF-8: it was read as Windows-1252.\n";
    std::string surrogate = Utf16(utf8, true, true);
    surrogate.insert(surrogate.size() - 18, std::string("\x00\xD8", 2));  // inside "Nom"
    const std::tuple<const char*, std::string, std::string, int32_t> cases[] = {
        {"UTF-8", utf8, tables, 0},
        {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8, tables, 0},
        {"UTF-16 LE with its mark", Utf16(utf8, true, true), tables, 0},
        {"UTF-16 LE", Utf16(utf8, true, false), tables, 0},
        {"UTF-16 BE with its mark", Utf16(utf8, false, true), tables, 0},
        {"UTF-16 BE", Utf16(utf8, false, false), tables, 0},
        {"Windows-1252", "CREATE TABLE Caf\xE9 (\xDC" "bung INT,\r\n Nom CHAR);", window1252 + tables, 1},
        {"Latin-1 with LF", "CREATE TABLE Caf\xE9 (\xDC" "bung INT,\n Nom CHAR);", window1252 + tables, 1},
        // A byte Windows-1252 leaves undefined (0x8D, ç) makes it Mac Roman.
        {"Mac Roman", "CREATE TABLE Caf\x8E (\x86" "bung INT,\r\n Nom CHAR, Fa\x8D" "ade DATE);",
         "The script is not UTF-8 and holds bytes Windows-1252 does not: it was read as Mac Roman.\n" + tables +
             "          column Fa\x8D" "ade\n",
         1},
        // One stray byte among UTF-8: read as Windows-1252, and said where.
        {"UTF-8 with one stray byte", "CREATE TABLE Caf\u00E9 (\u00DCbung INT,\r\n N\xF4m CHAR);",
         "Line 2, byte 3: 0xF4 is not UTF-8: it was read as Windows-1252, \"\x99\".\nTable Caf\x8E\n"
         "          column \x86" "bung\n          column N\x99m\n",
         1},
        {"a NUL byte", "CREATE TABLE Caf\u00E9 (\u00DCbung INT,\r\n N" + std::string(1, '\0') + "om CHAR);",
         "Line 2, byte 3: a NUL character, left out.\n" + tables, 1},
        {"a NUL byte and CR lines", "CREATE TABLE Caf\xC3\xA9\r(\xC3\x9C" "bung INT,\r\r" + std::string(1, '\0') + "Nom CHAR);",
         "Line 4, byte 1: a NUL character, left out.\n" + tables, 1},
        {"UTF-16 with a lone surrogate and an odd last byte", surrogate + "x",
         "Line 2, byte 5: 0xD800 is not UTF-16 (a surrogate without its pair): it was left out.\n"
         "Line 2, byte 25: 0x78 is the script's last byte, without its pair in UTF-16: it was left out.\n" + tables,
         2},
    };
    for (const auto& [what, script, report, remarks] : cases) {
        ASSERT_EQ(Parse(script), 0) << what << "\n" << report_;
        EXPECT_EQ(std::tuple(report_, schema_.remarks), std::tuple(report, remarks)) << what;
    }
    // The structure built of a UTF-16 script without its mark holds the
    // names as written; its report is UTF-8.
    ASSERT_EQ(Run(Utf16(utf8, true, false)), 0) << Report();
    EXPECT_EQ(Report(), "Table Caf\u00E9\n          column \u00DCbung\n          column Nom\n");
    EXPECT_EQ(platform::ReadBE16(&Definition(1)[0]), 2);
    ASSERT_EQ(Read(), 0);
    TObjQz* table = Find(1, "Caf\x8E");
    ASSERT_TRUE(table && table->members);
    std::string fields;
    for (int32_t i = 0; i < table->members->Size(); ++i) {
        ObjName name;
        table->members->At(i)->GetName(name);
        fields += std::string(reinterpret_cast<const char*>(name + 1), name[0]) + " ";
    }
    EXPECT_EQ(fields, "\x86" "bung Nom ");
}

TEST_F(SqlScript, TheScannerReadsKeywordsNamesStringsAndSkipsTheRest)
{
    std::vector<std::pair<sql::Tok, std::string>> tokens;
    const std::string text = "create CREATE Create # \"_x GO TO go  to 12 3.5 .5e-3 <= <> 'it''s\n'\n(";
    size_t at = 0;
    std::string messages;
    sql::Scanner scanner(
        [&](char* b, int32_t n) {
            const size_t k = std::min(size_t(n), text.size() - at);
            std::memcpy(b, text.data() + at, k);
            at += k;
            return int32_t(k);
        },
        [&](const std::string& m) { messages += m; });
    for (sql::Tok t; (t = scanner.Next()) != sql::Tok::End;) tokens.emplace_back(t, scanner.Text());
    using T = sql::Tok;
    const std::vector<std::pair<sql::Tok, std::string>> expected = {
        {T::CREATE, "create"}, {T::CREATE, "CREATE"}, {T::Name, "Create"}, {T::Name, "x"}, {T::GOTO, "GO TO"},
        {T::GOTO, "go to"}, {T::IntNum, "12"}, {T::ApproxNum, "3.5"}, {T::ApproxNum, ".5e-3"}, {T::Comparison, "<="},
        {T::Comparison, "<>"}, {T::String, "'it''s\n'"}, {T::Punct, "("}};
    EXPECT_EQ(tokens, expected);
    EXPECT_EQ(scanner.Line(), 3);
    EXPECT_EQ(messages, "");
    // A token of 2,000 bytes ends the input, said in the report.
    EXPECT_EQ(Parse("CREATE TABLE " + std::string(2000, 'a') + " (c INT);"), -1);
    EXPECT_EQ(report_.substr(0, 29), "flex input buffer overflowed\n");
    EXPECT_TRUE(schema_.tables.empty());
}

// The tokens of a text, each written kind:text (K for a keyword), and the
// line the scanner ends on.
std::string Scan(const std::string& text)
{
    size_t at = 0;
    sql::Scanner scanner(
        [&](char* b, int32_t n) {
            const size_t k = std::min(size_t(n), text.size() - at);
            std::memcpy(b, text.data() + at, k);
            at += k;
            return int32_t(k);
        },
        [](const std::string&) {});
    std::string out;
    for (sql::Tok t; (t = scanner.Next()) != sql::Tok::End;) {
        static const char kinds[] = "?NIASCP";
        out += (size_t(t) < sizeof kinds - 1 ? kinds[size_t(t)] : 'K');
        out += ":" + scanner.Text() + " ";
    }
    return out + "@" + std::to_string(scanner.Line());
}

TEST_F(SqlScript, TheScannerSplitsEachKindOfToken)
{
    const std::tuple<std::string, std::string> cases[] = {
        {"a_1 B2x", "N:a_1 N:B2x @1"},
        {"_a a_", "N:a N:a_ @1"},
        {"CHARACTER character Character", "K:CHARACTER K:character N:Character @1"},
        {"DECIMAL INTEGER", "K:DECIMAL K:INTEGER @1"},
        {"avg COUNT Sum", "K:avg K:COUNT N:Sum @1"},
        {"GO\tTO Go To GO", "K:GO TO N:Go N:To N:GO @1"},
        {"12. 1e5 1E+2 1e x.y", "A:12. A:1e5 A:1E+2 I:1 N:e N:x P:. N:y @1"},
        {"a>=b=>c<>d", "N:a C:>= N:b C:= C:> K:c C:<> N:d @1"},
        {"[a]!%", "N:a @1"},
        {"a#b _x $d e\xDB", "N:ab N:x N:d N:e @1"},  // left out of the names they stand in
        {"'a\r\nb' 'oops", "S:'a\r\nb' N:oops @2"},
        {"''''", "S:'''' @1"},
        {"a\r\n\r\nb\n", "N:a N:b @4"},
        {"-+*/:(),.;", "P:- P:+ P:* P:/ P:: P:( P:) P:, P:. P:; @1"},
    };
    for (const auto& [text, tokens] : cases) EXPECT_EQ(Scan(text), tokens) << text;
    // The longest string is 1,024 bytes with its quotes; one more byte ends
    // the input.
    const std::string longest = "'" + std::string(1022, 'x') + "'";
    EXPECT_EQ(Scan("a " + longest), "N:a S:" + longest + " @1");
    for (const size_t over : {1023, 1024})
        EXPECT_EQ(Scan("a '" + std::string(over, 'x') + "' b"), "N:a @1") << over;
}

// The schema's tables, columns and column lists: found by name or place,
// added once, -1 for what is not there.
TEST_F(SqlScript, TheSchemaFindsAndAddsTablesColumnsAndListedColumns)
{
    Schema s;
    std::string lines;
    s.report = [&lines](const std::string& line) { lines += line; };
    EXPECT_EQ(sql::AddTable(s, "a"), 0);
    EXPECT_EQ(sql::AddTable(s, "b"), 1);
    EXPECT_EQ(sql::AddColumn(s, 0, "x"), 0);
    EXPECT_EQ(sql::AddColumn(s, 0, "y"), 1);
    EXPECT_EQ(sql::AddColumn(s, 1, "z"), 0);
    EXPECT_EQ(sql::AddColumn(s, 2, "q"), -1);
    EXPECT_EQ(sql::AddColumn(s, -1, "q"), -1);
    EXPECT_EQ(lines, "Table a\nTable b\n          column x\n          column y\n          column z\n");
    const std::tuple<int32_t, const char*, int32_t> columns[] = {
        {0, "y", 1}, {0, "x", 0}, {1, "z", 0}, {0, "z", -1}, {2, "x", -1}, {-1, "x", -1}};
    for (const auto& [table, name, found] : columns) EXPECT_EQ(sql::FindColumn(s, table, name), found) << name;
    for (const auto& [name, found] : {std::pair("b", 1), std::pair("a", 0), std::pair("c", -1)})
        EXPECT_EQ(sql::FindTable(s, name), found) << name;
    // The top list holds each (table, column) once, in order.
    EXPECT_EQ(sql::FindColumnList(s, 0, 1), -1) << "no list";
    ASSERT_TRUE(sql::PushColumnList(s));
    for (const auto& [table, column] : {std::pair(0, 1), std::pair(1, 0), std::pair(0, 1), std::pair(0, -1)})
        sql::AddColumnList(s, table, column);
    EXPECT_EQ(s.stack[0].items.size(), 2u);
    const std::tuple<int32_t, int32_t, int32_t> listed[] = {{0, 1, 0}, {1, 0, 1}, {1, 1, -1}, {0, 0, -1}};
    for (const auto& [table, column, at] : listed) EXPECT_EQ(sql::FindColumnList(s, table, column), at) << table << column;
}

TEST_F(SqlScript, TheFirstErrorEndsTheParseWithItsLine)
{
    const std::tuple<std::string, std::string> cases[] = {
        {"Create Table t (a INT);", "Line 1 syntax error at Create\n"},
        {"CREATE TABLE t (a INT)", "Table t\n          column a\nLine 1 syntax error at \n"},
        {"\n\nCREATE TABLE t (a INT, );", "Table t\n          column a\nLine 3 syntax error at )\n"},
        // A line ends with LF, CR or CR LF.
        {"\r\rCREATE TABLE t (a INT, );", "Table t\n          column a\nLine 3 syntax error at )\n"},
        {"\r\n\r\nCREATE TABLE t (a INT, );", "Table t\n          column a\nLine 3 syntax error at )\n"},
        {"CREATE TABLE t (a INT DEFAULT 'x\ry'\r, );", "Table t\n          column a\nLine 3 syntax error at )\n"},
        {"CREATE TABLE t (a INT DEFAULT 'x\r\ny'\r\n, );", "Table t\n          column a\nLine 3 syntax error at )\n"},
        {"", "Line 1 syntax error at \n"},
        {"SELECT a FROM t;", "Line 1 syntax error at FROM\n"},
        // The whole token, however long, in the line.
        {"DROP TABLE t " + std::string(1000, 'n') + ";", "Table t\nLine 1 syntax error at " + std::string(1000, 'n') + "\n"},
        {"DELETE FROM t WHERE (a + 1);", "Table t\n          column a\nLine 1 syntax error at ;\n"},
        {"SELECT c INTO :x FROM t WHERE " + std::string(101, '(') + "c = 1" + std::string(101, ')') + ";",
         "Table t\nLine 1 statements nested too deeply at (\n"},
    };
    for (const auto& [script, report] : cases) {
        EXPECT_EQ(Parse(script), -1) << script;
        EXPECT_EQ(report_, report) << script;
    }
}

TEST_F(SqlScript, StatementsFillTheSchemaAndMentionedNamesEnterIt)
{
    // FOREIGN KEY makes the relation; a REFERENCES after a column makes
    // none, and the report says so.
    const std::tuple<std::string, std::string, size_t> references[] = {
        {"CREATE TABLE a (x INT, FOREIGN KEY (x) REFERENCES b (y));",
         "Table a\n          column x\nTable b\n          column y\n", 1},
        {"CREATE TABLE a (x INT REFERENCES b (y, z), w INT REFERENCES b);",
         "Table a\n          column x\nTable b\n          column y\n          column z\n"
         "          column x REFERENCES b (y, z): no relation made, only FOREIGN KEY makes one\n"
         "          column w\n"
         "          column w REFERENCES b: no relation made, only FOREIGN KEY makes one\n",
         0},
    };
    for (const auto& [script, report, links] : references) {
        ASSERT_EQ(Parse(script), 0) << script;
        EXPECT_EQ(report_, report) << script;
        ASSERT_EQ(schema_.links.size(), links) << script;
    }
    ASSERT_EQ(Parse(std::get<0>(references[0])), 0);
    EXPECT_EQ(std::tuple(schema_.links[0].fromTable, schema_.links[0].fromColumn, schema_.links[0].toTable,
                         schema_.links[0].toColumn),
              std::tuple(0, 0, 1, 0));
    ASSERT_EQ(Parse("CREATE SCHEMA AUTHORIZATION me CREATE TABLE s.t (c CHAR NOT NULL UNIQUE, d INT NOT NULL, "
                    "e INT DEFAULT 5 CHECK (e > 0 AND NOT e BETWEEN 7 AND 9) REFERENCES u (v), UNIQUE (c, c), "
                    "PRIMARY KEY (d)) GRANT SELECT, UPDATE (c) ON t TO PUBLIC WITH GRANT OPTION;"
                    "CREATE UNIQUE INDEX i ON t (e DESC); CREATE INDEX j ON w (k);"
                    "MODULE m LANGUAGE C AUTHORIZATION me DECLARE k CURSOR FOR SELECT * FROM t ORDER BY 1 "
                    "PROCEDURE p :x INT SQLCODE; OPEN k FETCH k INTO :x :y CLOSE k;"
                    "UPDATE t SET c = NULL, f = 1 WHERE s.x.z IN (1, 'a') OR EXISTS (SELECT MAX(DISTINCT c) FROM t);"
                    "WHENEVER NOT FOUND GOTO done; DROP TABLE z;"),
              0)
        << report_;
    const std::vector<std::string> tables = {"t", "u", "w", "x", "z"};
    ASSERT_EQ(schema_.tables.size(), tables.size());
    for (size_t i = 0; i < tables.size(); ++i) EXPECT_EQ(schema_.tables[i].name, tables[i]);
    const std::tuple<size_t, size_t, const char*, uint16_t> columns[] = {
        {0, 0, "c", 0xE000}, {0, 1, "d", 0xE000}, {0, 2, "e", 0xC000}, {0, 3, "f", 0}, {1, 0, "v", 0},
        {2, 0, "k", 0x8000}, {3, 0, "z", 0}};
    for (const auto& [t, c, name, flags] : columns)
        EXPECT_EQ(std::tuple(Column(t, c).name, Column(t, c).flags), std::tuple(name, flags)) << name;
    EXPECT_TRUE(schema_.links.empty());
    // Names longer than 31 bytes are cut.
    ASSERT_EQ(Parse("DROP TABLE " + std::string(40, 'n') + ";"), 0);
    EXPECT_EQ(schema_.tables[0].name, std::string(31, 'n'));
}

TEST_F(SqlScript, EveryKindOfStatementIsAcceptedAndNamesItsTables)
{
    // Each script, the tables its names enter in order (a view is one), and
    // its relations.
    const std::tuple<std::string, std::string, size_t> cases[] = {
        {"CREATE VIEW v (a, b) AS SELECT x, y FROM t WHERE x IS NOT NULL WITH CHECK OPTION;", "v t ", 0},
        {"CREATE VIEW v AS SELECT DISTINCT t.x FROM t, u WHERE t.x = ANY (SELECT y FROM u) GROUP BY t.x "
         "HAVING COUNT(*) > 1;",
         "v t u ", 0},
        {"GRANT ALL PRIVILEGES ON t TO a, b; GRANT INSERT, DELETE, REFERENCES (c) ON u TO PUBLIC;", "t u ", 0},
        {"INSERT INTO t (a, b) VALUES (NULL, USER); INSERT INTO u SELECT * FROM t;", "t u ", 0},
        {"DELETE FROM t WHERE CURRENT OF k; COMMIT WORK; ROLLBACK WORK;", "t ", 0},
        {"SELECT ALL a, -b * 2 INTO :x INDICATOR :i, :y FROM t WHERE a LIKE 'z%' ESCAPE '!' AND NOT b < SOME "
         "(SELECT c FROM u);",
         "t u ", 0},
        // A union only in a cursor; a subquery is one query.
        {"MODULE m LANGUAGE C AUTHORIZATION me DECLARE k CURSOR FOR SELECT a FROM t UNION ALL SELECT b FROM u "
         "ORDER BY 1 DESC PROCEDURE p SQLCODE; OPEN k;",
         "t u ", 0},
        {"WHENEVER SQLERROR CONTINUE; WHENEVER NOT FOUND CONTINUE;", "", 0},
        {"MODULE LANGUAGE ADA AUTHORIZATION me PROCEDURE p SQLCODE; COMMIT WORK PROCEDURE q :a CHAR(3) SQLCODE; "
         "UPDATE t SET a = :a WHERE CURRENT OF k;",
         "t ", 0},
        // A reference written after a column makes no relation.
        {"CREATE TABLE a (x INT REFERENCES b (z), y INT, FOREIGN KEY (y) REFERENCES a (x), CHECK (x <> y));",
         "a b ", 1},
        {"DROP VIEW s.v; DROP INDEX i; CREATE INDEX i ON t (a ASC, b);", "v t ", 0},
        {"create table t (c int); drop table t;", "t ", 0},
    };
    for (const auto& [script, tables, links] : cases) {
        ASSERT_EQ(Parse(script), 0) << script << report_;
        std::string names;
        for (const auto& t : schema_.tables) names += t.name + " ";
        EXPECT_EQ(std::tuple(names, schema_.links.size()), std::tuple(tables, links)) << script;
    }
}

TEST_F(SqlScript, AMistakeAnywhereInAStatementNamesItsToken)
{
    const std::tuple<std::string, std::string> cases[] = {
        {"CREATE TABLE t (a CHAR(x));", "x"},
        {"CREATE TABLE t (a INT NOT UNIQUE);", "UNIQUE"},
        {"CREATE TABLE t (a INT PRIMARY KEY);", "PRIMARY"},
        {"CREATE INDEX ON t (a);", "ON"},
        {"CREATE SEQUENCE s;", "SEQUENCE"},
        {"DROP SCHEMA s;", "SCHEMA"},
        {"GRANT SELECT ON t;", ";"},
        {"MODULE m LANGUAGE BASIC AUTHORIZATION me PROCEDURE p SQLCODE; COMMIT WORK;", "BASIC"},
        {"MODULE m LANGUAGE C AUTHORIZATION me;", ";"},
        {"INSERT INTO t VALUES ();", ")"},
        {"UPDATE t SET a == 1;", "="},
        {"SELECT a INTO :x FROM t WHERE a IN (SELECT b FROM u UNION SELECT c FROM w);", "UNION"},
        {"UPDATE t SET a < 1;", "<"},
        {"SELECT a INTO :x FROM t WHERE a BETWEEN 1;", ";"},
        {"SELECT a INTO :x FROM t WHERE a IS 1;", "1"},
        {"FETCH k :x;", ":"},
        {"COMMIT;", ";"},
        {"WHENEVER SQLERROR STOP;", "STOP"},
    };
    for (const auto& [script, token] : cases) {
        EXPECT_EQ(Parse(script), -1) << script;
        const size_t at = report_.rfind(" syntax error at ");
        ASSERT_NE(at, std::string::npos) << script << report_;
        EXPECT_EQ(report_.substr(at + 17), token + "\n") << script;
    }
}

TEST_F(SqlScript, ACancelledSaveKeepsTheReportAndMakesNothing)
{
    std::ofstream(out_, std::ios::binary) << "old";
    std::ofstream(folder_ / "s.sql", std::ios::binary) << "CREATE TABLE t (a INT);";
    platform::ClearFileDialogAnswers();
    platform::FileDialogAnswer cancel;
    cancel.kind = platform::FileDialogAnswer::Kind::Cancel;
    platform::PushFileDialogAnswer(cancel);
    unsigned char scriptPath[256], reportPath[256];
    apptest::ToP(folder_ / "s.sql", scriptPath);
    apptest::ToP(folder_ / "s.sql.report.txt", reportPath);
    EXPECT_EQ(SQL(scriptPath, reportPath, &made_), 1001);
    EXPECT_EQ(Report(), "Table t\n          column a\n");
    EXPECT_EQ(FileBytes(out_).size(), 3u);
    EXPECT_EQ(Leftovers(), "");
    // A script that cannot be opened: its error, and no report.
    std::filesystem::remove(folder_ / "s.sql.report.txt");
    apptest::ToP(folder_ / "none.sql", scriptPath);
    EXPECT_NE(SQL(scriptPath, reportPath, &made_), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "s.sql.report.txt"));
}

// The report is a text file whatever its name; one that cannot be written
// (no such folder, a full disk, a folder nobody may write) is the error,
// before anything is built.
TEST_F(SqlScript, TheReportIsATextFileOrTheErrorOfWritingIt)
{
    std::ofstream(folder_ / "s.sql", std::ios::binary) << "CREATE TABLE t (a INT);";
    unsigned char scriptPath[256], reportPath[256];
    apptest::ToP(folder_ / "s.sql", scriptPath);
    platform::testing::TempFolder locked;
    enum class Disk { Room, Full, Locked };
    const std::tuple<std::string, Disk, int16_t> cases[] = {{folder_ / "report", Disk::Room, 0},
                                                            {folder_ / "missing/report", Disk::Room, platform::fnfErr},
                                                            {folder_ / "full", Disk::Full, platform::dskFulErr},
                                                            {locked / "in/report", Disk::Locked, platform::permErr}};
    for (const auto& [report, disk, result] : cases) {
        platform::ClearFileDialogAnswers();
        platform::PushFileDialogAnswer(out_);
        apptest::ToP(report, reportPath);
        made_ = platform::FSSpec{};
        std::optional<platform::testing::LockedFolder> folder;
        if (disk == Disk::Locked) folder.emplace(locked / "in");
        if (disk == Disk::Full) platform::InjectFault(platform::FaultKind::DiskFull, 0, -1);
        EXPECT_EQ(SQL(scriptPath, reportPath, &made_), result) << report;
        platform::ClearAllFaults();
        folder.reset();
        EXPECT_EQ(platform::HasFileDialogAnswer(), result != 0) << "no save dialog after a failure";
        EXPECT_EQ(std::filesystem::exists(report), result == 0) << report;
        if (result != 0) continue;
        platform::FInfo info;
        ASSERT_EQ(platform::FSpGetFInfo(platform::FSSpec{report}, &info), 0);
        EXPECT_EQ(info.fdType, platform::FourCC("TEXT"));
    }
}

// A script in a folder whose name Mac Roman cannot hold is read through
// the file it is given as, and its report lands beside it.
TEST_F(SqlScript, AScriptGivenAsItsFileIsReadWhateverItsFoldersName)
{
    const std::string folder = folder_ / "P\xC5\x99\xC3\xADklady";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/s.sql", std::ios::binary) << "CREATE TABLE t (a INT);";
    unsigned char scriptPath[256], reportPath[256];
    apptest::ToP(folder_ / "P?\x92klady/s.sql", scriptPath);
    apptest::ToP(folder_ / "P?\x92klady/s.sql.report.txt", reportPath);
    platform::ClearFileDialogAnswers();
    platform::PushFileDialogAnswer(out_);
    made_ = platform::FSSpec{folder + "/s.sql"};
    EXPECT_EQ(SQL(scriptPath, reportPath, &made_), 0);
    EXPECT_EQ(made_.path, out_);
    const Bytes report = FileBytes(folder + "/s.sql.report.txt");
    EXPECT_EQ(std::string(report.begin(), report.end()), "Table t\n          column a\n");
}

// A document the program holds is never built over: the chosen name is
// refused, naming it, and the save dialog asks again.
TEST_F(SqlScript, ADocumentTheProgramHoldsIsRefusedAsTheNewStructure)
{
    std::ofstream(out_, std::ios::binary) << "held";
    std::ofstream(folder_ / "s.sql", std::ios::binary) << "CREATE TABLE t (a INT);";
    MakeAppl();
    doc_.fSpec = platform::FSSpec{out_};
    appl_->fDocList = &doc_;
    const std::string other = folder_ / "Other.QzB";
    platform::ClearFileDialogAnswers();
    platform::PushFileDialogAnswer(out_);
    platform::PushFileDialogAnswer(other);
    unsigned char scriptPath[256], reportPath[256];
    apptest::ToP(folder_ / "s.sql", scriptPath);
    apptest::ToP(folder_ / "s.sql.report.txt", reportPath);
    ResetAlerts();
    const int16_t result = SQL(scriptPath, reportPath, &made_);
    appl_->fDocList = nullptr;
    EXPECT_EQ(std::tuple(result, made_.path, AlertCount()), std::tuple(0, other, 1));
    EXPECT_EQ(LastAlert().text,
              "A document open in the program, or its working file, is at this place: choose another name than Out.QzB");
    EXPECT_EQ(FileBytes(out_), Bytes({'h', 'e', 'l', 'd'}));
}

TEST_F(SqlScript, TheStructureHoldsTheTablesFieldsAndRelations)
{
    ASSERT_EQ(Run("CREATE TABLE a (x INT NOT NULL UNIQUE, UNIQUE (x), w VARCHAR(3), v CHAR(9),"
                  " FOREIGN KEY (x) REFERENCES b (y));"
                  "CREATE TABLE c (p INT); CREATE TABLE d (p INT); CREATE TABLE e (p INT);"),
              0);
    EXPECT_EQ(made_.path, out_);
    EXPECT_EQ(Report(), "Table a\n          column x\n          column w\n          column v\nTable b\n          column y\n"
                        "Table c\n          column p\nTable d\n          column p\nTable e\n          column p\n");
    const Bytes a = Definition(1), b = Definition(2);
    EXPECT_EQ(platform::ReadBE16(&a[0]), 3);
    EXPECT_EQ(a[8], 1) << "a VARCHAR field";
    const uint8_t* x = Field(a, 1);
    EXPECT_EQ(std::tuple(x[32], platform::ReadBE16(x + 40), platform::ReadBE16(x + 42), x[48]), std::tuple(9, 2, 1, 0xEE));
    const uint8_t* v = Field(a, 3);
    EXPECT_EQ(std::tuple(v[32], platform::ReadBE16(v + 34), v[48], v[49], platform::ReadBE16(v + 60)),
              std::tuple(0, 9, 0x0C, 0x60, 0x4000));
    EXPECT_EQ(std::tuple(int16_t(platform::ReadBE16(v + 44)), int16_t(platform::ReadBE16(v + 46))), std::tuple(-1, -1));
    // y takes x's type and flags; both ends of the relation bits 7 and 1.
    const uint8_t* y = Field(b, 1);
    EXPECT_EQ(std::tuple(y[32], y[48] & 0x82), std::tuple(9, 0x82));
    // The boxes: four in a row 200 apart, the fifth on the next row.
    const int16_t boxes[5][2] = {{10, 10}, {210, 10}, {410, 10}, {610, 10}, {10, 160}};
    for (int16_t t = 1; t <= 5; ++t) {
        const Bytes def = Definition(t);
        EXPECT_EQ(std::tuple(platform::ReadBE16(&def[16]), platform::ReadBE16(&def[14]), platform::ReadBE16(&def[20]),
                             platform::ReadBE16(&def[18])),
                  std::tuple(boxes[t - 1][0], boxes[t - 1][1], boxes[t - 1][0] + 50, boxes[t - 1][1] + 100))
            << t;
    }
    // The structure reads back with its tables and fields.
    ASSERT_EQ(Read(), 0);
    for (const char* table : {"a", "b", "c", "d", "e"}) EXPECT_NE(Find(1, table), nullptr) << table;
}

TEST_F(SqlScript, DropTableAloneMakesOneEmptyTable)
{
    ASSERT_EQ(Run("DROP TABLE z;"), 0);
    const Bytes z = Definition(1);
    EXPECT_EQ(platform::ReadBE16(&z[0]), 0);
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(Find(1, "z"), nullptr);
}

TEST_F(SqlScript, AFailingBuildLeavesNothingAndTheOldFileAsItWas)
{
    std::ofstream(out_, std::ios::binary) << "the user's old file";
    std::string tables, fields;
    for (int i = 0; i < 256; ++i) tables += "DROP TABLE t" + std::to_string(i) + ";";
    for (int i = 0; i < 512; ++i) fields += std::string(i ? ", " : "") + "f" + std::to_string(i) + " INT";
    // Past the tables or columns a structure holds: refused before the
    // save dialog, the report ending on the line and the name past the limit.
    const std::tuple<std::string, int16_t, std::string> cases[] = {
        {tables, sql::kTooManyTables, "Line 1 one table more than the 255 a structure holds, at t255\n"},
        {"CREATE TABLE t (\n" + fields + ");", sql::kTooManyFields,
         "Line 2 one column more than the 511 fields a table holds, at f511\n"},
        {"CREATE TABLE t (a INT);;", -1, "Line 1 syntax error at ;\n"},
        // A name with characters Mac Roman lacks is never cut or changed.
        {"CREATE TABLE t (\nKunden_\u65E5\u672C INT);", -1,
         "Line 2 a name with characters a structure cannot hold, each shown here as ?, at Kunden_??\n"},
    };
    for (const auto& [script, result, last] : cases) {
        EXPECT_EQ(Run(script), result);
        EXPECT_TRUE(platform::HasFileDialogAnswer()) << result;
        const std::string report = Report();
        EXPECT_EQ(report.substr(report.rfind('\n', report.size() - 2) + 1), last);
        EXPECT_EQ(FileBytes(out_), Bytes({'t', 'h', 'e', ' ', 'u', 's', 'e', 'r', '\'', 's', ' ', 'o', 'l', 'd', ' ',
                                          'f', 'i', 'l', 'e'}));
        EXPECT_EQ(Leftovers(), "") << result;
    }
    // A relation to a field its table lacks: 1013, and nothing is left.
    Schema schema;
    schema.tables = {sql::Table{"a", {sql::Column{"x", 9}}, {}}};
    schema.links = {sql::Link{0, 0, 0, 5}};
    platform::ClearFileDialogAnswers();
    platform::PushFileDialogAnswer(out_);
    platform::FSSpec made;
    EXPECT_EQ(sql::CreateSQLBase(schema, folder_ / "s.sql", &made), sql::kNoSuchField);
    EXPECT_EQ(FileBytes(out_).size(), 19u);
    EXPECT_EQ(Leftovers(), "");
}

TEST_F(SqlScript, TheBuildingNeverTouchesTheUsersFilesAndALeftBuildingGoesFirst)
{
    // The user's files on names a building could have taken stay as they
    // are; what a killed building of the same name left (a whole building
    // pair, a made pair) goes before the next building starts.
    const std::string mine[] = {"Out building.QzB", "Out building.RSR", "Out building 2.QzB"};
    for (const std::string& name : mine) std::ofstream(folder_ / name, std::ios::binary) << name;
    platform::FSSpec data, companion;
    ASSERT_TRUE(BuildingPair(platform::FSSpec{out_}, &data, &companion));
    for (const std::string& left : {data.path, companion.path, std::string(folder_ / ".qz.Out.QzB.new")})
        std::ofstream(left, std::ios::binary) << "left by a killed building";
    ASSERT_EQ(Run("CREATE TABLE t (a INT);"), 0);
    EXPECT_EQ(made_.path, out_);
    for (const std::string& name : mine) EXPECT_EQ(FileBytes(folder_ / name), Bytes(name.begin(), name.end())) << name;
    EXPECT_EQ(Leftovers(), "._Out.RSR Out building 2.QzB Out building.QzB Out building.RSR Out.RSR ");
    Open(out_);
    ASSERT_EQ(Read(), 0);
    EXPECT_NE(Find(1, "t"), nullptr);
}

// The building steps one by one: tables and fields numbered from 1 in the
// order made, what is not there refused.
TEST_F(SqlScript, TheStepsNumberTheTablesAndFieldsTheyMake)
{
    platform::ClearFileDialogAnswers();
    platform::PushFileDialogAnswer(out_);
    sql::NewBase base;
    ASSERT_EQ(sql::_CreateQzBase(folder_ / "s.sql", 2, &base), 0);
    ASSERT_EQ(sql::_OpenQzB(&base), 0);
    int16_t tables[2] = {}, fields[3] = {};
    EXPECT_EQ(sql::_NewQzFile(&base, base.container, "t", 10, 10, &tables[0]), 0);
    EXPECT_EQ(sql::_NewQzFile(&base, base.container, "u", 210, 10, &tables[1]), 0);
    EXPECT_EQ(sql::_NewCritere(base.container, 2, "a", 9, 0, 0, &fields[0]), 0);
    EXPECT_EQ(sql::_NewCritere(base.container, 2, "b", 9, 0, 0, &fields[1]), 0);
    EXPECT_EQ(sql::_NewCritere(base.container, 1, "c", 9, 0, 0, &fields[2]), 0);
    EXPECT_EQ(std::vector<int16_t>(tables, tables + 2), (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(std::vector<int16_t>(fields, fields + 3), (std::vector<int16_t>{1, 2, 1}));
    int16_t none = 0;
    EXPECT_EQ(sql::_NewCritere(base.container, 3, "d", 9, 0, 0, &none), sql::kNoSuchTable);
    EXPECT_EQ(sql::_NewCritere(base.container, 0, "d", 9, 0, 0, &none), sql::kNoSuchTable);
    EXPECT_EQ(sql::_DoQzLink(base.container, 2, 3, 1, 1, 0), sql::kNoSuchField);
    EXPECT_EQ(sql::_DoQzLink(base.container, 2, 1, 3, 1, 0), sql::kNoSuchTable);
    EXPECT_EQ(sql::_DoQzLink(base.container, 2, 2, 1, 1, 0), 0);
    EXPECT_EQ(sql::_CloseQzB(&base), 0);
    EXPECT_NE(base.building.path, out_) << "built under its own name";
    std::filesystem::remove(base.building.path);
    std::filesystem::remove(std::filesystem::path(base.building.path).replace_extension(".RSR"));
}

TEST_F(SqlScript, AChosenNameTooLongForTheBuildingNameIsRefused)
{
    // A long chosen name still takes its hidden building name; from a stem
    // of 243 characters on, the building's names would pass 255: a bad
    // name, never a shortened one, and the user's file stays as it was.
    const std::tuple<size_t, int16_t> cases[] = {{230, 0}, {243, platform::bdNamErr}, {251, platform::bdNamErr}};
    for (const auto& [stem, result] : cases) {
        const std::string target = folder_ / (std::string(stem, 'n') + ".QzB");
        std::ofstream(target, std::ios::binary) << "old";
        EXPECT_EQ(Run("CREATE TABLE t (a INT);", target), result) << stem;
        if (result == 0) {
            EXPECT_EQ(made_.path, target);
            EXPECT_GT(FileBytes(target).size(), 3u);
        } else {
            EXPECT_EQ(FileBytes(target), Bytes({'o', 'l', 'd'})) << stem;
        }
        std::string left;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path()))
            if (e.path().filename().string().rfind(".qz.", 0) == 0) left += e.path().filename().string();
        EXPECT_EQ(left, "") << stem;
    }
}

}  // namespace
}  // namespace readtest
