// The system resource file is known by its opening, not by its reference
// number: once the files are closed the number can name another file.
#include <gtest/gtest.h>

#include "platform/core/FourCC.h"
#include "platform/fonts/Fonts.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"

namespace {

using namespace platform;

int16_t OpenImage(int16_t id)
{
    ResourceFileImage image;
    image.resources.push_back({FourCC("TEST"), id, false, "", 0, {1, 2}});
    return OpenResFileImageBelow(image);
}

TEST(SystemFileIdentity, AReusedNumberIsNotTakenForTheSystemFile)
{
    ResetResourceManager();
    ASSERT_EQ(OpenSystemResFile(), noErr);
    const int16_t first = SystemResFileRef();
    ASSERT_NE(first, -1);
    const uint64_t firstSerial = ResFileSerial(first);
    EXPECT_NE(firstSerial, 0u);

    ResetResourceManager();
    EXPECT_EQ(SystemResFileRef(), -1) << "closed with the others";
    const int16_t other = OpenImage(7);
    ASSERT_EQ(other, first) << "the freed number is given out again";
    EXPECT_NE(ResFileSerial(other), firstSerial);
    EXPECT_EQ(SystemResFileRef(), -1) << "another file under the old number";

    ASSERT_EQ(OpenSystemResFile(), noErr);
    const int16_t again = SystemResFileRef();
    ASSERT_NE(again, -1);
    EXPECT_NE(again, other);
    UseResFile(again);
    EXPECT_EQ(Count1Resources(FourCC("TEST")), 0) << "the system file, not the image";
    EXPECT_EQ(Count1Resources(FourCC("CURS")), 4) << "the system's four cursors";
    EXPECT_EQ(ResFileSerial(0), 0u);
    EXPECT_EQ(ResFileSerial(-1), 0u);
    EXPECT_EQ(ResFileSerial(int16_t(again + 1)), 0u) << "no file of that number";
    ResetResourceManager();
}

}  // namespace
