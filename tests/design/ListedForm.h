// A form object for the tests of texts moved into string lists.
#pragma once

#include <algorithm>
#include <new>
#include <string>
#include <vector>

#include "design/objects/ObjBlocks.h"
#include "design/objects/ObjKinds.h"
#include "tests/design/DesignFixture.h"

namespace designtest {

// A form object whose DoItTxtStr stands in for the string lists: "one",
// "two" and "three" are items 1 to 3 of list 20000, any other text a new
// item of list 20001; "refused" is refused with -108.
class ListedForm : public TLayoutObjQz {
public:
    int16_t DoItTxtStr(unsigned char* text, TObjQz**, void*, bool* changed) override
    {
        offered.push_back(P(text));
        if (P(text) == "refused") return -108;
        const std::vector<std::string> known = {"one", "two", "three"};
        const auto at = std::find(known.begin(), known.end(), P(text));
        const std::string ref = at != known.end() ? ":20000," + std::to_string(at - known.begin() + 1)
                                                  : ":20001," + std::to_string(offered.size());
        apptest::ToP(ref, text);
        *changed = true;
        return 0;
    }
    std::vector<std::string> offered;
};

// Made where the factory makes objects, so that Dispose frees it.
inline ListedForm* NewListedForm()
{
    void* block = NewObjBlock(sizeof(ListedForm));
    return block ? new (block) ListedForm : nullptr;
}

}  // namespace designtest
