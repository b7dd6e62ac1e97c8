// The ids of the string lists the string-list dialog offers while it is up.
#pragma once

#include <cstdint>
#include <vector>

#include "browser/dialogs/StrListDialog.h"
#include "platform/core/Endian.h"
#include "platform/lists/Lists.h"

namespace browsertest {

inline std::vector<int16_t> OfferedStringListIds()
{
    std::vector<int16_t> ids;
    platform::ListBounds bounds{};
    platform::GetListDataBounds(browser::G_StrListHdl, &bounds);
    for (int16_t row = 0; row < bounds.bottom; ++row) {
        uint8_t cell[browser::kStrRowLength] = {0};
        int16_t length = browser::kStrRowLength;
        platform::LGetCell(cell, &length, platform::Cell{row, 0}, browser::G_StrListHdl);
        ids.push_back(int16_t(platform::ReadBE16(cell + browser::kStrRowId)));
    }
    return ids;
}

}  // namespace browsertest
