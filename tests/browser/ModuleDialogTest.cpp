// The component dialog run headless: the version number keeps its digits
// (six at most, a beep past them), OK stays dim for a date of zeros and
// for a rename without a prefix, a folder's or another component's name
// is refused with STR# 1002 item 23, and the read-only dialog changes
// nothing.
#include "browser/dialogs/ModuleDialog.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "browser/dialogs/DialogDrawing.h"
#include "app/dialogs/Messages.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class ModuleDialogTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        place_ = Place(browser::kModuleDialog);
        apptest::ToP("Reports", record_.name);
        apptest::ToP("1/2/2024", record_.date);
        record_.versionNb = 1;
        apptest::ToP("rp", record_.prefix);
        record_.doc = &doc_;
    }
    bool Run(Script script)
    {
        platform::testing::HeadlessRun run(std::move(script));
        const bool ok = browser::GetModule(&record_);
        EXPECT_EQ(run.watchdogMessage, "");
        return ok;
    }
    // Clicks behind the item's text, deletes it and types `text`.
    Script& Retype(Script& s, int16_t item, std::string_view text)
    {
        const Rect& r = place_.items.at(size_t(item - 1));
        const Point p = place_.Corner(item, int16_t((r.bottom - r.top) / 2), int16_t(r.right - r.left - 3));
        s.Click(p.h, p.v).Wait(2);
        for (int i = 0; i < 12; ++i) s.Key("delete");
        return s.Type(text).Wait(3);
    }
    // Cancels, reading OK's state and the item's text as the dialog ends.
    bool OKEnabledAtCancel(Script s, int16_t item = browser::kModuleNumber, std::string* text = nullptr)
    {
        bool enabled = true;
        WhenAnswered([&](DialogRef d) {
            enabled = browser::ItemEnabled(d, browser::kModuleOK);
            if (text) *text = ItemText(d, item);
        });
        s.Choose(browser::kModuleCancel);
        EXPECT_FALSE(Run(std::move(s)));
        return enabled;
    }

    browser::ModuleStruct record_;
    DialogPlace place_;
};

TEST_F(ModuleDialogTest, RemoveAlphaKeepsOnlyTheDigits)
{
    const struct {
        std::string in, out;
    } cases[] = {{"", ""}, {"ab", ""}, {"1a2", "12"}, {"12ab34", "1234"}, {"x9", "9"}, {"007", "007"}};
    for (const auto& c : cases) {
        unsigned char text[256];
        apptest::ToP(c.in, text);
        browser::RemoveAlpha(text);
        EXPECT_EQ(P(text), c.out) << c.in;
    }
}

TEST_F(ModuleDialogTest, ADateOfZerosIsNoDate)
{
    const struct {
        std::string date;
        bool valid;
    } cases[] = {{"", false}, {"0/0/0", false}, {"1/2/2024", true}, {"13/13/2024", false}};
    for (const auto& c : cases) {
        unsigned char text[256];
        apptest::ToP(c.date, text);
        EXPECT_EQ(browser::x_datevalide(text), c.valid) << c.date;
    }
}

TEST_F(ModuleDialogTest, TheVersionNumberKeepsSixDigitsAndNoLetters)
{
    const struct {
        std::string typed, shown;
        uint32_t beeps;
    } cases[] = {
        {"1a2", "12", 0},
        {"1ab2", "12", 0},
        {"123456", "123456", 0},
        {"1234567", "123456", 1},
        {"0", "", 0},
    };
    for (const auto& c : cases) {
        const uint32_t before = SysBeepCount();
        Script s;
        s.Wait(5);
        Retype(s, browser::kModuleNumber, c.typed);
        std::string shown;
        OKEnabledAtCancel(std::move(s), browser::kModuleNumber, &shown);
        EXPECT_EQ(shown, c.shown) << c.typed;
        EXPECT_EQ(SysBeepCount() - before, c.beeps) << c.typed;
    }
}

TEST_F(ModuleDialogTest, OKStaysDimUntilEveryFieldHolds)
{
    const struct {
        int16_t item;
        std::string typed;
        bool rename;
        bool enabled;
    } cases[] = {
        {browser::kModuleDate, "1/2/2024", false, true},
        {browser::kModuleDate, "0/0/0", false, false},
        {browser::kModuleName, "", false, false},
        {browser::kModuleNumber, "0", false, false},
        {browser::kModulePrefix, "", true, false},
        {browser::kModulePrefix, "", false, true},
        {browser::kModulePrefix, "x", true, true},
    };
    for (const auto& c : cases) {
        record_.rename = c.rename;
        Script s;
        s.Wait(5);
        if (c.item == browser::kModulePrefix && c.rename) {
            Retype(s, c.item, c.typed);
        } else if (c.item != browser::kModulePrefix) {
            Retype(s, c.item, c.typed);
        }
        EXPECT_EQ(OKEnabledAtCancel(std::move(s)), c.enabled) << c.item << " " << c.typed;
    }
}

TEST_F(ModuleDialogTest, ANameTakenByAFolderOrAnotherComponentIsRefused)
{
    ASSERT_NE(NewObj_Id(&doc_, 32, PName("Billing"), 7, true), nullptr);
    unsigned char taken[256];
    MyGetIndString(taken, 1002, 23);
    const struct {
        std::string name;
        bool refused;
    } cases[] = {{"Public", true}, {"private", true}, {"Billing", true}, {"Billing2", false}};
    for (const auto& c : cases) {
        ResetAlerts();
        Script s;
        s.Wait(5);
        Retype(s, browser::kModuleName, c.name);
        const Point ok = place_.At(browser::kModuleOK);
        s.Click(ok.h, ok.v).Wait(5);
        if (c.refused) s.Choose(1).Wait(5).Choose(browser::kModuleCancel);
        EXPECT_EQ(Run(std::move(s)), !c.refused) << c.name;
        EXPECT_EQ(AlertCount(), c.refused ? 1 : 0) << c.name;
        if (c.refused) {
            EXPECT_EQ(LastAlert().text, P(taken)) << c.name;
        } else {
            EXPECT_EQ(P(record_.name), c.name);
        }
    }
}

// Every field shows the record as the dialog opens, and OK copies each
// back as it stands.
TEST_F(ModuleDialogTest, TheFieldsShowTheRecordAndOKReadsThemBack)
{
    apptest::ToP("2.1 beta", record_.version);
    apptest::ToP("Invoices and reminders", record_.comments);
    record_.versionNb = 42;
    std::vector<std::string> shown;
    WhenAnswered([&](DialogRef d) {
        for (int16_t item : {browser::kModuleName, browser::kModuleDate, browser::kModuleVersion,
                             browser::kModuleNumber, browser::kModulePrefix, browser::kModuleComments})
            shown.push_back(ItemText(d, item));
    });
    EXPECT_TRUE(Run(Script().Wait(5).Choose(browser::kModuleOK)));
    EXPECT_EQ(shown, (std::vector<std::string>{"Reports", "1/2/2024", "2.1 beta", "42", "rp", "Invoices and reminders"}));
    EXPECT_EQ(P(record_.version), "2.1 beta");
    EXPECT_EQ(P(record_.comments), "Invoices and reminders");
    EXPECT_EQ(record_.versionNb, 42u);
    EXPECT_EQ(P(record_.prefix), "rp");
}

TEST_F(ModuleDialogTest, TheReadOnlyDialogChangesNothing)
{
    record_.readOnly = 1;
    const browser::ModuleStruct before = record_;
    EXPECT_FALSE(Run(Script().Wait(5).Choose(browser::kModuleOK)));
    EXPECT_EQ(P(record_.name), P(before.name));
    EXPECT_EQ(P(record_.date), P(before.date));
    EXPECT_EQ(record_.versionNb, before.versionNb);
}

}  // namespace
}  // namespace browsertest
