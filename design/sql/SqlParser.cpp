#include "design/sql/SqlParser.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <optional>

#include "kernel/fields/FieldTypes.h"

namespace sql {
namespace {

struct Token {
    Tok kind = Tok::End;
    std::string text;
    int32_t line = 1;
};

// A name as written, with its line.
struct Word {
    std::string text;
    int32_t line = 0;
};

struct Failure {
    int16_t code;
    std::optional<Word> at = {};  // the word at fault; else the current token
};

// What an expression turned out to be: a value, or a condition.
enum class Expr { Scalar, Column, Condition };

class Parser {
public:
    Parser(Scanner& scanner, Schema& schema) : scanner_(scanner), s_(schema) {}

    ParseError Run()
    {
        ParseError error;
        try {
            // One statement or more, each ended by ";".
            do {
                Statement();
                ExpectPunct(';');
            } while (!Is(Tok::End));
        } catch (const Failure& f) {
            error.code = f.code;
            error.line = f.at ? f.at->line : Cur().line;
            error.token = f.at ? f.at->text : Cur().text;
        } catch (const std::bad_alloc&) {
            error.code = kOutOfMemory;
            error.line = scanner_.Line();
        }
        return error;
    }

private:
    // Tokens.
    // The tokens read ahead: a ring of four (the grammar looks two ahead).
    const Token& Ahead(size_t n)
    {
        while (count_ <= n) {
            Token& t = ring_[(first_ + count_) % kRing];
            t.kind = scanner_.Next();
            scanner_.SwapText(t.text);
            t.line = scanner_.Line();
            ++count_;
        }
        return ring_[(first_ + n) % kRing];
    }
    const Token& Cur() { return Ahead(0); }
    void Advance()
    {
        Cur();
        first_ = (first_ + 1) % kRing;
        --count_;
    }
    bool Is(Tok kind) { return Cur().kind == kind; }
    bool IsPunct(char c) { return Is(Tok::Punct) && Cur().text[0] == c; }
    bool AheadIs(size_t n, Tok kind) { return Ahead(n).kind == kind; }
    bool AheadPunct(size_t n, char c) { return Ahead(n).kind == Tok::Punct && Ahead(n).text[0] == c; }
    [[noreturn]] void Fail() { throw Failure{kSyntaxError}; }
    void Expect(Tok kind)
    {
        if (!Is(kind)) Fail();
        Advance();
    }
    void ExpectPunct(char c)
    {
        if (!IsPunct(c)) Fail();
        Advance();
    }
    bool Accept(Tok kind)
    {
        if (!Is(kind)) return false;
        Advance();
        return true;
    }
    bool AcceptPunct(char c)
    {
        if (!IsPunct(c)) return false;
        Advance();
        return true;
    }
    // A name; the language C's keyword serves as one too ("c" is a
    // column as often as a language).
    bool IsName() { return Is(Tok::Name) || Is(Tok::C); }
    Word NameWord()
    {
        if (!IsName()) Fail();
        Word word{Cur().text, Cur().line};
        Advance();
        return word;
    }
    std::string Name() { return NameWord().text; }
    int32_t Number()
    {
        if (!Is(Tok::IntNum)) Fail();
        const long long n = std::strtoll(Cur().text.c_str(), nullptr, 10);
        Advance();
        return int32_t(std::min<long long>(n, 0x7FFFFFFF));
    }

    // Nesting of the constructs that can hold themselves.
    struct Nest {
        explicit Nest(Parser& p) : p(p)
        {
            if (++p.depth_ > kMaxNesting) throw Failure{kTooDeep};
        }
        ~Nest() { --p.depth_; }
        Parser& p;
    };

    // Names in the schema: the table or column named, found or added; one
    // more than a structure holds, or a name it cannot hold, ends the
    // parse, naming it.
    static void Held(const Word& name)
    {
        if (name.text.find(kUnheldCharacter) != std::string::npos) throw Failure{kUnheldName, name};
    }
    int32_t TableCalled(const Word& name)
    {
        Held(name);
        if (FindTable(s_, name.text) < 0 && s_.tables.size() >= size_t(kMaxTables)) throw Failure{kTableLimit, name};
        return TableNamed(s_, name.text);
    }
    int32_t ColumnCalled(int32_t table, const Word& name)
    {
        Held(name);
        if (table >= 0 && FindColumn(s_, table, name.text) < 0 &&
            s_.tables[size_t(table)].columns.size() >= size_t(kMaxFields))
            throw Failure{kColumnLimit, name};
        return ColumnNamed(s_, table, name.text);
    }
    // table: NAME or NAME.NAME; the last part names the table.
    int32_t TableName(bool definition)
    {
        Word name = NameWord();
        if (AcceptPunct('.')) name = NameWord();
        const int32_t table = TableCalled(name);
        (definition ? s_.defTable : s_.refTable) = table;
        return table;
    }
    // column_ref: NAME, TABLE.NAME or SCHEMA.TABLE.NAME.
    void ColumnRef()
    {
        Word first = NameWord();
        if (!AcceptPunct('.')) {
            if (s_.refTable >= 0) s_.refColumn = ColumnCalled(s_.refTable, first);
            return;
        }
        Word table = NameWord(), column;
        if (AcceptPunct('.')) {
            column = NameWord();
        } else {
            column = table;
            table = first;
        }
        s_.refColumn = ColumnCalled(TableCalled(table), column);
    }
    // '(' column, ... ')' of a table, into a new list of the stack.
    void ColumnList(int32_t table)
    {
        if (!PushColumnList(s_)) throw Failure{kTooDeep};
        ExpectPunct('(');
        do {
            const Word name = NameWord();
            if (table >= 0) AddColumnList(s_, table, ColumnCalled(table, name));
        } while (AcceptPunct(','));
        ExpectPunct(')');
    }
    void SetFlags(uint16_t flags)
    {
        for (const auto& [table, column] : s_.stack[s_.stackTop].items)
            s_.tables[size_t(table)].columns[size_t(column)].flags |= flags;
    }
    Column* DefColumn()
    {
        if (s_.defTable < 0 || s_.defColumn < 0) return nullptr;
        return &s_.tables[size_t(s_.defTable)].columns[size_t(s_.defColumn)];
    }

    // Statements.
    void Statement()
    {
        switch (Cur().kind) {
        case Tok::CREATE:
            if (AheadIs(1, Tok::SCHEMA)) SchemaDef();
            else if (AheadIs(1, Tok::TABLE)) BaseTable();
            else if (AheadIs(1, Tok::VIEW)) View();
            else if (AheadIs(1, Tok::INDEX) || AheadIs(1, Tok::UNIQUE)) Index();
            else {
                Advance();
                Fail();
            }
            break;
        case Tok::DROP:
            Advance();
            if (Accept(Tok::TABLE) || Accept(Tok::VIEW)) {
                TableName(false);
            } else {
                Expect(Tok::INDEX);
                Name();
            }
            break;
        case Tok::GRANT: Privilege(); break;
        case Tok::MODULE: Module(); break;
        case Tok::WHENEVER:
            Advance();
            if (Accept(Tok::NOT)) Expect(Tok::FOUND);
            else Name();
            if (Accept(Tok::GOTO)) Name();
            else Expect(Tok::CONTINUE);
            break;
        default:
            if (!Manipulative()) Fail();
            break;
        }
    }

    void SchemaDef()
    {
        Expect(Tok::CREATE);
        Expect(Tok::SCHEMA);
        Expect(Tok::AUTHORIZATION);
        Name();
        for (;;) {
            if (Is(Tok::CREATE) && AheadIs(1, Tok::TABLE)) BaseTable();
            else if (Is(Tok::CREATE) && AheadIs(1, Tok::VIEW)) View();
            else if (Is(Tok::GRANT)) Privilege();
            else break;
        }
    }

    void BaseTable()
    {
        Expect(Tok::CREATE);
        Expect(Tok::TABLE);
        DefineTable(s_, TableName(true));
        s_.defColumn = -1;
        ExpectPunct('(');
        do {
            switch (Cur().kind) {
            case Tok::UNIQUE: case Tok::PRIMARY: case Tok::FOREIGN: case Tok::CHECK: TableConstraint(); break;
            default: ColumnDef(); break;
            }
        } while (AcceptPunct(','));
        ExpectPunct(')');
    }

    void ColumnDef()
    {
        const Word name = NameWord();
        if (s_.defTable >= 0) {
            s_.defColumn = ColumnCalled(s_.defTable, name);
            DefineColumn(s_, s_.defTable, s_.defColumn);
        }
        DataType(true);
        for (;;) {
            if (Accept(Tok::NOT)) {
                Expect(Tok::NULLX);
                uint16_t flags = kNotNull;
                if (Accept(Tok::UNIQUE)) {
                    flags |= kIndexed | kUnique;
                } else if (Accept(Tok::PRIMARY)) {
                    Expect(Tok::KEY);
                    flags |= kIndexed | kUnique;
                }
                if (Column* c = DefColumn()) c->flags |= flags;
            } else if (Accept(Tok::DEFAULT)) {
                if (!Accept(Tok::NULLX) && !Accept(Tok::USER)) Literal();
            } else if (Is(Tok::CHECK)) {
                Advance();
                ExpectPunct('(');
                SearchCondition();
                ExpectPunct(')');
            } else if (Accept(Tok::REFERENCES)) {
                // Only FOREIGN KEY makes a relation: the report says this
                // one was passed over.
                const int32_t table = TableName(false);
                std::vector<int32_t> columns;
                if (IsPunct('(')) {
                    ColumnList(table);
                    for (const auto& item : s_.stack[s_.stackTop].items) columns.push_back(item.second);
                    PopColumnList(s_);
                }
                if (DefColumn()) ReportUnrelatedReference(s_, s_.defTable, s_.defColumn, table, columns);
            } else {
                break;
            }
        }
    }

    void TableConstraint()
    {
        if (Accept(Tok::CHECK)) {
            ExpectPunct('(');
            SearchCondition();
            ExpectPunct(')');
            return;
        }
        if (Accept(Tok::UNIQUE) || (Accept(Tok::PRIMARY) && (Expect(Tok::KEY), true))) {
            ColumnList(s_.defTable);
            SetFlags(kIndexed | kUnique);
            PopColumnList(s_);
            return;
        }
        Expect(Tok::FOREIGN);
        Expect(Tok::KEY);
        const int32_t from = s_.defTable;
        ColumnList(from);
        Expect(Tok::REFERENCES);
        const int32_t to = TableName(false);
        if (IsPunct('(')) {
            ColumnList(to);
            // One link per referenced column; the i-th of the first list
            // refers to it, the first one when the first list is shorter.
            const auto& keys = s_.stack[s_.stackTop - 1].items;
            const auto& targets = s_.stack[s_.stackTop].items;
            for (size_t i = 0; i < targets.size() && !keys.empty(); ++i) {
                const auto& key = i < keys.size() ? keys[i] : keys[0];
                AddLink(s_, key.first, key.second, targets[i].first, targets[i].second);
            }
            PopColumnList(s_);
        }
        PopColumnList(s_);
    }

    // The data types; with `apply` they set the column being defined.
    void DataType(bool apply)
    {
        int32_t type = -1, length = -1;  // -1: unchanged
        auto optionalSize = [&](int32_t* n) {
            if (!AcceptPunct('(')) return false;
            *n = Number();
            ExpectPunct(')');
            return true;
        };
        auto characters = [&] {
            int32_t n = 0;
            const bool sized = optionalSize(&n);
            if (Accept(Tok::VARYING)) {
                optionalSize(&n);
                type = fieldtype::kText;
            } else {
                type = fieldtype::kAlpha;
                length = sized ? std::min(n, 80) : 2;
            }
        };
        int32_t n = 0;
        switch (Cur().kind) {
        case Tok::CHAR: Advance(); characters(); break;
        case Tok::NCHAR: Advance(); characters(); break;
        case Tok::NATIONAL: Advance(); Expect(Tok::CHAR); characters(); break;
        case Tok::VARCHAR: Advance(); optionalSize(&n); type = fieldtype::kText; break;
        case Tok::NUMERIC:
        case Tok::DEC:
            Advance();
            if (AcceptPunct('(')) {
                Number();
                if (AcceptPunct(',')) Number();
                ExpectPunct(')');
            }
            type = fieldtype::kReal;
            break;
        case Tok::BIGINT: Advance(); type = fieldtype::kReal; break;
        case Tok::SMALLINT: case Tok::TINYINT: Advance(); type = fieldtype::kInteger; break;
        case Tok::INT: Advance(); type = fieldtype::kLongInteger; break;
        case Tok::FLOAT: Advance(); optionalSize(&n); type = fieldtype::kReal; break;
        case Tok::REAL: Advance(); type = fieldtype::kReal; break;
        case Tok::DOUBLE: Advance(); Accept(Tok::PRECISION); type = fieldtype::kReal; break;
        case Tok::BIT:
            Advance();
            type = fieldtype::kBoolean;
            if (Accept(Tok::VARYING)) {
                optionalSize(&n);
                type = fieldtype::kBlob;
            } else if (optionalSize(&n)) {
                type = fieldtype::kBlob;
            }
            break;
        case Tok::BINARY: Advance(); optionalSize(&n); type = fieldtype::kBlob; break;
        case Tok::DATE: Advance(); type = fieldtype::kDate; break;
        case Tok::TIME: case Tok::TIMESTAMP:
            Advance();
            optionalSize(&n);
            if (Accept(Tok::WITH)) {
                Expect(Tok::TIME);
                Expect(Tok::ZONE);
            }
            type = fieldtype::kTime;
            break;
        case Tok::VARBINARY: Advance(); optionalSize(&n); break;
        case Tok::LONG:
            Advance();
            if (!Accept(Tok::VARBINARY)) Expect(Tok::VARCHAR);
            optionalSize(&n);
            break;
        default: Fail();
        }
        Column* c = apply ? DefColumn() : nullptr;
        if (!c) return;
        if (type >= 0) c->type = type;
        if (length >= 0) c->length = int16_t(length);
    }

    void View()
    {
        Expect(Tok::CREATE);
        Expect(Tok::VIEW);
        const int32_t table = TableName(false);
        if (IsPunct('(')) {
            ColumnList(table);
            PopColumnList(s_);
        }
        Expect(Tok::AS);
        QuerySpec();
        if (Accept(Tok::WITH)) {
            Expect(Tok::CHECK);
            Expect(Tok::OPTION);
        }
    }

    void Index()
    {
        Expect(Tok::CREATE);
        const bool unique = Accept(Tok::UNIQUE);
        Expect(Tok::INDEX);
        Name();
        Expect(Tok::ON);
        const int32_t table = TableName(false);
        if (!PushColumnList(s_)) throw Failure{kTooDeep};
        ExpectPunct('(');
        do {
            AddColumnList(s_, table, ColumnCalled(table, NameWord()));
            if (!Accept(Tok::ASC)) Accept(Tok::DESC);
        } while (AcceptPunct(','));
        ExpectPunct(')');
        SetFlags(unique ? kIndexed | kUnique : kIndexed);
        PopColumnList(s_);
    }

    void Privilege()
    {
        Expect(Tok::GRANT);
        if (Accept(Tok::ALL)) {
            Accept(Tok::PRIVILEGES);
        } else {
            do {
                if (Accept(Tok::SELECT) || Accept(Tok::INSERT) || Accept(Tok::DELETE)) continue;
                if (!Accept(Tok::UPDATE)) Expect(Tok::REFERENCES);
                if (IsPunct('(')) {
                    ColumnList(s_.refTable);
                    PopColumnList(s_);
                }
            } while (AcceptPunct(','));
        }
        Expect(Tok::ON);
        TableName(false);
        Expect(Tok::TO);
        do {
            if (!Accept(Tok::PUBLIC)) Name();
        } while (AcceptPunct(','));
        if (Accept(Tok::WITH)) {
            Expect(Tok::GRANT);
            Expect(Tok::OPTION);
        }
    }

    void Module()
    {
        Expect(Tok::MODULE);
        if (IsName()) Advance();
        Expect(Tok::LANGUAGE);
        switch (Cur().kind) {
        case Tok::COBOL: case Tok::FORTRAN: case Tok::PASCAL: case Tok::PLI: case Tok::C: case Tok::ADA: Advance(); break;
        default: Fail();
        }
        Expect(Tok::AUTHORIZATION);
        Name();
        while (Accept(Tok::DECLARE)) {
            Name();
            Expect(Tok::CURSOR);
            Expect(Tok::FOR);
            QueryExp();
            if (Accept(Tok::ORDER)) {
                Expect(Tok::BY);
                do {
                    if (!Accept(Tok::IntNum)) ColumnRef();
                    if (!Accept(Tok::ASC)) Accept(Tok::DESC);
                } while (AcceptPunct(','));
            }
        }
        do {
            Expect(Tok::PROCEDURE);
            Name();
            do {
                if (Accept(Tok::SQLCODE)) continue;
                AcceptPunct(':');
                Name();
                DataType(false);
            } while (!IsPunct(';'));
            ExpectPunct(';');
            if (!Manipulative()) Fail();
            while (Manipulative()) {
            }
        } while (Is(Tok::PROCEDURE));
    }

    // A data statement; false (nothing read) when none begins here.
    bool Manipulative()
    {
        switch (Cur().kind) {
        case Tok::CLOSE: case Tok::OPEN: Advance(); Name(); return true;
        case Tok::COMMIT: case Tok::ROLLBACK: Advance(); Expect(Tok::WORK); return true;
        case Tok::FETCH:
            Advance();
            Name();
            Expect(Tok::INTO);
            Targets();
            return true;
        case Tok::DELETE:
            Advance();
            Expect(Tok::FROM);
            TableName(false);
            WhereOrCurrent();
            return true;
        case Tok::INSERT: {
            Advance();
            Expect(Tok::INTO);
            const int32_t table = TableName(false);
            if (IsPunct('(')) {
                ColumnList(table);
                PopColumnList(s_);
            }
            if (Accept(Tok::VALUES)) {
                ExpectPunct('(');
                do {
                    if (!Accept(Tok::NULLX)) Atom();
                } while (AcceptPunct(','));
                ExpectPunct(')');
            } else {
                QuerySpec();
            }
            return true;
        }
        case Tok::SELECT:
            Advance();
            if (!Accept(Tok::ALL)) Accept(Tok::DISTINCT);
            Selection();
            Expect(Tok::INTO);
            Targets();
            TableExp();
            return true;
        case Tok::UPDATE: {
            Advance();
            const int32_t table = TableName(false);
            Expect(Tok::SET);
            do {
                const Word column = NameWord();
                if (table >= 0) s_.refColumn = ColumnCalled(table, column);
                if (!Is(Tok::Comparison) || Cur().text != "=") Fail();
                Advance();
                if (!Accept(Tok::NULLX)) ScalarExp();
            } while (AcceptPunct(','));
            WhereOrCurrent();
            return true;
        }
        default: return false;
        }
    }

    void WhereOrCurrent()
    {
        if (!Accept(Tok::WHERE)) return;
        if (Accept(Tok::CURRENT)) {
            Expect(Tok::OF);
            Name();
        } else {
            SearchCondition();
        }
    }

    void Targets()
    {
        do ParameterRef();
        while (AcceptPunct(','));
    }

    // Queries.
    void QueryExp()
    {
        Nest nest(*this);
        QueryTerm();
        while (Accept(Tok::UNION)) {
            Accept(Tok::ALL);
            QueryTerm();
        }
    }
    void QueryTerm()
    {
        if (AcceptPunct('(')) {
            QueryExp();
            ExpectPunct(')');
        } else {
            QuerySpec();
        }
    }
    void QuerySpec()
    {
        Nest nest(*this);
        Expect(Tok::SELECT);
        if (!Accept(Tok::ALL)) Accept(Tok::DISTINCT);
        Selection();
        TableExp();
    }
    void Selection()
    {
        if (AcceptPunct('*')) return;
        do ScalarExp();
        while (AcceptPunct(','));
    }
    void TableExp()
    {
        Expect(Tok::FROM);
        do {
            TableName(false);
            if (IsName()) Advance();  // a range variable
        } while (AcceptPunct(','));
        if (Accept(Tok::WHERE)) SearchCondition();
        if (Accept(Tok::GROUP)) {
            Expect(Tok::BY);
            do ColumnRef();
            while (AcceptPunct(','));
        }
        if (Accept(Tok::HAVING)) SearchCondition();
    }
    void Subquery()
    {
        ExpectPunct('(');
        QuerySpec();
        ExpectPunct(')');
    }

    // Conditions and values share their parenthesis: an expression is read
    // first and a condition is made of it when a predicate follows.
    void SearchCondition()
    {
        if (Or() != Expr::Condition) Fail();
    }
    Expr Or()
    {
        Nest nest(*this);
        Expr e = And();
        while (Is(Tok::OR)) {
            if (e != Expr::Condition) Fail();
            Advance();
            if (And() != Expr::Condition) Fail();
        }
        return e;
    }
    Expr And()
    {
        Expr e = Not();
        while (Is(Tok::AND)) {
            if (e != Expr::Condition) Fail();
            Advance();
            if (Not() != Expr::Condition) Fail();
        }
        return e;
    }
    Expr Not()
    {
        if (Accept(Tok::NOT)) {
            Nest nest(*this);
            if (Not() != Expr::Condition) Fail();
            return Expr::Condition;
        }
        return Predicate();
    }
    Expr Predicate()
    {
        if (Accept(Tok::EXISTS)) {
            Subquery();
            return Expr::Condition;
        }
        const Expr e = Sum();
        if (e == Expr::Condition) return e;
        if (Is(Tok::Comparison)) {
            Advance();
            if (Accept(Tok::ANY) || Accept(Tok::ALL) || Accept(Tok::SOME)) Subquery();
            else if (IsPunct('(') && AheadIs(1, Tok::SELECT)) Subquery();
            else Value();
            return Expr::Condition;
        }
        if (Is(Tok::IS)) {
            if (e != Expr::Column) Fail();
            Advance();
            Accept(Tok::NOT);
            Expect(Tok::NULLX);
            return Expr::Condition;
        }
        const bool negated = Accept(Tok::NOT);
        if (Accept(Tok::BETWEEN)) {
            Value();
            Expect(Tok::AND);
            Value();
        } else if (Accept(Tok::LIKE)) {
            Atom();
            if (Accept(Tok::ESCAPE)) Atom();
        } else if (Accept(Tok::IN)) {
            ExpectPunct('(');
            if (Is(Tok::SELECT)) {
                QuerySpec();
            } else {
                do Atom();
                while (AcceptPunct(','));
            }
            ExpectPunct(')');
        } else {
            if (negated) Fail();
            return e;
        }
        return Expr::Condition;
    }
    // A value: an expression that must not be a condition.
    void Value()
    {
        if (Sum() == Expr::Condition) Fail();
    }
    void ScalarExp() { Value(); }
    Expr Sum()
    {
        Nest nest(*this);
        Expr e = Product();
        while (IsPunct('+') || IsPunct('-')) {
            if (e == Expr::Condition) Fail();
            Advance();
            if (Product() == Expr::Condition) Fail();
            e = Expr::Scalar;
        }
        return e;
    }
    Expr Product()
    {
        Expr e = Unary();
        while (IsPunct('*') || IsPunct('/')) {
            if (e == Expr::Condition) Fail();
            Advance();
            if (Unary() == Expr::Condition) Fail();
            e = Expr::Scalar;
        }
        return e;
    }
    Expr Unary()
    {
        if (IsPunct('+') || IsPunct('-')) {
            Nest nest(*this);
            Advance();
            if (Unary() == Expr::Condition) Fail();
            return Expr::Scalar;
        }
        return Primary();
    }
    Expr Primary()
    {
        if (AcceptPunct('(')) {
            const Expr inner = Or();
            ExpectPunct(')');
            return inner == Expr::Condition ? Expr::Condition : Expr::Scalar;
        }
        if (Is(Tok::AMMSC)) {
            Advance();
            ExpectPunct('(');
            if (AcceptPunct('*')) {
            } else if (Accept(Tok::DISTINCT)) {
                ColumnRef();
            } else {
                Accept(Tok::ALL);
                Value();
            }
            ExpectPunct(')');
            return Expr::Scalar;
        }
        if (IsName()) {
            ColumnRef();
            return Expr::Column;
        }
        Atom();
        return Expr::Scalar;
    }
    void Atom()
    {
        if (IsPunct(':')) ParameterRef();
        else if (!Accept(Tok::USER)) Literal();
    }
    void Literal()
    {
        if (!Accept(Tok::String) && !Accept(Tok::IntNum)) Expect(Tok::ApproxNum);
    }
    // :name, :name :indicator, :name INDICATOR :indicator.
    void ParameterRef()
    {
        ExpectPunct(':');
        Name();
        if (IsPunct(':')) {
            Advance();
            Name();
        } else if (Accept(Tok::INDICATOR)) {
            ExpectPunct(':');
            Name();
        }
    }

    Scanner& scanner_;
    Schema& s_;
    static constexpr size_t kRing = 4;
    Token ring_[kRing];
    size_t first_ = 0, count_ = 0;
    int32_t depth_ = 0;
};

}  // namespace

ParseError ParseScript(Scanner& scanner, Schema& schema)
{
    Parser parser(scanner, schema);
    return parser.Run();
}

}  // namespace sql
