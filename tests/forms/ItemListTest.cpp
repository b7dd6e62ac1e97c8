// The item list model: rooms of item texts, layout of open, closed and
// skipped items, sub-lists shown inside another list, tear-down.
#include <gtest/gtest.h>

#include <string>

#include "forms/lists/ItemList.h"
#include "platform/core/Memory.h"

namespace {

std::basic_string<unsigned char> P(const std::string& s)
{
    std::basic_string<unsigned char> p(1, uint8_t(s.size()));
    p.append(s.begin(), s.end());
    return p;
}

std::string Text(ItemHandle item)
{
    const unsigned char* t = ItemText(item);
    return std::string(reinterpret_cast<const char*>(t + 1), t[0]);
}

ItemHandle Add(itemlistrec* list, const std::string& text, ItemHandle* first, ItemHandle* last)
{
    return addqlist(list, P(text).c_str(), 0, 0, nullptr, nullptr, 0, 0, 0, first, last);
}

}  // namespace

TEST(ItemList, TextRoomIsAtLeast35AndExactlyALongerText)
{
    itemlistrec list;
    initqlist(&list, 0, 255);
    ItemHandle first = nullptr, last = nullptr;
    ItemHandle empty = Add(&list, "", &first, &last);
    const auto fixed = platform::GetHandleSize(reinterpret_cast<platform::Handle>(empty)) - 36;
    ItemHandle shortItem = Add(&list, std::string(10, 'a'), &first, &last);
    ItemHandle longItem = Add(&list, std::string(40, 'b'), &first, &last);
    list.first = first;
    EXPECT_EQ(platform::GetHandleSize(reinterpret_cast<platform::Handle>(shortItem)), fixed + 1 + 35);
    EXPECT_EQ(platform::GetHandleSize(reinterpret_cast<platform::Handle>(longItem)), fixed + 1 + 40);
    EXPECT_EQ(Text(longItem), std::string(40, 'b'));
    deinitqlist(&list);
}
