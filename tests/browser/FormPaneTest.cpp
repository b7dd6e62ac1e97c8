// A form in the preview pane: the pages it reports (a one-page form none),
// the display type kept from the pane, its picture's size, and the look
// the structure's 'Look' 128 names.
#include <gtest/gtest.h>

#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/preview/PreviewFrame.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "platform/core/FourCC.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

constexpr const char* kForms =
    "structure Forms date 2024-03-01\n"
    "table People\n"
    "  field Name alpha 20\n"
    "  form One iff\n"
    "    rect\n"
    "  form Three flat\n"
    "    field Name\n"
    "    page 2\n"
    "    rect\n"
    "    page 3\n"
    "    text \"Last\"\n";

class FormPane : public EditorFixture {
protected:
    void SetUp() override
    {
        EditorFixture::SetUp();
        InstallFormModelHooks();
    }
    void TearDown() override
    {
        ResetFormModelHooks();
        EditorFixture::TearDown();
    }
    TLayoutObjQz* Form(const char* name)
    {
        auto* table = dynamic_cast<TFileObjQz*>(Find(1, "People"));
        if (!table) return nullptr;
        unsigned char p[32];
        p[0] = uint8_t(std::strlen(name));
        std::memcpy(p + 1, name, p[0]);
        return dynamic_cast<TLayoutObjQz*>(SearchListObj_Name(table->forms, p));
    }
};

}  // namespace

TEST_F(FormPane, PagesAreReportedForFormsOfMoreThanOnePage)
{
    Load(kForms);
    struct Case {
        const char* form;
        int16_t asked, type;
        int16_t pageMin, pageMax, page, typeKept;
    };
    const Case cases[] = {
        {"One", 1, 0, 0, 0, 0, 0},
        {"Three", 1, 1, 1, 3, 1, 1},
        {"Three", 3, 2, 1, 3, 3, 2},
        {"Three", 4, 3, 1, 3, 3, 2},  // past the last page and the last type
        {"Three", 2, -1, 1, 3, 2, 0},
    };
    for (const Case& c : cases) {
        TLayoutObjQz* form = Form(c.form);
        ASSERT_NE(form, nullptr) << c.form;
        Handle display = nullptr;
        int16_t width = c.type, height = 0, pageMin = -9, pageMax = -9, page = c.asked;
        ASSERT_EQ(form->InitDisplay(&display, Rect{0, 0, 300, 300}, &width, &height, &pageMin, &pageMax, &page, false),
                  0);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(pageMin, c.pageMin) << c.form << " page " << c.asked;
        EXPECT_EQ(pageMax, c.pageMax) << c.form << " page " << c.asked;
        EXPECT_EQ(page, c.page) << c.form << " page " << c.asked;
        EXPECT_EQ(form->previewChoice, c.typeKept) << c.form << " type " << c.type;
        // The size reported is the picture's.
        Rect frame{};
        QDGetPictureBounds(PreviewOf(display)->picture, &frame);
        EXPECT_EQ(width, frame.right - frame.left);
        EXPECT_EQ(height, frame.bottom - frame.top);
        EXPECT_GT(width, 0);
        form->DisposeDisplay(&display);
    }
    EXPECT_EQ(Form("One")->NbPopUpItems(), 3);
    EXPECT_EQ(Form("One")->NeedPopUp(), 1);
}

TEST_F(FormPane, TheStructuresLookIsTheFirstByteOfItsLook128)
{
    Load(kForms);
    EXPECT_EQ(StructureLook(nullptr), -1);
    EXPECT_EQ(StructureLook(&doc_), -1);  // none
    struct Case {
        std::vector<uint8_t> bytes;
        int16_t look;
    };
    const Case cases[] = {{{}, -1}, {{4}, 4}, {{0xFE, 9}, -2}, {{0}, 0}};
    for (const Case& c : cases) {
        useres(doc_.fResFile);
        rmveresbyid(FourCC("Look"), 128, true);
        Handle h = NewHandle(Size(c.bytes.size()));
        ASSERT_NE(h, nullptr);
        if (!c.bytes.empty()) std::memcpy(*h, c.bytes.data(), c.bytes.size());
        ASSERT_TRUE(xaddres_NOSWAP(h, FourCC("Look"), 128));
        // The application's file is current while the pane draws.
        useres(G_PrefResFile);
        EXPECT_EQ(StructureLook(&doc_), c.look) << c.bytes.size();
    }
}

}  // namespace browsertest
