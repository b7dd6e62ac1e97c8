// The application's own resources hold what the design objects show.
#include <gtest/gtest.h>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjKinds.h"
#include "forms/identity/FileIdentification.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"
#include "tests/app/AppFixture.h"

namespace {

class ShippedResources : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        G_MainResFile = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
        ASSERT_GT(G_MainResFile, 0);
    }
};

TEST_F(ShippedResources, KindNamesCommandsAndAlerts)
{
    for (int16_t kind = 1; kind <= 33; ++kind) {
        TObjQz obj;
        obj.kind = kind;
        unsigned char name[256];
        obj.GetTypeObjName(name);
        EXPECT_GT(name[0], 0) << kind;
    }
    for (int16_t id : {1004, 1005}) {
        platform::UseResFile(G_MainResFile);
        EXPECT_NE(platform::Get1Resource(platform::FourCC("ALRT"), id), nullptr) << id;
        EXPECT_NE(platform::Get1Resource(platform::FourCC("DITL"), id), nullptr) << id;
    }
    unsigned char text[256];
    for (auto [list, index] : {std::pair{8, 1}, {1024, 4}, {1024, 6}, {1013, 12}, {1001, 11}, {1011, 11}, {1011, 12}}) {
        MyGetIndString(text, int16_t(list), int16_t(index));
        EXPECT_GT(text[0], 0) << list << " " << index;
    }
}

// Plug-in files are checked against the application's identity; a
// documentation without room has a message of its own.
TEST_F(ShippedResources, TheApplicationIsIdentified)
{
    int16_t signature = 0, version = 0;
    ASSERT_EQ(cQzIdentify(G_MainResFile, &signature, &version), 0);
    EXPECT_EQ(signature, 1);
    EXPECT_EQ(version, 6);
    unsigned char text[256];
    ErrorMessage(1023, text);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text + 1), text[0]).substr(0, 39), "The plug-in's file has no room for more");
}

// A script the SQL reader cannot read makes no structure: the alert sends
// the user to the report beside the script; one past the tables or fields
// a structure holds says that limit too. A stored form that does not read
// is said to be damaged where its links are reported.
TEST_F(ShippedResources, AnUnreadSqlScriptPointsToItsReport)
{
    unsigned char text[256];
    const auto says = [&](const char* words) {
        return std::string(reinterpret_cast<char*>(text + 1), text[0]).find(words) != std::string::npos;
    };
    ErrorMessage(1019, text);
    EXPECT_TRUE(says("\".report.txt\""));
    for (const auto& [index, limit] : {std::pair<int16_t, const char*>{81, "255 tables"}, {82, "511 columns"}}) {
        MyGetIndString(text, 1002, index);
        EXPECT_TRUE(says(limit) && says("\".report.txt\"")) << index;
    }
    ErrorMessage(9001, text);
    EXPECT_TRUE(says("form is damaged"));
}

}  // namespace
