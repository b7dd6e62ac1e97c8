#include <gtest/gtest.h>

#include "looks/FormLook.h"
#include "looks/LookManager.h"

TEST(FormLook, TheStructuresLookIsKeptWithItsHandler)
{
    InitVI();
    SetDBVIProc(-3);  // 'Look' 128 holds a signed byte
    EXPECT_EQ(GetDBVILook(), -3);
    EXPECT_EQ(GetDBVIProc(), VI_Manager::GetHandler(-3));
    SetDBVIProc(0);
    EXPECT_EQ(GetDBVILook(), 0);
}
