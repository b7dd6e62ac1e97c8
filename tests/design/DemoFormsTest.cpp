// The demo's forms stored as chunk files read back into objects: every page
// holds the objects the builder lists for it.
#include <map>

#include "forms/layout/PageTable.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/reader/FormReader.h"
#include "tests/design/ReadFixture.h"

namespace readtest {
namespace {

class DemoForms : public ReadFixture {};

TEST_F(DemoForms, TheCardReadsBackWithTheListedObjects)
{
    const auto r =
        docbuilder::BuildDocumentFile(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc", folder_.path());
    ASSERT_EQ(r.error, 0) << r.message;
    Open(r);
    std::map<int, int> listed;
    int16_t id = 0;
    std::ifstream in(r.manifestPath);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string c; std::getline(cells, c, '\t');) f.push_back(c);
        if (f[0] == "objects" && f[1] == "Customers.Card") listed[std::stoi(f[2])] = std::stoi(f[3]);
        if (f[0] == "object" && f[1] == "24" && f[3] == "Card") id = int16_t(std::stoi(f[2]));
    }
    ASSERT_EQ(listed.size(), 3u);
    UseQzRes(doc_.fResFile);
    platform::Handle form = xget1res(FourCC("FOQz"), id);
    ASSERT_NE(form, nullptr);
    formTableCount = 3;
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, nullptr);
    ASSERT_EQ(ReadFormImage(form, &frame), 0);
    formTableCount = 0;
    std::map<int, int> read;
    for (int32_t p = 0; p <= LastPageIndex(frame.pages); ++p) {
        PageEntry e;
        ASSERT_TRUE(GetPage(frame.pages, p, &e));
        for (LayoutObjectIterator it(e.first, false, true, false); it.Current(); it.SetNext()) ++read[p];
    }
    EXPECT_EQ(read, listed);
    DestroyPages(frame.pages);
}

}  // namespace
}  // namespace readtest
