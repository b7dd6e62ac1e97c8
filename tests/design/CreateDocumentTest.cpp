// New documents hold exactly what the readers expect, and a creation that
// fails anywhere leaves nothing behind.
#include <filesystem>
#include <map>

#include "kernel/standins/EncrypteText.h"
#include "resources/swap/PasswordTableKey.h"
#include "tests/design/DocFilesFixture.h"

namespace doctest {
namespace {

using Contents = std::map<std::pair<uint32_t, int16_t>, Bytes>;

// Every resource of a closed container, by type and id.
Contents ContainerContents(const platform::FSSpec& fileSpec)
{
    Contents all;
    const int16_t saved = xcurres();
    const int16_t file = openres(fileSpec, true);
    EXPECT_GT(file, 0);
    if (file <= 0) return all;
    useres(file);
    for (int32_t t = 1; t <= comptetypes(); ++t) {
        const uint32_t type = xgetindtyp(t);
        for (int16_t i = 1; i <= compteres(type, true); ++i) {
            platform::Handle h = xgetindres(type, i, true);
            int16_t id = 0;
            platform::ResType ignored = 0;
            xgetresinfo(h, &id, &ignored);
            all[{type, id}] = h && *h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
        }
    }
    closeres(file, false);
    if (saved > 0) useres(saved);
    return all;
}

Bytes CompanionVersion(const platform::FSSpec& companion, std::string* name)
{
    const int16_t saved = platform::CurResFile();
    const int16_t file = platform::FSpOpenResFile(companion, platform::fsRdPerm);
    EXPECT_NE(file, -1);
    Bytes bytes;
    if (platform::Handle h = platform::Get1Resource(FourCC("INQz"), 0)) {
        bytes.assign(*h, *h + platform::GetHandleSize(h));
        int16_t id = 0;
        platform::ResType type = 0;
        unsigned char n[256] = {0};
        platform::GetResInfo(h, &id, &type, n);
        name->assign(reinterpret_cast<const char*>(n + 1), n[0]);
    }
    platform::CloseResFile(file);
    platform::UseResFile(saved);
    return bytes;
}

class CreateDocument : public DocFiles {};

TEST_F(CreateDocument, ANewLibraryHoldsExactlyTheExpectedResources)
{
    const platform::FSSpec lib = InFolder("X.QTL");
    ASSERT_EQ(CreateQzLib(lib, 1), 0);
    const platform::FSSpec companion = InFolder("X.RSR");
    platform::FInfo info;
    ASSERT_EQ(platform::FSpGetFInfo(lib, &info), 0);
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    EXPECT_EQ(info.fdType, FourCC("QzLB"));
    ASSERT_EQ(platform::FSpGetFInfo(companion, &info), 0);
    EXPECT_EQ(info.fdCreator, FourCC("QzA6"));
    EXPECT_EQ(info.fdType, FourCC("QzLB"));
    EXPECT_EQ(OpenContainers(), 0) << "closed again";

    const Contents made = ContainerContents(lib);
    uint8_t emptyTable[4] = {0, 0, 0, 0};
    encryptetext(emptyTable, 4, PasswordTableKey());
    const Bytes table(emptyTable, emptyTable + 4);
    const Contents expected{
        {{FourCC("WNQz"), 0}, {0, 0}},      {{FourCC("TPQz"), 0}, {0, 0}},
        {{FourCC("LiHe"), 0}, {0, 0}},      {{FourCC("LIBA"), 0}, {0, 0}},
        {{FourCC("LEQz"), 0}, Bytes(50, 0)}, {{FourCC("PAQz"), 0}, table},
        {{FourCC("PAQz"), 1}, table},        {{FourCC("wvar"), -1}, {0, 0, 0, 1}},
    };
    ASSERT_EQ(made.size(), expected.size() + 1);
    for (const auto& [key, bytes] : expected) {
        ASSERT_TRUE(made.count(key)) << key.second;
        EXPECT_EQ(made.at(key), bytes) << key.second;
    }
    const Bytes& p = made.at({FourCC("PRQz"), 0});
    ASSERT_EQ(p.size(), 3648u);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 0);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(p[3], 0);
    EXPECT_EQ(p[4], 15);
    EXPECT_EQ(p[5], 15);
    EXPECT_EQ(p[10], 0x11);
    EXPECT_EQ(p[11], 0x5C);
    for (size_t at : {12, 20, 28, 36, 58})
        EXPECT_EQ(Bytes(p.begin() + std::ptrdiff_t(at), p.begin() + std::ptrdiff_t(at) + 8), (Bytes{0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF})) << at;
    EXPECT_EQ(Bytes(p.begin() + 44, p.begin() + 48), (Bytes{0, 0, 0xD2, 0xF0}));
    EXPECT_EQ(p[68], 0);
    EXPECT_EQ(p[69], 0x50);
    EXPECT_EQ(p[70], 1);
    for (size_t i = 72; i <= 77; ++i) EXPECT_EQ(p[i], 1) << i;

    std::string name = "unset";
    platform::UseResFile(G_MainResFile);
    platform::Handle app = platform::Get1Resource(FourCC("INQz"), 1);
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(CompanionVersion(companion, &name), Bytes(*app, *app + platform::GetHandleSize(app)));
    EXPECT_EQ(name, "");

    // The builder's empty library is the same document.
    const platform::FSSpec built = Build("library Y\n");
    EXPECT_EQ(ContainerContents(built), made);

    // A structure differs only by its Finder information.
    const platform::FSSpec base = InFolder("S.QzB");
    ASSERT_EQ(CreateQzLib(base, 0), 0);
    ASSERT_EQ(platform::FSpGetFInfo(InFolder("S.RSR"), &info), 0);
    EXPECT_EQ(info.fdCreator, FourCC("Qz06"));
    EXPECT_EQ(info.fdType, FourCC("BAS5"));
    EXPECT_EQ(ContainerContents(base), made);
}

TEST_F(CreateDocument, ANewLibraryOpensAsItIsAndClosesWhole)
{
    const platform::FSSpec lib = InFolder("X.QTL");
    ASSERT_EQ(CreateQzLib(lib, 1), 0);
    const Bytes before = Read(lib);
    ResetAlerts();
    const Opened o = Open(lib, 0);
    ASSERT_EQ(o.err, 0);
    EXPECT_NE(o.rsrFile, -1);
    EXPECT_GT(o.container, 0);
    EXPECT_EQ(o.other, -1);
    EXPECT_EQ(o.password, "");
    EXPECT_EQ(AlertCount(), 0);
    EXPECT_EQ(numresfalse, o.container);
    Close(o);
    EXPECT_EQ(OpenContainers(), 0);
    EXPECT_FALSE(platform::IsResFileOpen(o.rsrFile));
    EXPECT_EQ(Read(lib), before) << "nothing to normalise in a new document";
}

TEST_F(CreateDocument, NamesThatCannotTakeTheExtensionAndExistingFilesAreRefused)
{
    platform::FSSpec dummy;
    // 251 characters before the extension take ".RSR"; 252 do not.
    const std::string fits(251, 'a'), tooLong(252, 'b');
    EXPECT_TRUE(CompanionSpec(InFolder(fits + ".QTL"), &dummy));
    EXPECT_EQ(platform::FSpGetName(dummy), fits + ".RSR");
    EXPECT_EQ(CreateQzLib(InFolder(tooLong), 1), platform::bdNamErr);
    EXPECT_TRUE(std::filesystem::is_empty(docs_)) << "nothing made";
    EXPECT_TRUE(CompanionSpec(InFolder("plain"), &dummy));
    EXPECT_EQ(platform::FSpGetName(dummy), "plain.RSR");

    ASSERT_EQ(CreateQzLib(InFolder("Z.QTL"), 1), 0);
    const Bytes before = Read(InFolder("Z.QTL"));
    EXPECT_EQ(CreateQzLib(InFolder("Z.QTL"), 1), platform::dupFNErr);
    EXPECT_EQ(Read(InFolder("Z.QTL")), before);
}

TEST_F(CreateDocument, ACreationFailingAnywhereLeavesNoFile)
{
    const platform::FSSpec lib = InFolder("F.QTL");
    int32_t failures = 0;
    for (int32_t after = 0; after < 1000; ++after) {
        int16_t err;
        bool fired;
        {
            platform::ScopedFault fault(platform::FaultKind::DiskFull, after);
            err = CreateQzLib(lib, 1);
            fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        }
        EXPECT_EQ(OpenContainers(), 0) << after;
        if (err) {
            ++failures;
            EXPECT_FALSE(platform::FSpExists(lib)) << after;
            EXPECT_FALSE(platform::FSpExists(InFolder("F.RSR"))) << after;
            continue;
        }
        // Made whole: it opens as a new document does.
        const Opened o = Open(lib, 0);
        EXPECT_EQ(o.err, 0) << after;
        Close(o);
        platform::FSpDelete(lib);
        platform::FSpDelete(InFolder("F.RSR"));
        if (!fired) break;  // every write passed
    }
    EXPECT_GT(failures, 2);
}

}  // namespace
}  // namespace doctest
