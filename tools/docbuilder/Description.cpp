#include "tools/docbuilder/Description.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>

#include "kernel/fields/FieldTypes.h"
#include "platform/core/Endian.h"
#include "platform/fonts/Fonts.h"
#include "tools/docbuilder/DescriptionText.h"

namespace docbuilder {

namespace {

// Whether the platform draws a font of that name (the system font's own
// name included).
bool KnownFont(const std::string& name)
{
    unsigned char p[256];
    p[0] = uint8_t(std::min<size_t>(name.size(), 255));
    std::memcpy(p + 1, name.data(), p[0]);
    int16_t number = 0;
    platform::GetFNum(p, &number);
    if (number != 0) return true;
    unsigned char system[256];
    platform::GetFontName(0, system);
    return p[0] == system[0] && std::equal(p + 1, p + 1 + p[0], system + 1,
                                            [](unsigned char a, unsigned char b) { return std::tolower(a) == std::tolower(b); });
}

}  // namespace

namespace {

using namespace text;

class Reader {
public:
    explicit Reader(DocumentSpec& doc) : doc_(doc) {}

    void Top(const std::vector<Node>& roots)
    {
        if (roots.empty()) Refuse(1, "the description is empty");
        const Node& first = roots[0];
        if (first.words[0] != "structure" && first.words[0] != "library")
            Refuse(first.line, "a description begins with 'structure NAME' or 'library NAME'");
        for (const Node& n : roots) Statement(n, &n == &roots[0]);
        for (auto [count, line] : generate_) AddGeneratedObjects(doc_, count, line);
    }

private:
    void NoChildren(const Node& n)
    {
        if (!n.children.empty()) Refuse(n.children[0].line, "'" + n.words[0] + "' takes no indented lines");
    }

    void Header(const Node& n, Options& o)
    {
        if (auto at = o.Key("date")) ParseDate(n, n.words[*at], doc_.date);
        doc_.seed = int32_t(o.Num("seed", doc_.seed, 1, 0x7FFFFFFE));
        doc_.level = uint8_t(o.Num("level", doc_.level, 0, 255));
        if (auto at = o.Key("order")) Order(n, n.words[*at]);
    }

    void Order(const Node& n, const std::string& w)
    {
        if (w == "big") doc_.littleEndian = false;
        else if (w == "little") doc_.littleEndian = true;
        else Refuse(n.line, "the byte order is 'big' or 'little'");
    }

    // package NAME [id N], its routines indented below; in a plug-in
    // file also [theme "TEXT"] and [unnamed].
    PackageSpec Package(const Node& n, bool inPlugInFile)
    {
        PackageSpec p;
        p.src.line = n.line;
        p.name = Name(n, 1, 31);
        Options o(n, 2);
        p.id = int32_t(o.Num("id", 0, 1, 32767));
        if (inPlugInFile) {
            if (auto at = o.Key("theme")) {
                if (n.words[*at].size() > 255) Refuse(n.line, "the theme is longer than 255 characters");
                p.theme = n.words[*at];
            }
            p.unnamed = o.Flag("unnamed");
        }
        o.Done();
        for (const Node& c : n.children) {
            if (c.words[0] != "routine") Refuse(c.line, "a package holds 'routine TEXT' lines");
            p.routines.push_back(Name(c, 1, 255));
            Done(c, 2);
        }
        return p;
    }

    // eprm ID, then "routine N [PARAMETER TYPE]..." lines.
    EprmSpec Eprm(const Node& n)
    {
        EprmSpec e;
        e.src.line = n.line;
        e.id = int32_t(Number(n, 1, 1, 32767));
        Done(n, 2, false);
        for (const Node& c : n.children) {
            if (c.words[0] != "routine") Refuse(c.line, "a parameter list holds 'routine N [PARAMETER TYPE]...' lines");
            EprmSpec::Routine r;
            r.number = int16_t(Number(c, 1, 1, 32767));
            if (c.words.size() % 2 != 0) Refuse(c.line, "parameters come as pairs of a number and a type");
            for (size_t i = 2; i + 1 < c.words.size(); i += 2)
                r.params.emplace_back(int16_t(Number(c, i, -32768, 32767)), int16_t(Number(c, i + 1, -32768, 32767)));
            e.routines.push_back(std::move(r));
        }
        return e;
    }

    // pluginfile "FILE NAME", with signature, package and eprm lines below.
    PlugInFileSpec PlugInFile(const Node& n)
    {
        PlugInFileSpec f;
        f.src.line = n.line;
        f.name = Name(n, 1, 200);
        if (f.name.find('/') != std::string::npos) Refuse(n.line, "a plug-in file's name holds no '/'");
        Done(n, 2, false);
        for (const Node& c : n.children) {
            const std::string& w = c.words[0];
            if (w == "signature") {
                // signature N [version V] [requires S V]...
                f.signature = int16_t(Number(c, 1, -32768, 32767));
                for (size_t i = 2; i < c.words.size();) {
                    if (c.words[i] == "version") {
                        f.version = int16_t(Number(c, i + 1, -32768, 32767));
                        i += 2;
                    } else if (c.words[i] == "requires") {
                        f.needs.emplace_back(int16_t(Number(c, i + 1, -32768, 32767)),
                                                int16_t(Number(c, i + 2, -32768, 32767)));
                        i += 3;
                    } else {
                        Refuse(c.line, "unknown option '" + c.words[i] + "' of 'signature'");
                    }
                }
                NoChildren(c);
            } else if (w == "package") {
                f.packages.push_back(Package(c, true));
            } else if (w == "eprm") {
                f.eprms.push_back(Eprm(c));
            } else {
                Refuse(c.line, "a plug-in file holds 'signature', 'package' and 'eprm' lines");
            }
        }
        return f;
    }

    void Statement(const Node& n, bool first)
    {
        const std::string& w = n.words[0];
        if (first) {
            doc_.library = w == "library";
            doc_.name = Name(n, 1, 27);
            Options o(n, 2);
            Header(n, o);
            o.Done();
            NoChildren(n);
            return;
        }
        if (w == "structure" || w == "library") Refuse(n.line, "a description names one document");
        if (w == "level" || w == "date" || w == "seed" || w == "order") {
            Options o(n, 0);
            Header(n, o);
            o.Done();
            NoChildren(n);
        } else if (w == "version") {
            doc_.version = int16_t(Number(n, 1, -32768, 32767));
            Done(n, 2);
        } else if (w == "designgroup") {
            doc_.designGroup = Name(n, 1, 31);
            doc_.designGroupLine = n.line;
            Done(n, 2);
        } else if (w == "defaultuser") {
            doc_.defaultUser = int16_t(Number(n, 1, -32768, 32767));
            Done(n, 2);
        } else if (w == "forms") {
            if (Word(n, 1, "a form") != "iff") Refuse(n.line, "unknown form '" + n.words[1] + "' of 'forms'");
            doc_.formsIff = true;
            Done(n, 2);
        } else if (w == "memberlists" || w == "groups" || w == "passwords" || w == "stylesheets") {
            const std::string& v = Word(n, 1, "a form");
            const bool ok = (w == "groups") ? v == "companion" : v == "old";
            if (!ok) Refuse(n.line, "unknown form '" + v + "' of '" + w + "'");
            if (w == "memberlists") doc_.oldMemberLists = true;
            if (w == "groups") doc_.groupsInCompanion = true;
            if (w == "passwords") doc_.oldPasswords = true;
            if (w == "stylesheets") doc_.oldStyleSheets = true;
            Done(n, 2);
        } else if (w == "compiled") {
            Options o(n, 1);
            doc_.compiled = true;
            if (auto at = o.Key("code")) doc_.compiledCode.push_back(int32_t(Number(n, *at, 1, 32767)));
            if (auto at = o.Key("dirty")) doc_.dirty = int32_t(Number(n, *at, -0x7FFFFFFF, 0x7FFFFFFF));
            o.Done();
            NoChildren(n);
        } else if (w == "dirty") {
            doc_.dirty = int32_t(Number(n, 1, -0x7FFFFFFF, 0x7FFFFFFF));
            Done(n, 2);
        } else if (w == "filler") {
            doc_.fillers = int32_t(Number(n, 1, 0, 30000));
            Done(n, 2);
        } else if (w == "moduleformat") {
            doc_.moduleFormat = int16_t(Number(n, 1, 512, 1023));
            Done(n, 2);
        } else if (w == "against") {
            doc_.against = Word(n, 1, "a description file");
            doc_.againstLine = n.line;
            Done(n, 2);
        } else if (w == "generate") {
            generate_.push_back({int32_t(Number(n, 1, 0, 200000)), n.line});
            Done(n, 2);
        } else if (w == "table") {
            doc_.tables.push_back(Table(n));
        } else if (w == "method") {
            doc_.methods.push_back(Method(n, true));
        } else if (w == "dbmethod") {
            MethodSpec m = Method(n, false, 2);
            m.slot = int16_t(Number(n, 1, 0, 255));
            doc_.dbMethods.push_back(std::move(m));
        } else if (w == "menubar") {
            MenuBar(n);
        } else if (w == "freeslot") {
            MenuBarSpec b;
            b.src.line = n.line;
            b.freeSlot = true;
            Done(n, 1);
            doc_.menuBars.push_back(std::move(b));
        } else if (w == "menu") {
            doc_.menus.push_back(Menu(n));
        } else if (w == "list" || w == "enum") {
            ChoiceListSpec l;
            l.src.line = n.line;
            l.name = Name(n, 1, 31);
            l.old = w == "enum";
            Options o(n, 2);
            l.id = int32_t(o.Num("id", 0, 1, 32767));
            o.Done();
            for (const Node& c : n.children) l.items.push_back(ListItem(c, l.old));
            doc_.lists.push_back(std::move(l));
        } else if (w == "balloon") {
            BalloonSpec b;
            b.src.line = n.line;
            b.name = Name(n, 1, 15);
            Options o(n, 2);
            b.id = int32_t(o.Num("id", 0, 1, 32767));
            auto text = o.Quoted();
            if (!text) Refuse(n.line, "a balloon needs its text in quotes");
            b.text = *text;
            o.Done();
            NoChildren(n);
            doc_.balloons.push_back(std::move(b));
        } else if (w == "strings") {
            StringListSpec s;
            s.src.line = n.line;
            s.name = Name(n, 1, 255);
            Options o(n, 2);
            s.id = int32_t(o.Num("id", 0, -32768, 32767));
            o.Done();
            for (const Node& c : n.children) {
                if (c.words.size() != 1 || !c.quoted[0]) Refuse(c.line, "a string list holds one quoted text a line");
                if (c.words[0].size() > 255) Refuse(c.line, "a string is at most 255 characters");
                if (!c.children.empty()) Refuse(c.children[0].line, "a string takes no indented lines");
                s.strings.push_back(c.words[0]);
            }
            doc_.stringLists.push_back(std::move(s));
        } else if (w == "style") {
            StyleSpec s;
            s.src.line = n.line;
            s.name = Name(n, 1, 31);
            Options o(n, 2);
            s.description = o.Quoted().value_or("");
            if (s.description.size() > 80) Refuse(n.line, "a style's description is at most 80 characters");
            o.Done();
            NoChildren(n);
            doc_.styles.push_back(std::move(s));
        } else if (w == "picture") {
            PictureSpec p;
            p.src.line = n.line;
            p.name = Name(n, 1, 31);
            Options o(n, 2);
            p.id = int32_t(o.Num("id", 0, 1, 32767));
            if (auto at = o.Key("size")) {
                p.width = int16_t(Number(n, *at, 1, 2048));
                p.height = int16_t(Number(n, *at + 1, 1, 2048));
                if (!o.Flag(n.words[*at + 1].c_str())) Refuse(n.line, "'size' needs a width and a height");
            }
            o.Done();
            NoChildren(n);
            doc_.pictures.push_back(std::move(p));
        } else if (w == "stylesheet") {
            StyleSheetSpec s;
            s.src.line = n.line;
            s.name = Name(n, 1, 31);
            Options o(n, 2);
            s.id = int32_t(o.Num("id", 0, 1, 32767));
            s.font = o.Text("font", s.font, 63);
            s.size = uint8_t(o.Num("size", s.size, 1, 255));
            s.face = uint8_t(o.Num("face", s.face, 0, 255));
            o.Done();
            NoChildren(n);
            doc_.styleSheets.push_back(std::move(s));
        } else if (w == "group") {
            doc_.groups.push_back(Group(n));
        } else if (w == "component") {
            Component(n);
        } else if (w == "user") {
            UserSpec u;
            u.src.line = n.line;
            u.name = Name(n, 1, 31);
            Options o(n, 2);
            u.password = o.Text("password", "", 15);
            u.method = o.Text("method", "", 31);
            u.owner = int32_t(o.Num("owner", 0, -0x7FFFFFFF, 0x7FFFFFFF));
            o.Done();
            NoChildren(n);
            doc_.users.push_back(std::move(u));
        } else if (w == "usergroup") {
            UserGroupSpec g;
            g.src.line = n.line;
            g.name = Name(n, 1, 31);
            Done(n, 2, false);
            for (const Node& c : n.children) {
                if (c.words[0] != "user" && c.words[0] != "group") Refuse(c.line, "a user group holds 'user NAME' and 'group NAME' lines");
                g.members.push_back({{c.line}, c.words[0], Name(c, 1, 31)});
                Done(c, 2);
            }
            doc_.userGroups.push_back(std::move(g));
        } else if (w == "constants") {
            ConstantsSpec k;
            k.src.line = n.line;
            k.name = Name(n, 1, 255);
            Options o(n, 2);
            k.id = int32_t(o.Num("id", 0, 1, 32767));
            o.Done();
            for (const Node& c : n.children) {
                const std::string name = Name(c, 0, 31);
                const std::string value = Word(c, 1, "a value");
                if (name.find(':') != std::string::npos) Refuse(c.line, "a constant's name holds no colon");
                if (name.size() + 1 + value.size() > 255) Refuse(c.line, "a constant is at most 255 characters");
                k.items.push_back(name + ":" + value);
                Done(c, 2);
            }
            doc_.constants.push_back(std::move(k));
        } else if (w == "package") {
            doc_.packages.push_back(Package(n, false));
        } else if (w == "eprm") {
            doc_.eprms.push_back(Eprm(n));
        } else if (w == "pluginfile") {
            doc_.plugInFiles.push_back(PlugInFile(n));
        } else if (w == "routine") {
            RoutineSpec r;
            r.src.line = n.line;
            r.name = Name(n, 1, 31);
            Options o(n, 2);
            r.id = int32_t(o.Num("id", 0, 1, 32767));
            o.Done();
            NoChildren(n);
            doc_.routines.push_back(std::move(r));
        } else if (w == "declarations") {
            if (doc_.declarations) Refuse(n.line, "a description has one declarations statement");
            std::string text;
            if (n.words.size() == 2 && n.quoted[1]) {
                NoChildren(n);
                text = n.words[1];
            } else if (n.words.size() == 1) {
                // One quoted line each, ended by a carriage return.
                for (const Node& c : n.children) {
                    if (c.words.size() != 1 || !c.quoted[0]) Refuse(c.line, "a declarations block holds one quoted line a line");
                    if (!c.children.empty()) Refuse(c.children[0].line, "a declarations line takes no indented lines");
                    text += c.words[0] + "\r";
                }
            } else {
                Refuse(n.line, "'declarations' takes its text in quotes or as a block of quoted lines");
            }
            doc_.declarations = std::move(text);
        } else if (w == "resource") {
            RawSpec r;
            r.src.line = n.line;
            const std::string& type = Word(n, 1, "a type");
            if (type.size() != 4) Refuse(n.line, "a resource type has four characters");
            r.type = platform::ReadBE32(type.data());
            r.id = int32_t(Number(n, 2, -32768, 32767));
            // Then "companion", "name TEXT" and hexadecimal bytes in any order.
            Node hex;
            hex.line = n.line;
            for (size_t i = 3; i < n.words.size(); ++i) {
                const std::string& x = n.words[i];
                if (!n.quoted[i] && x == "companion") r.companion = true;
                else if (!n.quoted[i] && x == "name") r.name = Word(n, ++i, "a name");
                else if (n.quoted[i]) Refuse(n.line, "a resource's contents are hexadecimal bytes");
                else hex.words.push_back(x);
            }
            if (r.name.size() > 255) Refuse(n.line, "a resource name is at most 255 characters");
            r.bytes = Hex(hex, 0);
            for (const Node& c : n.children) {
                std::vector<uint8_t> more = Hex(c, 0);
                r.bytes.insert(r.bytes.end(), more.begin(), more.end());
            }
            doc_.raws.push_back(std::move(r));
        } else {
            Refuse(n.line, "unknown statement '" + w + "'");
        }
    }

    void Done(const Node& n, size_t used, bool leaf = true)
    {
        if (n.words.size() > used) Refuse(n.line, "unknown option '" + n.words[used] + "' of '" + n.words[0] + "'");
        if (leaf) NoChildren(n);
    }

    // "doc TEXT [state N] [run START END [font NAME] [size N] [face N] [bold]
    // [italic] [underline] [outline] [shadow] [condense] [extend]]..." below
    // an object: runs in order, inside the text, not overlapping.
    bool Doc(const Node& c, std::optional<std::string>* doc, int16_t* state, std::vector<DocRunSpec>* runs)
    {
        if (c.words[0] != "doc") return false;
        if (c.words.size() < 2 || !c.quoted[1]) Refuse(c.line, "'doc' needs its text in quotes");
        const std::string& text = c.words[1];
        *doc = text;
        *state = 2;
        runs->clear();
        static const char* const kFaces[] = {"bold", "italic", "underline", "outline", "shadow", "condense", "extend"};
        auto faceBit = [](const std::string& w) -> int {
            for (int b = 0; b < 7; ++b)
                if (w == kFaces[b]) return b;
            return -1;
        };
        for (size_t i = 2; i < c.words.size();) {
            const std::string& w = c.words[i];
            if (!c.quoted[i] && w == "state") {
                *state = int16_t(Number(c, i + 1, 0, 2));
                i += 2;
            } else if (!c.quoted[i] && w == "run") {
                DocRunSpec r;
                r.start = int32_t(Number(c, i + 1, 0, 32766));
                r.end = int32_t(Number(c, i + 2, 1, 32767));
                i += 3;
                while (i < c.words.size() && !c.quoted[i] && c.words[i] != "run" && c.words[i] != "state") {
                    const std::string& a = c.words[i];
                    if (a == "font") {
                        r.font = Word(c, i + 1, "a font name");
                        if (!KnownFont(r.font)) Refuse(c.line, "unknown font '" + r.font + "'");
                        i += 2;
                    } else if (a == "size") {
                        r.size = int16_t(Number(c, i + 1, 1, 512));
                        i += 2;
                    } else if (a == "face") {
                        r.face = uint8_t(Number(c, i + 1, 0, 127));
                        i += 2;
                    } else if (const int b = faceBit(a); b >= 0) {
                        r.face = uint8_t(r.face | (1 << b));
                        ++i;
                    } else {
                        Refuse(c.line, "unknown option '" + a + "' of a documentation run");
                    }
                }
                if (r.start >= r.end || size_t(r.end) > text.size())
                    Refuse(c.line, "a documentation run must lie inside its text");
                if (!runs->empty() && r.start < runs->back().end)
                    Refuse(c.line, "documentation runs must follow one another");
                runs->push_back(r);
            } else {
                Refuse(c.line, "unknown option '" + w + "' of 'doc'");
            }
        }
        NoChildren(c);
        return true;
    }

    TableSpec Table(const Node& n)
    {
        TableSpec t;
        t.src.line = n.line;
        t.name = Name(n, 1, 31);
        Options o(n, 2);
        t.id = int32_t(o.Num("id", 0, 1, 32767));
        o.Done();
        for (const Node& c : n.children) {
            const std::string& w = c.words[0];
            if (Doc(c, &t.doc, &t.docState, &t.docRuns)) continue;
            if (w == "field") t.fields.push_back(Field(c));
            else if (w == "subtable") {
                FieldSpec f;
                f.src.line = c.line;
                f.type = fieldtype::kSubtable;
                f.subtable = std::make_shared<TableSpec>(Table(c));
                f.name = f.subtable->name;
                t.fields.push_back(std::move(f));
            } else if (w == "form") t.forms.push_back(Form(c));
            else if (w == "method") {
                if (t.method) Refuse(c.line, "a table has one table method");
                t.method = Method(c, false);
            } else Refuse(c.line, "unknown statement '" + w + "' in a table");
        }
        return t;
    }

    FieldSpec Field(const Node& n)
    {
        using namespace fieldtype;
        static const std::pair<const char*, uint8_t> kTypes[] = {
            {"alpha", kAlpha}, {"text", kText},   {"real", kReal},         {"integer", kInteger}, {"date", kDate},
            {"boolean", kBoolean}, {"picture", kPicture}, {"longint", kLongInteger}, {"time", kTime}, {"blob", kBlob}};
        FieldSpec f;
        f.src.line = n.line;
        f.name = Name(n, 1, 31);
        const std::string& type = Word(n, 2, "a type");
        bool known = false;
        for (auto [word, value] : kTypes)
            if (type == word) {
                f.type = value;
                known = true;
            }
        size_t next = 3;
        if (!known) {
            if (type != "type") Refuse(n.line, "unknown field type '" + type + "'");
            f.type = uint8_t(Number(n, 3, 0, 30));
            if (f.type == fieldtype::kSubtable) Refuse(n.line, "a subtable is written 'subtable NAME'");
            next = 4;
        }
        if (f.type == fieldtype::kAlpha) {
            f.length = int16_t(Number(n, next, 1, 255));
            ++next;
        }
        Options o(n, next);
        f.attributes = uint8_t(o.Num("attributes", 0, 0, 255));
        if (auto at = o.Key("relation")) {
            f.relation = Dotted(n.words[*at]);
            if (f.relation.size() < 2) Refuse(n.line, "a relation names TABLE.FIELD");
        }
        f.list = o.Text("list", "", 31);
        if (auto at = o.Key("balloon")) f.balloon = n.words[*at];
        o.Done();
        for (const Node& c : n.children)
            if (!Doc(c, &f.doc, &f.docState, &f.docRuns)) Refuse(c.line, "unknown statement '" + c.words[0] + "' in a field");
        return f;
    }

    FormSpec Form(const Node& n)
    {
        FormSpec f;
        f.src.line = n.line;
        f.name = Name(n, 1, 31);
        Options o(n, 2);
        f.id = int32_t(o.Num("id", 0, 1, 32767));
        f.menubar = int16_t(o.Num("menubar", 0, -255, 255));
        f.iff = o.Flag("iff");
        f.flat = o.Flag("flat");
        f.oneList = o.Flag("list");
        o.Done();
        if (f.iff && f.flat) Refuse(n.line, "a form is stored either as a chunk file ('iff') or flat ('flat')");
        if (f.oneList && !f.flat) Refuse(n.line, "'list' follows 'flat'");
        FormItems(n.children, f, &f.items, nullptr);
        return f;
    }

    // The lines of a form or of a group: its statements and its objects.
    // `group` is null on the form's own level; there a line 'end' closes
    // the group opened last on the same level.
    void FormItems(const std::vector<Node>& lines, FormSpec& f, std::vector<FormItemSpec>* items, const Node* group)
    {
        int16_t page = -1;
        std::vector<std::vector<FormItemSpec>*> open{items};
        // Refused by the layout unless the form is a chunk file after all
        // ('forms iff' may come later).
        auto iffOnly = [&](const Node& c) {
            if (!f.chunkOnlyLine) f.chunkOnlyLine = c.line;
        };
        for (const Node& c : lines) {
            const std::string& w = c.words[0];
            std::vector<FormItemSpec>& into = *open.back();
            if (!group && Doc(c, &f.doc, &f.docState, &f.docRuns)) continue;
            if (!group && w == "method") {
                if (f.method) Refuse(c.line, "a form has one form method");
                f.method = Method(c, false);
                continue;
            }
            if (!group && w == "page") {
                if (open.size() > 1) Refuse(c.line, "a page begins outside any group");
                page = int16_t(Number(c, 1, 0, 100));
                // Page 0, shown on every page, exists in chunk-file forms only.
                if (page == 0) iffOnly(c);
                if (!f.pageLine) f.pageLine = c.line;
                Done(c, 2);
                continue;
            }
            if (!group && (w == "look" || w == "inherit" || w == "sizeobject" || w == "formtext" || w == "layer" ||
                           w == "order")) {
                iffOnly(c);
                FormProperty(c, f);
                continue;
            }
            if (w == "end") {
                if (open.size() < 2) Refuse(c.line, "'end' closes a group, and no group is open");
                Done(c, 1);
                open.pop_back();
                continue;
            }
            if (w == "theme") {
                iffOnly(c);
                if (into.empty() || into.back().kind == FormItemSpec::Chunk) Refuse(c.line, "'theme' follows the object it belongs to");
                if (c.words.size() < 2) Refuse(c.line, "'theme' needs its values");
                for (size_t i = 1; i < c.words.size(); ++i)
                    into.back().themes.push_back(int32_t(Number(c, i, -0x7FFFFFFF, 0x7FFFFFFF)));
                NoChildren(c);
                continue;
            }
            FormItemSpec item = FormItem(c, iffOnly);
            item.page = page;
            if (item.kind == FormItemSpec::Group) {
                into.push_back(std::move(item));
                if (!c.children.empty()) FormItems(c.children, f, &into.back().members, &c);
                else open.push_back(&into.back().members);
                continue;
            }
            into.push_back(std::move(item));
        }
        if (open.size() > 1) Refuse(group ? group->line : lines.back().line, "a group is not closed by 'end'");
    }

    void FormProperty(const Node& c, FormSpec& f)
    {
        const std::string& w = c.words[0];
        if (w == "look") {
            f.look = uint32_t(Number(c, 1, -3, 7));
            Done(c, 2);
        } else if (w == "inherit") {
            f.inheritTable = Name(c, 1, 31);
            f.inheritForm = Name(c, 2, 31);
            Done(c, 3);
        } else if (w == "sizeobject") {
            f.sizeObject = Name(c, 1, 31);
            Done(c, 2);
        } else if (w == "formtext") {
            Options o(c, 1);
            auto t = o.Quoted();
            if (!t || t->size() > 32) Refuse(c.line, "'formtext' needs its text in quotes, at most 32 characters");
            f.formText = *t;
            o.Done();
            NoChildren(c);
        } else if (w == "layer") {
            const int number = int(Number(c, 1, 1, 10));
            Options o(c, 2);
            auto t = o.Quoted();
            if (!t || t->size() > 31) Refuse(c.line, "'layer N' needs its name in quotes, at most 31 characters");
            f.layers.push_back({number, *t});
            o.Done();
            NoChildren(c);
        } else {
            const std::string& order = Word(c, 1, "a byte order");
            if (order != "little" && order != "big") Refuse(c.line, "the byte order is 'big' or 'little'");
            f.little = order == "little";
            Done(c, 2);
        }
    }

    template <typename IffOnly>
    FormItemSpec FormItem(const Node& c, IffOnly iffOnly)
    {
        const std::string& w = c.words[0];
        FormItemSpec item;
        item.src.line = c.line;
        size_t from = 1;
        if (w == "field") {
            item.kind = FormItemSpec::Field;
            item.name = Name(c, 1, 31);
            from = 2;
        } else if (w == "variable") {
            item.kind = FormItemSpec::Variable;
            item.name = Name(c, 1, 15);
            from = 2;
        } else if (w == "text") {
            item.kind = FormItemSpec::Text;
        } else if (w == "rect") item.kind = FormItemSpec::Rect;
        else if (w == "oval") item.kind = FormItemSpec::Oval;
        else if (w == "line") item.kind = FormItemSpec::Line;
        else if (w == "picture") item.kind = FormItemSpec::Picture;
        else if (w == "subform") {
            item.kind = FormItemSpec::Subform;
            item.name = Name(c, 1, 31);
            item.text = Name(c, 2, 31);
            from = 3;
        } else if (w == "roundrect") item.kind = FormItemSpec::RoundRect;
        else if (w == "matrix") item.kind = FormItemSpec::Matrix;
        else if (w == "groupbox") item.kind = FormItemSpec::GroupBox;
        else if (w == "group") item.kind = FormItemSpec::Group;
        else if (w == "staticpicture") {
            item.kind = FormItemSpec::StaticPicture;
            item.name = Name(c, 1, 31);
            from = 2;
        } else if (w == "listbox") {
            item.kind = FormItemSpec::ListBox;
            item.objectName = Name(c, 1, 31);
            from = 2;
        } else if (w == "chunk") {
            iffOnly(c);
            item.kind = FormItemSpec::Chunk;
            const std::string& id = Word(c, 1, "a chunk id");
            if (id.size() != 4) Refuse(c.line, "a chunk id has four characters");
            item.chunkId = platform::ReadBE32(id.data());
            item.bytes = Hex(c, 2);
            for (const Node& more : c.children) {
                std::vector<uint8_t> b = Hex(more, 0);
                item.bytes.insert(item.bytes.end(), b.begin(), b.end());
            }
            return item;
        } else Refuse(c.line, "unknown statement '" + w + "' in a form");
        if (item.kind > FormItemSpec::Subform) iffOnly(c);
        Options io(c, from);
        if (item.kind == FormItemSpec::Text || item.kind == FormItemSpec::GroupBox) {
            auto t = io.Quoted();
            if (!t) Refuse(c.line, "'" + w + "' needs its text in quotes");
            item.text = *t;
        }
        if (item.kind == FormItemSpec::Variable) {
            item.interprocess = io.Flag("interprocess");
            item.objectKind = uint8_t(io.Num("kind", 0, 0, 255));
            item.text = io.Text("label", "", 255);
        }
        if (item.kind == FormItemSpec::Field || item.kind == FormItemSpec::Variable) {
            item.balloon = int16_t(io.Num("balloon", 0, 1, 32767));
            item.list = io.Text("list", "", 31);
            if (auto at = io.Key("style")) {
                iffOnly(c);
                item.style = Name(c, *at, 31);
            }
            // The entry attributes beyond the choice list.
            item.required = io.Text("required", "", 31);
            item.excluded = io.Text("excluded", "", 31);
            item.filter = io.Text("filter", "", 255);
            item.disabled = io.Flag("disabled");
            if (!item.required.empty() || !item.excluded.empty() || !item.filter.empty() || item.disabled) iffOnly(c);
        }
        if (item.kind == FormItemSpec::Field || item.kind == FormItemSpec::Variable ||
            item.kind == FormItemSpec::ListBox)
            if (auto at = io.Key("method")) item.method = MethodAt(c, *at);
        if (item.kind == FormItemSpec::ListBox) {
            item.listVariable = io.Text("var", "", 31);
            if (item.listVariable.empty()) Refuse(c.line, "'listbox' needs its variable: 'var NAME'");
            item.interprocess = io.Flag("interprocess");
        }
        if (item.kind == FormItemSpec::Variable)
            if (auto at = io.Key("dfst")) {
                iffOnly(c);
                Node hex;
                hex.line = c.line;
                hex.words = {c.words[*at]};
                hex.quoted = {false};
                item.bytes = Hex(hex, 0);
            }
        if (item.kind == FormItemSpec::Text)
            if (auto at = io.Key("stylesheet")) {
                iffOnly(c);
                item.styleSheet = Name(c, *at, 31);
            }
        if (item.kind == FormItemSpec::Subform)
            if (auto at = io.Key("detail")) {
                iffOnly(c);
                item.detail = Name(c, *at, 31);
            }
        if (item.kind == FormItemSpec::Picture && io.Flag("tiled")) {
            iffOnly(c);
            item.tiled = true;
        }
        if (item.kind == FormItemSpec::Matrix) {
            item.rows = int16_t(io.Num("rows", 2, 1, 32767));
            item.columns = int16_t(io.Num("columns", 2, 1, 32767));
        }
        if (auto at = io.Key("name")) {
            iffOnly(c);
            item.objectName = Name(c, *at, 31);
        }
        io.Done();
        if (item.kind == FormItemSpec::Group) return item;
        for (const Node& line : c.children) {
            if (item.kind == FormItemSpec::ListBox && line.words[0] == "column") {
                item.listColumns.push_back(Column(line));
                continue;
            }
            if (!item.method) Refuse(line.line, "method lines need 'method ID' on the form object");
            TokenLines(line, &*item.method);
        }
        return item;
    }

    // An object method of a form object, of the id in word `at`.
    MethodSpec MethodAt(const Node& c, size_t at)
    {
        MethodSpec m;
        m.src.line = c.line;
        m.id = int32_t(Number(c, at, 1, 32767));
        return m;
    }

    // column VAR [method ID] header HVAR "title", the column's method lines
    // below it.
    ColumnSpec Column(const Node& c)
    {
        ColumnSpec col;
        col.src.line = c.line;
        col.variable = Name(c, 1, 31);
        Options o(c, 2);
        if (auto at = o.Key("method")) col.method = MethodAt(c, *at);
        col.header = o.Text("header", "", 31);
        if (col.header.empty()) Refuse(c.line, "'column' needs its header's variable: 'header NAME'");
        auto title = o.Quoted();
        if (!title || title->size() > 255) Refuse(c.line, "'column' needs its title in quotes, at most 255 characters");
        col.title = *title;
        o.Done();
        for (const Node& line : c.children) {
            if (!col.method) Refuse(line.line, "method lines need 'method ID' on the column");
            TokenLines(line, &*col.method);
        }
        return col;
    }

    MethodSpec Method(const Node& n, bool named, size_t from = 1)
    {
        MethodSpec m;
        m.src.line = n.line;
        if (named) {
            m.name = Name(n, 1, 31);
            from = 2;
        }
        Options o(n, from);
        m.id = int32_t(o.Num("id", 0, 1, 32767));
        m.attributes = uint16_t(o.Num("attributes", 0, 0, 0xFFFF));
        o.Done();
        for (const Node& c : n.children)
            if (!Doc(c, &m.doc, &m.docState, &m.docRuns)) TokenLines(c, &m);
        return m;
    }

    // One description line of tokens; ";" starts the next method line.
    void TokenLines(const Node& n, MethodSpec* m)
    {
        if (!n.children.empty()) Refuse(n.children[0].line, "method lines are not nested");
        m->lines.emplace_back();
        size_t i = 0;
        auto next = [&](const char* what) -> const std::string& {
            if (i >= n.words.size()) Refuse(n.line, std::string("the token needs ") + what);
            return n.words[i++];
        };
        auto num = [&](int64_t low, int64_t high) {
            const size_t at = i;
            next("a number");
            return Number(n, at, low, high);
        };
        while (i < n.words.size()) {
            const bool quoted = n.quoted[i];
            const std::string w = n.words[i++];
            TokenSpec t;
            t.src.line = n.line;
            if (quoted) {
                if (w.size() > 81) Refuse(n.line, "a string literal is at most 81 characters");
                t.kind = 2;
                t.subkind = 0;
                t.text = w;
            } else if (w == ";") {
                m->lines.emplace_back();
                continue;
            } else if (w == "op") {
                t.kind = 0;
                t.subkind = uint8_t(num(0, 24));
            } else if (w == "command") {
                t.kind = 1;
                t.number = num(1, 32767);
            } else if (w == "real") {
                t.kind = 2;
                t.subkind = 1;
                const std::string& v = next("a number");
                char* end = nullptr;
                t.real = std::strtod(v.c_str(), &end);
                if (v.empty() || *end) Refuse(n.line, "'" + v + "' is not a real number");
            } else if (w == "date") {
                t.kind = 2;
                t.subkind = 4;
                ParseDate(n, next("a date"), t.date);
            } else if (w == "int32" || w == "long") {
                t.kind = 2;
                t.subkind = 9;
                t.number = num(-0x80000000LL, 0x7FFFFFFF);
            } else if (w == "time") {
                t.kind = 2;
                t.subkind = 11;
                t.number = num(0, 0x7FFFFFFF);
            } else if (w == "int64") {
                t.kind = 2;
                t.subkind = 25;
                t.number = num(INT64_MIN, INT64_MAX);
            } else if (w == "field") {
                t.kind = 3;
                t.path = Dotted(next("TABLE.FIELD"));
                if (t.path.size() < 2) Refuse(n.line, "a field reference names TABLE.FIELD");
            } else if (w == "(" || w == ")" || w == "," || w == "end") {
                t.kind = w == "(" ? 4 : w == ")" ? 5 : w == "," ? 6 : 8;
            } else if (w == "var" || w == "local" || w == "ipvar" || w == "call") {
                t.kind = w == "var" ? 9 : w == "local" ? 26 : w == "ipvar" ? 35 : 11;
                t.text = next("a name");
                if (t.text.empty() || t.text.size() > 31) Refuse(n.line, "a name has 1 to 31 characters");
            } else if (w == "param") {
                t.kind = 13;
                t.number = num(-1, 32767);
            } else if (w == "kw") {
                t.kind = uint8_t(num(0, 255));
                static const uint8_t kKeywords[] = {7, 12, 14, 15, 16, 17, 18, 19, 20, 21, 24, 25, 28, 29, 30, 31, 32, 33, 34};
                if (std::find(std::begin(kKeywords), std::end(kKeywords), t.kind) == std::end(kKeywords))
                    Refuse(n.line, "keyword kinds are 7, 12, 14 to 21, 24, 25 and 28 to 34");
            } else if (w == "plugin") {
                t.kind = 22;
                t.number = num(-32768, 32767);
                t.number2 = num(-32768, 32767);
            } else if (w == "comment" || w == "error") {
                t.kind = w == "comment" ? 23 : 27;
                if (i >= n.words.size() || !n.quoted[i]) Refuse(n.line, "'" + w + "' needs its text in quotes");
                t.text = n.words[i++];
                if (t.text.size() > 255) Refuse(n.line, "a comment is at most 255 characters");
            } else if (w == "const") {
                t.kind = 36;
                t.number = num(-32768, 32767);
                t.number2 = num(1, 32767);
            } else {
                Refuse(n.line, "unknown token '" + w + "'");
            }
            m->lines.back().push_back(std::move(t));
        }
    }

    MenuSpec Menu(const Node& n)
    {
        MenuSpec m;
        m.src.line = n.line;
        m.title = Name(n, 1, 15);
        Options o(n, 2);
        m.id = int32_t(o.Num("id", 0, 1, 32767));
        o.Done();
        for (const Node& c : n.children) {
            if (Doc(c, &m.doc, &m.docState, &m.docRuns)) continue;
            if (c.words[0] != "item") Refuse(c.line, "unknown statement '" + c.words[0] + "' in a menu");
            MenuItemSpec it;
            it.src.line = c.line;
            Options io(c, 1);
            auto text = io.Quoted();
            if (!text) Refuse(c.line, "an item needs its text in quotes");
            if (text->size() > 31) Refuse(c.line, "an item text is at most 31 characters");
            it.text = *text;
            it.method = io.Text("method", "", 31);
            if (auto at = io.Key("key")) {
                if (c.words[*at].size() != 1) Refuse(c.line, "a command key is one character");
                it.key = c.words[*at][0];
                it.flags |= 0x04;
            }
            if (io.Flag("separator")) it.flags |= 0x02;
            if (io.Flag("underline")) it.flags |= 0x20;
            if (io.Flag("italic")) it.flags |= 0x40;
            if (io.Flag("bold")) it.flags |= 0x80;
            it.picture = io.Text("picture", "", 31);
            io.Done();
            NoChildren(c);
            m.items.push_back(std::move(it));
        }
        return m;
    }

    void MenuBar(const Node& n)
    {
        MenuBarSpec b;
        b.src.line = n.line;
        b.name = Name(n, 1, 31);
        Options o(n, 2);
        b.id = int32_t(o.Num("id", 0, 1, 32767));
        o.Done();
        for (const Node& c : n.children) {
            if (Doc(c, &b.doc, &b.docState, &b.docRuns)) continue;
            if (c.words[0] == "menu" && !c.children.empty()) {
                MenuSpec m = Menu(c);
                b.menus.push_back(m.title);
                doc_.menus.push_back(std::move(m));
            } else if (c.words[0] == "menu") {
                // A menu defined elsewhere, or an empty one when none is.
                b.menus.push_back(Name(c, 1, 15));
                Options mo(c, 2);
                if (mo.Key("id")) {
                    doc_.menus.push_back(Menu(c));
                } else {
                    mo.Done();
                }
            } else Refuse(c.line, "unknown statement '" + c.words[0] + "' in a menu bar");
        }
        doc_.menuBars.push_back(std::move(b));
    }

    ListItemSpec ListItem(const Node& n, bool old)
    {
        ListItemSpec it;
        it.src.line = n.line;
        if (n.words[0] != "item") Refuse(n.line, "unknown statement '" + n.words[0] + "' in a list");
        Options o(n, 1);
        auto text = o.Quoted();
        if (!text) Refuse(n.line, "an item needs its text in quotes");
        if (text->size() > (old ? 31u : 255u)) Refuse(n.line, old ? "an enumeration item is at most 31 characters" : "an item is at most 255 characters");
        it.text = *text;
        it.number = int16_t(o.Num("number", 0, -32768, 32767));
        it.face = uint8_t(o.Num("face", 0, 0, 255));
        it.picture = o.Text("picture", "", 31);
        it.icon = int16_t(o.Num("icon", 0, 1, 32767));
        if (!it.picture.empty() && it.icon) Refuse(n.line, "an item shows a picture or an icon, not both");
        o.Done();
        for (const Node& c : n.children) {
            if (old) Refuse(c.line, "an enumeration has no nested items");
            it.children.push_back(ListItem(c, old));
        }
        return it;
    }

    GroupSpec Group(const Node& n)
    {
        GroupSpec g;
        g.src.line = n.line;
        g.name = Name(n, 1, 31);
        Options o(n, 2);
        g.id = int32_t(o.Num("id", 0, 1, 32767));
        o.Done();
        for (const Node& c : n.children) g.members.push_back(Member(c));
        return g;
    }

    MemberSpec Member(const Node& c)
    {
        static const char* kKinds[] = {"table", "method", "dbmethod", "list", "menubar", "menu", "balloon",
                                       "strings", "style", "picture", "stylesheet", "group", "form",
                                       "tablemethod", "formmethod", "package", "routine", "constants"};
        bool known = false;
        for (const char* k : kKinds) known = known || c.words[0] == k;
        if (!known) Refuse(c.line, "unknown member kind '" + c.words[0] + "'");
        MemberSpec m{{c.line}, c.words[0], Word(c, 1, "a name")};
        Done(c, 2);
        return m;
    }

    void Component(const Node& n)
    {
        ComponentSpec k;
        k.src.line = n.line;
        k.name = Name(n, 1, 31);
        Options o(n, 2);
        k.id = int32_t(o.Num("id", 0, 1, 32767));
        k.version = o.Text("version", "", 255);
        k.comments = o.Text("comments", "", 255);
        k.prefix = o.Text("prefix", "", 4);
        k.number = uint32_t(o.Num("number", 0, 0, 0xFFFFFFFFLL));
        if (auto at = o.Key("date")) ParseDate(n, n.words[*at], k.date);
        else std::copy(std::begin(doc_.date), std::end(doc_.date), k.date);
        k.generated = o.Flag("generated");
        k.installed = o.Flag("installed");
        if (o.Flag("rename")) k.rename = 1;
        if (o.Flag("keepnames")) k.rename = 0;
        o.Done();
        static const char* kFolders[] = {"public", "protected", "private"};
        for (int f = 0; f < 3; ++f) {
            k.folders[f].name = k.name + " " + kFolders[f];
            if (k.folders[f].name.size() > 31) k.folders[f].name = k.name.substr(0, 31 - 1 - std::strlen(kFolders[f])) + " " + kFolders[f];
            k.folders[f].src.line = n.line;
        }
        for (const Node& c : n.children) {
            int folder = -1;
            for (int f = 0; f < 3; ++f)
                if (c.words[0] == kFolders[f]) folder = f;
            if (folder >= 0) {
                Options fo(c, 1);
                k.folders[folder].id = int32_t(fo.Num("id", 0, 1, 32767));
                fo.Done();
                for (const Node& m : c.children) k.folders[folder].members.push_back(Member(m));
            } else if (c.words[0] == "map") {
                const std::string& type = Word(c, 1, "a type");
                if (type.size() != 4) Refuse(c.line, "a resource type has four characters");
                const uint32_t t = uint32_t(uint8_t(type[0])) << 24 | uint32_t(uint8_t(type[1])) << 16 |
                                   uint32_t(uint8_t(type[2])) << 8 | uint8_t(type[3]);
                k.maps.push_back({t, int16_t(Number(c, 2, -32768, 32767)), int16_t(Number(c, 3, -32768, 32767))});
                Done(c, 4);
            } else if (c.words[0] == "code") {
                const std::string name = Name(c, 1, 33), code = Name(c, 2, 33);
                k.codes.push_back({name, code});
                Done(c, 3);
            } else Refuse(c.line, "unknown statement '" + c.words[0] + "' in a component");
        }
        doc_.components.push_back(std::move(k));
    }

    DocumentSpec& doc_;
    std::vector<std::pair<int32_t, int>> generate_;
};

}  // namespace

std::optional<DocumentSpec> ReadDescription(const std::string& text, const std::string& fileName, BuildError* error)
{
    DocumentSpec doc;
    doc.fileName = fileName;
    try {
        Reader(doc).Top(BuildTree(text));
    } catch (const Refusal& r) {
        if (error) *error = {fileName, r.line, r.message};
        return std::nullopt;
    }
    return doc;
}

}  // namespace docbuilder
