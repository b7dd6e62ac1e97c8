// Writing a structure's documentation and the recent-documents list across
// a crash at every cut point of their file changes: the file opens and
// holds the old contents or the new.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/Endian.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/textedit/TextEdit.h"
#include "tests/app/MainDocFixture.h"
#include "tests/platform/files/FileCrashRecorder.h"

using namespace apptest;
using namespace platform;

namespace {

using Bytes = std::vector<uint8_t>;

class FileCrashTest : public MainDocFixture {
protected:
    // A resource of a container or of a resource file, as stored; empty
    // when missing, "!" when the file does not open.
    static Bytes InContainer(const std::string& path, ResType type, int16_t id)
    {
        const int16_t f = openres(FSSpec{path}, true);
        if (!f) return {'!'};
        Handle h = xget1res(type, id);
        Bytes b = h ? Bytes(*h, *h + GetHandleSize(h)) : Bytes{};
        closeres(f, false);
        return b;
    }
    // Read from the bytes on the disk: the program holds the file open.
    static Bytes InResourceFile(const std::string& path, ResType type, int16_t id)
    {
        Bytes file;
        ResourceFileImage image;
        if (ReadWholeFile(path, &file) != noErr || ParseResourceFile(file.data(), file.size(), &image) != noErr)
            return {'!'};
        for (const ResourceImage& r : image.resources)
            if (r.type == type && r.id == id) return r.data;
        return {};
    }
    // Every crash state of the session must read `before` or `after`.
    void CheckEveryCut(filecrash::Recorder& recorder, const char* what, const Bytes& before, const Bytes& after,
                       const std::function<Bytes(const std::filesystem::path&)>& read)
    {
        ASSERT_NE(before, after);
        const size_t failed = recorder.CheckEveryCut(folder_ / "state", [&](const std::filesystem::path& state) {
            const Bytes now = read(state);
            if (now == before || now == after) return std::string();
            return now == Bytes{'!'} ? std::string("the file does not open") : std::string("neither old nor new");
        });
        std::printf("[ crash    ] %s: %zu crash states, %zu failed\n", what, recorder.StatesChecked(), failed);
        EXPECT_EQ(failed, 0u);
    }
};

TEST_F(FileCrashTest, WritingTheDocumentationLeavesTheOldTextOrTheNew)
{
    const std::filesystem::path docs = folder_ / "docs";
    std::filesystem::create_directories(docs);
    const FSSpec spec{(docs / "Doc.QzB").string()};
    std::filesystem::rename(MakeDocFile("Doc.QzB").path, spec.path);
    std::filesystem::rename(folder_ / "Doc.RSR", docs / "Doc.RSR");
    ASSERT_EQ(appl_->OpenNamedDoc(spec, 0), 0);
    TMainDoc* doc = FrontDoc();
    const Rect r{0, 0, 200, 300};
    TEHandle te = TENew(&r, &r);
    TESetText("The first notes", 15, te);
    ASSERT_EQ(doc->WriteDoc(te), 0);
    const Bytes before = InContainer(spec.path, FourCC("QzHE"), 0);

    filecrash::Recorder recorder(docs);
    TESetText("Notes written again, and longer than before", 43, te);
    ASSERT_EQ(doc->WriteDoc(te), 0);
    recorder.Stop();
    TEDispose(te);
    const Bytes after = InContainer(spec.path, FourCC("QzHE"), 0);
    CheckEveryCut(recorder, "writing the documentation", before, after, [](const std::filesystem::path& state) {
        return InContainer((state / "Doc.QzB").string(), FourCC("QzHE"), 0);
    });
}

TEST_F(FileCrashTest, StoringTheRecentListLeavesTheOldListOrTheNew)
{
    ASSERT_EQ(appl_->OpenNamedDoc(MakeDocFile("a.QzB"), 0), 0);
    const std::string prefs = gPrefFileSpec.path;
    const std::string name = std::filesystem::path(prefs).filename();
    const Bytes before = InResourceFile(prefs, FourCC("SP2#"), 0);
    const FSSpec second = MakeDocFile("b.QzB");
    filecrash::Recorder recorder(prefsDir_);
    ASSERT_EQ(appl_->OpenNamedDoc(second, 0), 0);
    recorder.Stop();
    const Bytes after = InResourceFile(prefs, FourCC("SP2#"), 0);
    CheckEveryCut(recorder, "storing the recent list", before, after, [&](const std::filesystem::path& state) {
        return InResourceFile((state / name).string(), FourCC("SP2#"), 0);
    });
}

}  // namespace
