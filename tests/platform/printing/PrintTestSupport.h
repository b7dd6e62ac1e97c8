// Print objects and dialog fixtures shared by the printing tests.
#pragma once

#include <gtest/gtest.h>

#include "platform/printing/Printing.h"
#include "platform/screen/Screen.h"

namespace printtest {

// A session with default settings and page format, released at the end.
struct Session {
    platform::PMPrintSession session = nullptr;
    platform::PMPrintSettings settings = nullptr;
    platform::PMPageFormat format = nullptr;
    Session()
    {
        using namespace platform;
        EXPECT_EQ(PMCreateSession(&session), kPMNoError);
        EXPECT_EQ(PMCreatePrintSettings(&settings), kPMNoError);
        EXPECT_EQ(PMCreatePageFormat(&format), kPMNoError);
        EXPECT_EQ(PMSessionDefaultPrintSettings(session, settings), kPMNoError);
        EXPECT_EQ(PMSessionDefaultPageFormat(session, format), kPMNoError);
    }
    ~Session()
    {
        platform::PMRelease(format);
        platform::PMRelease(settings);
        platform::PMRelease(session);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// A point of the print dialogs (360 wide, centred, their content 80 below
// the screen's top), global.
inline platform::Point DialogPoint(int16_t h, int16_t v)
{
    const platform::Rect screen = platform::ScreenBounds();
    return platform::Point{int16_t(screen.top + 80 + v), int16_t((screen.right - screen.left - 360) / 2 + h)};
}

}  // namespace printtest
