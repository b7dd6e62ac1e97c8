// Commands run while an editor window shows an object they concern, with
// the string-list editor and the documentation editor in turn, each with a
// character typed and not yet saved: a command that would change or delete
// what the editor shows is refused and says so, naming the object and its
// document, changing nothing; one that goes through leaves the editor's
// text whole, and the editor open when the command reads the document
// again. The editor then saves, and a fresh open of the files (the
// document not closed: as after a crash) holds what was typed, and the
// program the links its files give.
#include <filesystem>
#include <functional>
#include <map>

#include "app/appl/CommandStacks.h"
#include "app/dialogs/Messages.h"
#include "browser/editors/EditorPanes.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/OpenEditors.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DocumentWindowsFixture.h"

namespace transfertest {
namespace {

using Fixture = DocumentWindows;
using readtest::P;

enum class Editor { Strings, Documentation };
// Goes: the command changes what the editor shows not. Stays: the same,
// and the editor stays open with its typing though the command reads the
// document again. Refused or Disabled: the command says no or is off.
enum class Outcome { Goes, Stays, Refused, Disabled };

struct EditorRow {
    const char* name;
    Editor editor;
    const char* document;  // whose object the editor shows
    std::function<TObjQz*(TMainDoc*)> edited;
    std::function<void(Fixture*, TMainDoc*)> command;
    Outcome outcome = Outcome::Goes;
    // Run before the editor opens.
    std::function<void(Fixture*, TMainDoc*)> before = nullptr;
};

TWindow* Front(TMainDoc* doc) { return Fixture::Windows(doc).front(); }

TObjQz* Row(TMainDoc* doc, int16_t kind, const std::string& name)
{
    browser::TLstPlane* main = Fixture::Main(Front(doc));
    const int32_t row = Fixture::RowOf(main, kind, name);
    return row < 0 ? nullptr : static_cast<TObjQz*>(LongLRowObject(row, main->fList));
}
std::function<TObjQz*(TMainDoc*)> Object(int16_t kind, const std::string& name)
{
    return [kind, name](TMainDoc* doc) { return Row(doc, kind, name); };
}
std::function<TObjQz*(TMainDoc*)> Named(int16_t kind, const std::string& name)
{
    return [kind, name](TMainDoc* doc) {
        const std::string p = char(name.size()) + name;
        return SearchObj_Name(doc, kind, reinterpret_cast<const unsigned char*>(p.data()));
    };
}
// An object method of the form Invoice, which goes with the form.
TObjQz* InvoiceMethod(TMainDoc* doc)
{
    auto* form = dynamic_cast<TLayoutObjQz*>(Row(doc, 24, "Invoice"));
    return form && form->objMethods && form->objMethods->Size() ? form->objMethods->At(0) : nullptr;
}

// The command from the front window with those rows chosen, its dialogs
// and alerts answered by the script, its file dialog by that file of the
// test's folder.
std::function<void(Fixture*, TMainDoc*)> Command(int16_t command, std::vector<std::pair<int16_t, std::string>> rows,
                                                 std::function<platform::Script()> script, std::string file = "")
{
    return [=](Fixture* f, TMainDoc* doc) {
        Front(doc)->SelectTWindow();
        if (!rows.empty()) Fixture::Select(Fixture::Main(Front(doc)), rows);
        platform::testing::HeadlessRun run(script());
        if (!file.empty()) platform::PushFileDialogAnswer(f->InFolder(file));
        doc->fAppl->Do_Func(command);
    };
}
std::function<platform::Script()> Answers(std::vector<int16_t> items)
{
    return [items] {
        platform::Script s;
        s.Wait(5);
        for (int16_t item : items) s.Choose(item).Wait(5);
        return s;
    };
}
// Texts to String List into the list 15000; then whatever the items
// answer.
std::function<platform::Script()> IntoList15000(std::vector<int16_t> items)
{
    return [items] { return Fixture::TextsIntoList15000(items); };
}

// The demo's row dropped on DemoTarget's window, the conflict `code`
// settled by `choice`, the conflict dialog confirmed and a message answered.
std::function<void(Fixture*, TMainDoc*)> Drop(int16_t kind, const std::string& name, int16_t code, int16_t choice)
{
    return [=](Fixture* f, TMainDoc* target) {
        Fixture::SetUserDefaults({{code, choice}});
        TMainDoc* demo = f->OpenDoc(f->InFolder("Demo.QzB"));
        ASSERT_NE(demo, nullptr);
        Fixture::Select(Fixture::Main(Front(demo)), {{kind, name}});
        ASSERT_EQ(PushInteger(0), 0);
        ASSERT_EQ(PushPtr(Fixture::Main(Front(demo))), 0);
        platform::testing::HeadlessRun run(Answers({1, 1})());
        Front(target)->GetDragObj(nullptr);
    };
}

void Nothing(Fixture*, TMainDoc*) {}

const auto kInstall = Command(114, {}, Answers({1, 1}), "Reports-1.QCP");
const auto kGenerate = Command(112, {{32, "Reports"}}, Answers({1}), "Generated.QCP");
// New Component of the rows, its hidden objects renamed with a prefix.
std::function<void(Fixture*, TMainDoc*)> NewComponent(std::vector<std::pair<int16_t, std::string>> rows)
{
    return Command(110, rows, [] {
        const platform::Point prefix = Fixture::ItemPoint(110, 7);
        platform::Script s;
        s.Wait(5).Click(prefix.h, prefix.v).Wait(2).Type("nc").Wait(2).Choose(1).Wait(5);
        return s;
    });
}

const EditorRow kRows[] = {
    {"Texts to String List into the open list", Editor::Strings, "Demo", Object(11, "Invoice_Texts"),
     Command(50, {{2, "Close_Invoice"}}, IntoList15000({1})), Outcome::Refused},
    {"Texts to String List from a form whose documentation is open", Editor::Documentation, "Demo",
     Object(24, "Invoice"), Command(50, {{2, "Close_Invoice"}}, IntoList15000({}))},
    {"String Lists to Texts from the open list", Editor::Strings, "Demo", Object(11, "Invoice_Texts"),
     Command(77, {{5, "Main"}}, Answers({1}))},
    {"String Lists to Texts of a menu bar whose documentation is open", Editor::Documentation, "Demo",
     Object(5, "Main"), Command(77, {{5, "Main"}}, Answers({1}))},
    {"Clear of the form whose documentation is open", Editor::Documentation, "Demo", Object(24, "Invoice"),
     Command(25, {{24, "Invoice"}}, Answers({1})), Outcome::Refused},
    {"Clear of the form that owns the method whose documentation is open", Editor::Documentation, "Demo",
     InvoiceMethod, Command(25, {{24, "Invoice"}}, Answers({1})), Outcome::Refused},
    {"Clear of a form beside the open list", Editor::Strings, "Demo", Object(11, "Invoice_Texts"),
     Command(25, {{24, "Invoice"}}, Answers({1}))},
    {"Rename of the method whose documentation is open", Editor::Documentation, "Demo", Object(2, "Close_Invoice"),
     [](Fixture*, TMainDoc* doc) {
         Front(doc)->SelectTWindow();
         Fixture::Select(Fixture::Main(Front(doc)), {{2, "Close_Invoice"}});
         EXPECT_FALSE(browser::CommandEnabled(51));
     },
     Outcome::Disabled},
    {"Rename of a method beside the open list", Editor::Strings, "Demo", Object(11, "Invoice_Texts"),
     Command(51, {{2, "Close_Invoice"}}, [] { return platform::Script().Wait(5).Type("Close_Bill").Wait(2).Choose(1).Wait(5); })},
    {"A drop replacing the table whose documentation is open", Editor::Documentation, "DemoTarget",
     Object(1, "Customers"), Drop(1, "Customers", 2, 3), Outcome::Refused},
    {"A drop replacing the open list", Editor::Strings, "DemoTarget", Object(11, "Shop_Texts"),
     Drop(11, "Invoice_Texts", 9, 3), Outcome::Refused},
    {"A drop copying beside the table whose documentation is open", Editor::Documentation, "DemoTarget",
     Object(1, "Customers"), Drop(1, "Customers", 2, 1)},
    {"A drop copying beside the open list", Editor::Strings, "DemoTarget", Object(11, "Shop_Texts"),
     Drop(11, "Invoice_Texts", 9, 13)},
    // The component commands: one that would change or delete what an
    // editor shows is refused; the others leave every editor open.
    {"Uninstall of the component of the method whose documentation is open", Editor::Documentation, "Demo",
     Named(2, "Report_Header"), Command(115, {{32, "Invoice_Reports"}}, Answers({1, 1})), Outcome::Refused},
    {"Uninstall beside the open list", Editor::Strings, "Demo", Named(11, "Invoice_Texts"),
     Command(115, {{32, "Invoice_Reports"}}, Answers({1})), Outcome::Stays},
    {"Delete Component Project whose documentation is open", Editor::Documentation, "Demo", Object(32, "Reports"),
     Command(113, {{32, "Reports"}}, Answers({1})), Outcome::Refused},
    {"Delete Component Project beside the open list", Editor::Strings, "Demo", Named(11, "Invoice_Texts"),
     Command(113, {{32, "Reports"}}, Answers({1})), Outcome::Stays},
    {"New Component of the open list", Editor::Strings, "Demo", Named(11, "Invoice_Texts"),
     NewComponent({{11, "Invoice_Texts"}}), Outcome::Stays},
    {"New Component beside the method whose documentation is open", Editor::Documentation, "Demo",
     Named(2, "Close_Invoice"), NewComponent({{24, "Card"}}), Outcome::Stays},
    {"Install over the component whose method's documentation is open", Editor::Documentation, "DemoTarget",
     Named(2, "Print_Invoice"), kInstall, Outcome::Refused, kInstall},
    {"Install beside the open list", Editor::Strings, "DemoTarget", Named(11, "Shop_Texts"), kInstall,
     Outcome::Stays},
    {"Generate of the component whose documentation is open", Editor::Documentation, "Demo", Object(32, "Reports"),
     kGenerate},
    {"Generate beside the open list", Editor::Strings, "Demo", Named(11, "Invoice_Texts"), kGenerate},
    {"Read Structure Again with the list open", Editor::Strings, "Demo", Object(11, "Invoice_Texts"),
     Command(74, {}, Answers({1}))},
    {"Read Structure Again with documentation open", Editor::Documentation, "Demo", Object(2, "Close_Invoice"),
     Command(74, {}, Answers({}))},
    {"Quit with the list open", Editor::Strings, "Demo", Object(11, "Invoice_Texts"), Command(19, {}, Answers({1}))},
    {"Quit with documentation open", Editor::Documentation, "Demo", Object(2, "Close_Invoice"),
     Command(19, {}, Answers({}))},
    {"Save of the list, then the program killed", Editor::Strings, "Demo", Object(11, "Invoice_Texts"), Nothing},
    {"Save of documentation, then the program killed", Editor::Documentation, "Demo", Object(2, "Close_Invoice"),
     Nothing},
};

void PrintTo(const EditorRow& r, std::ostream* os) { *os << r.name; }

class OpenEditors : public Fixture, public ::testing::WithParamInterface<EditorRow> {
protected:
    // The editor of that kind on `obj`, null when none.
    static TWindow* EditorOf(TMainDoc* doc, const TObjQz* obj, Editor e)
    {
        return OpenEditor(doc, obj, e == Editor::Strings ? 4 : 5);
    }

    // The editor opened as from the Edit menu, a character typed at the
    // end of its first text.
    static TWindow* OpenAndType(TMainDoc* doc, TObjQz* obj, Editor e)
    {
        if (e == Editor::Strings) obj->Edit(doc);
        else obj->EditDoc(doc);
        TWindow* w = EditorOf(doc, obj, e);
        TPlan* pane = w ? w->fFirstPlane : nullptr;
        if (!pane) return nullptr;
        platform::TEHandle te = e == Editor::Strings ? static_cast<browser::TStrPlane*>(pane)->fTE
                                                     : static_cast<browser::TDocPlane*>(pane)->fTE;
        platform::TESetSelect(32767, 32767, te);
        platform::EventRecord key{};
        key.what = platform::keyDown;
        key.message = 'Z';
        pane->key(key);
        return pane->Modified() ? w : nullptr;
    }
    // What the editor holds: the strings, or the documentation's text.
    static std::string Held(TWindow* w, Editor e)
    {
        std::string out;
        if (e == Editor::Strings) {
            auto* pane = static_cast<browser::TStrPlane*>(w->fFirstPlane);
            pane->StoreCurrent();
            for (const browser::StrEntry& entry : pane->fTable) out += P(entry.text) + "\n";
        } else {
            platform::TEHandle te = static_cast<browser::TDocPlane*>(w->fFirstPlane)->fTE;
            out.assign(*(**te).hText, size_t((**te).teLength));
        }
        return out;
    }
    // The same of the object of that key, as a fresh open of the files
    // reads it.
    std::string Stored(const std::string& path, const std::string& key, Editor e)
    {
        TMainDoc* copy = OpenCopy(path, "stored");
        if (!copy) return "(not opened)";
        const std::map<std::string, TObjQz*> objects = ObjectsOf(Main(Windows(copy).front()));
        std::string out = "(no object " + key + ")";
        if (auto it = objects.find(key); it != objects.end() && e == Editor::Strings) {
            std::vector<std::string> strings;
            unsigned char name[256];
            out.clear();
            if (static_cast<TSTRObjQz*>(it->second)->Strings(&strings, name))
                for (const std::string& s : strings) out += s + "\n";
        } else if (it != objects.end()) {
            const platform::Rect r{0, 0, 100, 400};
            platform::TEHandle te = platform::TENew(&r, &r);
            int32_t state = 0;
            bool added = false;
            it->second->ReadDoc(te, &state, &added);
            out.assign(*(**te).hText, size_t((**te).teLength));
            platform::TEDispose(te);
        }
        EXPECT_EQ(copy->Close(), 0);
        std::filesystem::remove_all(std::filesystem::path(folder_.path()) / "stored");
        return out;
    }
};

TEST_P(OpenEditors, NothingTypedIsLostAndTheFilesHoldWhatTheUserWasTold)
{
    const EditorRow& row = GetParam();
    TMainDoc* doc = OpenInTwoWindows(row.document);
    ASSERT_NE(doc, nullptr);
    if (row.before) row.before(this, doc);
    TObjQz* obj = row.edited(doc);
    ASSERT_NE(obj, nullptr);
    const std::string key = Key(obj), path = doc->fSpec.path;
    unsigned char full[256], refusal[256];
    obj->GetFullName(full);
    MyGetIndString(refusal, 1002, 94);
    TWindow* editor = OpenAndType(doc, obj, row.editor);
    ASSERT_NE(editor, nullptr);
    const std::string typed = Held(editor, row.editor);
    const std::vector<readtest::Bytes> files = FilesOf(doc);
    ResetAlerts();
    row.command(this, doc);
    if (row.outcome == Outcome::Refused) {
        EXPECT_EQ(LastAlert().text, P(refusal) + P(full) + " in the document " + P(doc->fName));
    }
    if (row.outcome == Outcome::Refused || row.outcome == Outcome::Disabled) {
        EXPECT_EQ(FilesOf(doc), files);
    }
    if (row.outcome == Outcome::Stays) {
        // No editor asked to be saved (alert 1003); the document read again,
        // the editor shows the object the read made.
        EXPECT_NE(LastAlert().alertId, 1003);
        obj = row.edited(doc);
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(Key(obj), key);
        EXPECT_NE(EditorOf(doc, obj, row.editor), nullptr);
    }
    if (IsOpen(doc)) {
        // Refused or beside the command, the editor is open with its text.
        editor = EditorOf(doc, obj, row.editor);
        if (editor) {
            EXPECT_EQ(Held(editor, row.editor), typed);
            platform::PushDialogAnswer(1);  // save
            EXPECT_EQ(editor->Close(), 0);
            platform::ClearDialogAnswers();
        }
        EXPECT_EQ(EditorOf(doc, obj, row.editor), nullptr);
        for (TRefWindow* w : Windows(doc)) w->update(platform::EventRecord{});
        ExpectShowsItsFiles(doc, row.name);
    }
    EXPECT_EQ(Stored(path, key, row.editor), typed);
}

INSTANTIATE_TEST_SUITE_P(Rows, OpenEditors, ::testing::ValuesIn(kRows), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
});

}  // namespace
}  // namespace transfertest
