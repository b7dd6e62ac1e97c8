// The program's last resort, with editors open on a built structure: the
// typing of each editor not saved is kept whole in a text file of its own
// beside the document (a file already at that name keeps its bytes), an
// editor without typing leaves none, and the alert says that the program
// ends and names the kept files.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "app/appl/LastResort.h"
#include "platform/files/MacNames.h"
#include "platform/files/WholeFile.h"
#include "platform/text/Utf8.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

using readtest::Bytes;
using readtest::P;

class LastResort : public EditorFixture {
protected:
    std::map<std::string, Bytes> Files() const
    {
        std::map<std::string, Bytes> out;
        for (const auto& e : std::filesystem::directory_iterator(folder_.path())) {
            Bytes b;
            if (e.is_regular_file()) ReadWholeFile(e.path().string(), &b);
            out[e.path().filename().string()] = b;
        }
        return out;
    }
    static std::string Message(int16_t index)
    {
        unsigned char text[256];
        MyGetIndString(text, 1002, index);
        return P(text);
    }
    // The name of the file that keeps the typing of the window.
    static std::string KeptName(TWindow* w, const std::string& number = "")
    {
        unsigned char title[256];
        w->GetTitle(title);
        std::string name = P(title) + Message(151) + number + ".txt";
        std::replace(name.begin(), name.end(), ':', '/');
        return FileNameOf(name);
    }
};

TEST_F(LastResort, TheEditorsTypingIsKeptBesideItsDocumentAndTheAlertNamesTheFiles)
{
    Load("structure Lists date 2024-03-01\n"
         "method Recalculate id 32\n  comment \"x\"\n  doc \"Recomputes.\"\n"
         "method Bare id 33\n  comment \"y\"\n"
         "strings Texts id 15000\n  \"one\"\n  \"two\"\n");
    TEditStrWindow* strings = EditStrings(Find(11, "Texts"));
    TEditDocWindow* documentation = EditDoc(Find(2, "Recalculate"));
    TEditDocWindow* untouched = EditDoc(Find(2, "Bare"));
    ASSERT_TRUE(strings && documentation && untouched);
    // A string typed in the list, not stored yet; the documentation's text
    // replaced by lines with a character outside ASCII.
    browser::TStrPlane* list = StrPane(strings);
    strings->MakeActive();
    strings->update(EventRecord{});
    list->SetCrtString(2);
    TESetSelect(3, 3, list->fTE);
    list->key(KeyEvent('!'));
    ASSERT_TRUE(list->Modified());
    browser::TDocPlane* doc = DocPane(documentation);
    const std::string typed = "First line\rSecond line, caf\x8E";
    TESetText(typed.data(), int32_t(typed.size()), doc->fTE);
    doc->fModified = true;
    ASSERT_FALSE(DocPane(untouched)->Modified());
    // A file of the user's at the name the list's typing would take.
    const std::string taken = KeptName(strings);
    ASSERT_EQ(WriteFileAtomically(folder_.path() + "/" + taken, "mine", 4), noErr);
    std::map<std::string, Bytes> expected = Files();
    const std::map<TWindow*, std::pair<std::string, std::string>> kept = {
        {strings, {KeptName(strings, " 2"), "one\ntwo!\n"}},
        {documentation, {KeptName(documentation), "First line\nSecond line, caf\xC3\xA9"}},
    };
    std::string said = Message(148) + Message(149);
    bool first = true;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w)) {
        auto it = kept.find(GetTWindow(w));
        if (it == kept.end()) continue;
        const auto& [name, text] = it->second;
        expected[name] = Bytes(text.begin(), text.end());
        said += (first ? "" : ", ") + Utf8ToMacRomanString(name);
        first = false;
    }

    ResetAlerts();
    lastresort::EndForWantOfMemory();
    EXPECT_EQ(Files(), expected);
    EXPECT_EQ(AlertCount(), 1);
    EXPECT_EQ(LastAlert().kind, kStopAlert);
    EXPECT_EQ(LastAlert().text, said);
}

}  // namespace
}  // namespace browsertest
