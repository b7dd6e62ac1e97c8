#include "design/text/MethodText.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/appl/AppGlobals.h"
#include "app/appl/Utilities.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/TokenAccess.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/plugins/PlugInFiles.h"
#include "design/plugins/PlugInLookup.h"
#include "design/text/TextBuffers.h"
#include "forms/calc/CalcBlob.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/numtext/DateText.h"
#include "kernel/numtext/IntegerText.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/Forks.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/ScriptManager.h"

namespace {

// 'STR#' 104 items of the operator sub-kinds 0 to 24.
constexpr int16_t kOperatorItems[25] = {16, 17, 18, 19, 20, 35, 36, 15, 23, 25, 21, 22, 28,
                                        29, 26, 27, 41, 42, 43, 44, 45, 46, 30, 31, 24};
constexpr int16_t kPunctuation = 104;
constexpr int16_t kKeywords = 105;   // item kind - 6
constexpr int16_t kCommandNames = 8;
constexpr int16_t kIndentItem = 40;

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// One of the application's string lists, read again only when the file
// answers another list or other bytes: rendering reads the same texts for
// every method.
class AppList {
public:
    explicit AppList(int16_t id) : id_(id) {}
    // Item `index` (from 1); empty past the list.
    const std::string& Item(int16_t index)
    {
        Refresh();
        static const std::string kNone;
        return index >= 1 && size_t(index) <= items_.size() ? items_[size_t(index - 1)] : kNone;
    }
    bool Changed()
    {
        const uint64_t seen = generation_;
        Refresh();
        return generation_ != seen;
    }

private:
    void Refresh()
    {
        const int16_t saved = platform::CurResFile();
        if (G_MainResFile > 0) platform::UseResFile(G_MainResFile);
        platform::Handle h = platform::GetResource(platform::FourCC("STR#"), id_);
        platform::UseResFile(saved);
        const size_t size = h && *h ? size_t(platform::GetHandleSize(h)) : 0;
        const auto* p = size ? reinterpret_cast<const uint8_t*>(*h) : nullptr;
        if (h == handle_ && size == bytes_.size() && (size == 0 || std::memcmp(p, bytes_.data(), size) == 0)) return;
        handle_ = h;
        bytes_.assign(p, p + size);
        items_.clear();
        const int32_t count = size >= 2 ? int32_t((p[0] << 8) | p[1]) : 0;
        for (size_t at = 2; int32_t(items_.size()) < count && at < size;) {
            const size_t n = std::min<size_t>(p[at], size - at - 1);
            items_.emplace_back(reinterpret_cast<const char*>(p + at + 1), n);
            at += 1 + n;
        }
        ++generation_;
    }

    int16_t id_;
    platform::Handle handle_ = nullptr;
    std::vector<uint8_t> bytes_;
    std::vector<std::string> items_;
    uint64_t generation_ = 0;
};

AppList gPunctuation(kPunctuation), gKeywords(kKeywords), gCommands(kCommandNames);

// The texts a rendering reads.
struct TextStrings {
    std::string operators[25];
    std::string keywords[29];  // by kind - 6
    std::string quote, date, time, comment, mark, separator, left, right, local, interprocess, indent;

    void Load()
    {
        auto item = [](int16_t index) { return gPunctuation.Item(index); };
        for (int i = 0; i < 25; ++i) operators[i] = item(kOperatorItems[i]);
        for (int i = 1; i <= 28; ++i) keywords[i] = gKeywords.Item(int16_t(i));
        separator = item(1);
        date = item(4);
        quote = item(5);
        left = item(7);
        right = item(8);
        comment = item(11);
        local = item(12);
        time = item(37);
        mark = item(38);
        interprocess = item(39);
        indent = item(kIndentItem);
        if (indent.empty()) indent = "\t";
    }
};

const TextStrings& Strings()
{
    static TextStrings strings;
    static bool loaded = false;
    const bool punctuation = gPunctuation.Changed(), keywords = gKeywords.Changed();
    if (!loaded || punctuation || keywords) strings.Load();
    loaded = true;
    return strings;
}

bool Opens(uint8_t kind) { return kind == 14 || kind == 16 || kind == 19 || kind == 29 || kind == 31; }
bool Closes(uint8_t kind) { return kind == 15 || kind == 18 || kind == 21 || kind == 30 || kind == 32; }
bool IsKeyword(uint8_t kind)
{
    return kind == 7 || kind == 12 || (kind >= 14 && kind <= 21) || kind == 24 || kind == 25 ||
           (kind >= 28 && kind <= 34);
}

bool SingleByteAt(const unsigned char* text, int16_t offset)
{
    return scriptmanager == 0 ||
           platform::CharacterByteType(text + 1, offset, platform::smSystemScript) == platform::smSingleByte;
}

class LineRenderer {
public:
    LineRenderer(TFileObjQz* table, TObjQz* method) : table_(table), method_(method), s_(Strings()) {}

    // The line's pieces; the running level moves by its keywords.
    void Render(platform::Handle line, ProcTextLine* out)
    {
        out->pieces.clear();
        int32_t lineLevel = level_;
        int16_t position = 0;
        for (;;) {
            champoper t;
            MyGet2champ(line, &t, &position);
            if (t.Kind() == kEndOfLineKind || position < 0) break;
            const uint8_t kind = t.Kind();
            if (Opens(kind)) {
                ++level_;
            } else if (Closes(kind)) {
                --lineLevel;
                --level_;
            } else if (kind == 17) {
                --lineLevel;
            }
            ProcTextLine::Piece piece{kStylePlain, {}};
            TokenText(t, &piece);
            out->pieces.push_back(std::move(piece));
        }
        level_ = std::clamp<int32_t>(level_, 0, kMaxTextLevel);
        if (out->pieces.empty()) return;
        lineLevel = std::clamp<int32_t>(lineLevel, 0, kMaxTextLevel);
        std::string indent;
        for (int32_t i = 0; i < lineLevel; ++i) indent += s_.indent;
        out->pieces.front().text.insert(0, indent);
    }

private:
    void TokenText(const champoper& t, ProcTextLine::Piece* p)
    {
        std::string& text = p->text;
        switch (t.Kind()) {
        case 0: {
            const uint8_t sub = t.bytes[2];
            if (sub < 25) text = s_.operators[sub];
            break;
        }
        case 1: {
            p->style = kStyleCommand;
            const int16_t number = t.Word(2);
            if (number > 0) text = gCommands.Item(number);
            break;
        }
        case 2: Literal(t, &text); break;
        case 3: {
            p->style = t.Word(2) == 0 ? kStyleTable : kStyleField;
            text = FieldName(t);
            break;
        }
        case 4: text = s_.left; break;
        case 5: text = s_.right; break;
        case 6: text = s_.separator; break;
        case 9:
            p->style = kStyleProcessVar;
            text = Text(t.Text(2));
            break;
        case 11:
            p->style = kStyleMethodCall;
            text = Text(t.Text(2));
            break;
        case 13: {
            p->style = kStyleParameter;
            text = s_.local;
            if (t.Word(2) != -1) text += std::to_string(t.Word(2));
            break;
        }
        case 22:
            p->style = kStylePlugIn;
            text = PlugInName(t) + " ";
            break;
        case 23: {
            p->style = kStyleComment;
            std::string body = Text(t.Text(4));
            if (!body.empty() && (body.back() == '\r' || body.back() == '\n')) body.pop_back();
            text = "  " + s_.comment + body;
            break;
        }
        case 26:
            p->style = kStyleLocalVar;
            text = s_.local + Text(t.Text(2));
            break;
        case 27:
            p->style = kStyleError;
            text = " " + s_.mark + Text(t.Text(4)) + s_.mark + " ";
            break;
        case 35:
            p->style = kStyleInterprocessVar;
            text = s_.interprocess + Text(t.Text(2));
            break;
        case 36: {
            p->style = kStyleConstant;
            unsigned char name[256], value[256];
            calcconstname(name, value, t.Text(2));
            text = Text(name) + " ";
            break;
        }
        default:
            if (IsKeyword(t.Kind())) {
                p->style = kStyleKeyword;
                text = s_.keywords[t.Kind() - 6] + " ";
            }
            break;
        }
    }

    void Literal(const champoper& t, std::string* text)
    {
        unsigned char s[256];
        switch (t.SubKind()) {
        case 0: *text = EscapedLiteral(t.Text(4)); break;
        case 1: xstrIntreel2(t.Real(), s); *text = Text(s); break;
        case 4: {
            const datum d{t.Word(4), t.Word(6), t.Word(8)};
            mystrdate(d, s, 7);
            *text = s_.date + Text(s) + s_.date;
            break;
        }
        case 11:
            strtime(t.Long(4), s, 0);
            *text = s_.time + Text(s) + s_.time;
            break;
        case 9: strlongHex(uint32_t(t.Long(4)), s, true); *text = Text(s); break;
        case 25: {
            const int64_t value = int64_t((uint64_t(uint32_t(t.Long(4))) << 32) | uint32_t(t.Long(8)));
            strlong8(&value, s);
            *text = Text(s);
            break;
        }
        default: break;
        }
    }

    std::string FieldName(const champoper& t)
    {
        ChampOper op;
        op.field = t.Word(2);
        op.table = t.Word(4);
        op.depth = t.Word(6);
        if (op.depth < 0 || op.depth > ChampOper::kMaxDepth || !method_ || !method_->owner) return {};
        for (int32_t l = 1; l <= op.depth; ++l) op.path[l] = t.Word(6 + 2 * l);
        unsigned char name[256];
        GetCritName(name, table_, method_->owner->fTypeList, op);
        return Text(name);
    }

    std::string PlugInName(const champoper& t)
    {
        unsigned char name[256];
        int16_t list = 0, routine = 0;
        // A package of a plug-in file names its routines from that file.
        TPackagesObjQz* package = method_ ? CalledPackage(method_->owner, t.Text(2)) : nullptr;
        CurrentResFile current(package ? package->GetPlugInFile() : int16_t(-1));
        if (GetExtProcIndex(name, t.Text(2), &list, &routine)) {
            unsigned char entry[256];
            platform::GetIndString(entry, list, routine);
            // The routine's name stops at its parameters or its result; a
            // routine the list does not hold shows its marked number.
            int n = 0;
            while (n < entry[0] && entry[n + 1] != '(' && entry[n + 1] != ':') ++n;
            if (n > 0) return std::string(reinterpret_cast<const char*>(entry + 1), size_t(n));
        }
        return Text(name);
    }

    TFileObjQz* table_;
    TObjQz* method_;
    const TextStrings& s_;
    int32_t level_ = 0;
};

}  // namespace

std::string ProcTextLine::Text() const
{
    std::string out;
    for (const Piece& p : pieces) out += p.text;
    return out;
}

std::string EscapedLiteral(const unsigned char* text)
{
    const std::string& q = Strings().quote;
    std::string out = q;
    // Room for the closing quote is kept.
    const size_t room = size_t(kMaxLiteralText) - std::min(q.size(), size_t(kMaxLiteralText));
    static const char kHex[] = "0123456789abcdef";
    for (int16_t i = 0; i < text[0]; ++i) {
        const unsigned char c = text[i + 1];
        std::string piece(1, char(c));
        if (SingleByteAt(text, i)) {
            switch (c) {
            case '\r': piece = "\\r"; break;
            case '\n': piece = "\\n"; break;
            case '\t': piece = "\\t"; break;
            case '\\': piece = "\\\\"; break;
            default:
                if (!q.empty() && c == uint8_t(q[0])) piece = std::string("\\") + char(c);
                else if (c < 32) piece = std::string("\\x") + kHex[c >> 4] + kHex[c & 15];
                break;
            }
        }
        if (out.size() + piece.size() > room) break;
        out += piece;
    }
    return out + q;
}

int16_t WalkProcText(TFileObjQz* table, int16_t methodId, TObjQz* method,
                     const std::function<bool(const ProcTextLine&)>& line)
{
    int16_t count = 0, err = 0;
    platform::Handle lines = x_getcalc(methodId, &count, nullptr, &err);
    if (!lines) return err ? platform::memFullErr : 0;
    LineRenderer renderer(table, method);
    const int32_t lineCount = count < 0 ? -int32_t(count) : count;
    ProcTextLine rendered;
    for (int32_t i = 0; i < lineCount; ++i) {
        renderer.Render(CalcRecordAt(lines, i), &rendered);
        if (!line(rendered)) break;
    }
    x_effcalc(&lines, &count);
    return 0;
}

int16_t DoTextProc(TFileObjQz* table, int16_t methodId, TObjQz* method, bool styled, platform::TEHandle te,
                   int16_t font, int16_t mode)
{
    tText buffer = NewText();
    if (!buffer) return platform::memFullErr;
    const bool runs = mode != 1;
    // A line that does not fit whole is left out with every line after it.
    const int16_t err = WalkProcText(table, methodId, method, [&](const ProcTextLine& line) {
        const int16_t length = TextOf(buffer)->length, runCount = TextOf(buffer)->runCount;
        bool fits = true;
        for (const ProcTextLine::Piece& p : line.pieces) {
            if (runs) fits = TextSetStyle(p.style, buffer);
            if (fits) fits = TextAppend(p.text.data(), int32_t(p.text.size()), buffer);
            if (!fits) break;
        }
        if (fits) fits = TextAppend("\r", 1, buffer);
        if (!fits) TextCutBack(buffer, length, runCount);
        return fits;
    });
    if (err == 0) {
        platform::TETextStyle styles[kMethodStyleCount];
        MyTEInitStyles(styles, font, MyApplSize);
        TextTohTE(buffer, te, styled && runs ? styles : nullptr);
    }
    DeleteText(buffer);
    return err;
}

int16_t SaveProcText(TFileObjQz* table, int16_t methodId, TObjQz* method, int16_t file)
{
    platform::OSErr written = platform::noErr;
    const int16_t err = WalkProcText(table, methodId, method, [&](const ProcTextLine& line) {
        std::string text = line.Text();
        text += '\r';
        int32_t n = int32_t(text.size());
        written = MyFSWrite(file, &n, text.data());
        return written == platform::noErr;
    });
    return written != platform::noErr ? written : err;
}
