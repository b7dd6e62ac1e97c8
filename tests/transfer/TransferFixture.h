// The transfer layer's state for one test: the application's own file with
// a 'C_Pm' (and 'C_PR' 1) of the test's making or the shipped ones,
// preferences holding the user's 'C_PR' 0, and every transfer global reset
// afterwards.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Preferences.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TransferHooks.h"
#include "design/reading/ModuleManager.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "tests/app/AppFixture.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/remap/ResIDMap.h"

namespace transfertest {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;

struct ChoiceSpec {
    int16_t number;
    uint8_t flags;
    int16_t icon = 0;
    int16_t text = 0;
};
struct BlockSpec {
    int16_t code;
    std::vector<ChoiceSpec> choices;
    int16_t type = 0;
    uint16_t textAndIcon = 0;
};

inline void Put16(Bytes* b, int32_t v)
{
    b->push_back(uint8_t(uint16_t(v) >> 8));
    b->push_back(uint8_t(v));
}

// A 'C_Pm' image; `declared` overrides the block count.
inline Bytes C_Pm(const std::vector<BlockSpec>& blocks, int32_t declared = -1)
{
    Bytes b;
    Put16(&b, declared >= 0 ? declared : int32_t(blocks.size()));
    for (const BlockSpec& block : blocks) {
        Put16(&b, block.code);
        Put16(&b, block.type);
        Put16(&b, block.textAndIcon);
        Put16(&b, int32_t(block.choices.size()));
        for (const ChoiceSpec& c : block.choices) {
            Put16(&b, c.number);
            Put16(&b, c.icon);
            Put16(&b, c.text);
            b.push_back(c.flags);
            b.push_back(0);
        }
    }
    return b;
}

inline Bytes Pairs(const std::vector<std::pair<int16_t, int16_t>>& pairs)
{
    Bytes b;
    for (auto [code, choice] : pairs) Put16(&b, code), Put16(&b, choice);
    return b;
}

inline platform::ResourceImage Resource(uint32_t type, int16_t id, const Bytes& data)
{
    platform::ResourceImage r;
    r.type = type;
    r.id = id;
    r.data = data;
    return r;
}

class TransferFixture : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDesignGlobals();
        G_C_Hide = false;
        transfer::G_TempBool = false;
        GromMemHdl = platform::NewHandle(64);  // the memory reserve
    }
    void TearDown() override
    {
        platform::ClearAllFaults();
        if (transfer::G_Filters) platform::DisposeHandle(transfer::G_Filters);
        transfer::G_Filters = nullptr;
        transfer::ResetResIDMaps();
        if (G_PrefResFile != -1) ClosePrefResFile();
        G_C_Hide = false;
        transfer::G_TempBool = false;
        ResetTransferHooks();
        ResetModuleHooks();
        ResetDesignGlobals();
        if (GromMemHdl) platform::DisposeHandle(GromMemHdl);
        GromMemHdl = nullptr;
        AppFixture::TearDown();
    }

    // The application's file holds `cpm` as 'C_Pm' 0 and `cpr1` as 'C_PR' 1.
    void UseChoices(const Bytes& cpm, const Bytes& cpr1 = {})
    {
        std::vector<platform::ResourceImage> raw{Resource(FourCC("C_Pm"), 0, cpm)};
        if (!cpr1.empty()) raw.push_back(Resource(FourCC("C_PR"), 1, cpr1));
        UseAppResources("", true, raw);
    }
    // The preferences file, read-only, holding `cpr0` as 'C_PR' 0.
    void UsePrefs(const Bytes& cpr0)
    {
        platform::ResourceFileImage image;
        image.resources.push_back(Resource(FourCC("C_PR"), 0, cpr0));
        G_PrefResFile = platform::OpenResFileImageBelow(image);
        ASSERT_GT(G_PrefResFile, 0);
    }
    // G_Filters as MakeCc_Dflt fills it.
    void MakeDefaults()
    {
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_NE(transfer::G_Filters, nullptr);
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
    }
    // A new list of the transfer's room.
    C_ListHdl NewList()
    {
        C_ListHdl list = nullptr;
        EXPECT_EQ(transfer::NewC_List(&list, transfer::kC_ListRoom), 0);
        return list;
    }
    TConflict* Record(C_ListHdl list, TObjQz* source, int16_t code, int16_t choice, TObjQz* dest = nullptr)
    {
        TConflict* r = nullptr;
        EXPECT_EQ(transfer::RecordConflict(source, dest, code, choice, list, &r), 0);
        return r;
    }
};

}  // namespace transfertest
