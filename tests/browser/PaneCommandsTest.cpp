// The panes' record of enabled commands at the ends of its table, and the
// long list's questions about no object.
#include "tests/browser/PanesFixture.h"

#include "app/longlist/LongListHooks.h"

namespace browsertest {
namespace {

TEST_F(PanesFixture, CommandsAreRecordedFromTheFirstToTheLastOfTheTableAndNoFurther)
{
    struct Case {
        int16_t command;
        bool kept;
    };
    for (const Case& k : {Case{0, true}, Case{511, true}, Case{512, false}, Case{-1, false}}) {
        browser::EnableFunc(k.command);
        EXPECT_EQ(browser::CommandEnabled(k.command), k.kept) << k.command;
        browser::DisableFunc(k.command);
        EXPECT_FALSE(browser::CommandEnabled(k.command)) << k.command;
    }
    const LongListHooks hooks = CurrentLongListHooks();
    ASSERT_NE(hooks.openable, nullptr);
    ASSERT_NE(hooks.dragable, nullptr);
    EXPECT_FALSE(hooks.openable(nullptr));
    EXPECT_FALSE(hooks.dragable(nullptr));
    EXPECT_EQ(hooks.getLevel(nullptr), 0);
}

}  // namespace
}  // namespace browsertest
