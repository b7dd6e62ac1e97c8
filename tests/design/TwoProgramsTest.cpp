// Two programs on one document: program A (a second process) replaces,
// builds or changes the pair at a name and is stopped at a step of it,
// while program B (this process) opens the name, replaces it or holds it.
// Only the holder of the pair's lock changes the pair: the other is told
// the document is busy and touches nothing, and each name ends with one
// whole pair.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "design/documents/DocumentPairs.h"
#include "design/sql/SqlScript.h"
#include "platform/events/FileDialogAnswers.h"
#include "resources/Companion.h"
#include "tests/design/DocFilesFixture.h"
#include "tests/platform/files/StopAt.h"

namespace doctest {
namespace {

namespace fs = std::filesystem;

using Point = filecrash::StopPoint;

// A saves from/Src.QzB over Demo.QzB (the move a Save makes) or builds a
// structure from an SQL script onto it. (A drop on a document another
// program opens meanwhile: the transfer tests.)
enum class A { Save, Sql };
// B opens Demo.QzB, saves from/Other.QzB over it, or holds it open from
// before A starts and changes it once A has ended.
enum class B { Open, Save, Hold };

struct Row {
    const char* what;
    A a;
    Point stop;
    B b;
    int16_t aAnswer, bAnswer;
};

constexpr int16_t kBusy = platform::fBsyErr, kOpenBusy = -49;
const Point kJournalMade{Point::Before, "._.qz.Demo.QzB.replacing."};

const Row kRows[] = {
    {"save over a document B holds", A::Save, {}, B::Hold, kBusy, 0},
    {"SQL structure onto a name B holds", A::Sql, {}, B::Hold, kBusy, 0},
    {"open before the journal's temporary is made", A::Save, kJournalMade, B::Open, 0, kOpenBusy},
    {"open after the journal's write", A::Save, {Point::Wrote, "._.qz.Demo.QzB.replacing."}, B::Open, 0, kOpenBusy},
    {"open before the folder holds the journal", A::Save, {Point::Renamed, ".qz.Demo.QzB.replacing"}, B::Open, 0,
     kOpenBusy},
    {"open inside the roll-forward", A::Save, {Point::Renamed, "/Demo.RSR"}, B::Open, 0, kOpenBusy},
    {"open before the source goes", A::Save, {Point::Before, "/from/Src.QzB"}, B::Open, 0, kOpenBusy},
    {"two saves over one name", A::Save, kJournalMade, B::Save, 0, kBusy},
    {"open during an SQL building", A::Sql, {Point::Renamed, ".qz.Demo.QzB.bld"}, B::Open, 0, kOpenBusy},
};

class TwoPrograms : public DocFiles {
protected:
    // Demo, and two structures to put in its place in from/.
    void MakeDocuments()
    {
        fs::remove_all(docs_);
        fs::create_directories(docs_ + "/from");
        demo_ = Build("structure Demo\ntable Old\n  field A longint\nstrings Old id 7000\n  \"old\"\n");
        ASSERT_TRUE(CompanionSpec(demo_, &demoCompanion_));
        for (const char* name : {"Src", "Other"}) {
            const auto r = docbuilder::BuildDocument("structure " + std::string(name) + "\ntable New\n  field B text\n",
                                                     "s.qzdoc", docs_ + "/from");
            ASSERT_EQ(r.error, 0) << r.message;
            fs::remove(r.manifestPath);
        }
        fs::remove(demo_.path + ".manifest");
        std::ofstream(docs_ + "/from/s.sql") << "CREATE TABLE Built (c INT);";
    }

    int16_t RunA(A a)
    {
        switch (a) {
        case A::Save: return CopyFile(InFolder("from/Src.QzB"), demo_);
        case A::Sql: {
            unsigned char script[256], report[256];
            apptest::ToP(docs_ + "/from/s.sql", script);
            apptest::ToP(docs_ + "/from/s.sql.report.txt", report);
            platform::FSSpec made;
            platform::testing::HeadlessRun run({});
            platform::PushFileDialogAnswer(demo_.path);
            return SQL(script, report, &made);
        }
        }
        return -1;
    }

    // A runs in a child process that stops at its start (B takes what it
    // holds) and at `stop` (B does its part); A's answer.
    int16_t RunBoth(const Row& row, int16_t* bAnswer, bool* stopped)
    {
        int answer[2];
        if (::pipe(answer) != 0) return -1;
        const pid_t a = ::fork();
        if (a == 0) {
            filecrash::StopAt stopper(row.stop);
            ::raise(SIGSTOP);
            platform::SetFileOpObserver(&stopper);
            const int16_t result = RunA(row.a);
            platform::SetFileOpObserver(nullptr);
            (void)!::write(answer[1], &result, sizeof result);
            ::_exit(0);
        }
        ::close(answer[1]);
        int status = 0;
        ::waitpid(a, &status, WUNTRACED);
        Opened held;
        if (row.b == B::Hold) {
            held = Open(demo_, 1);
            *bAnswer = held.err ? held.err : AcceptQzB(held.rsrFile, held.container);
        }
        ::kill(a, SIGCONT);
        ::waitpid(a, &status, WUNTRACED);
        *stopped = WIFSTOPPED(status);
        if (row.b == B::Open) {
            const Opened o = Open(demo_, 1);
            *bAnswer = o.err;
            Close(o);
        } else if (row.b == B::Save) {
            *bAnswer = CopyFile(InFolder("from/Other.QzB"), demo_);
        }
        if (*stopped) {
            ::kill(a, SIGCONT);
            ::waitpid(a, &status, 0);
        }
        int16_t result = -1;
        if (::read(answer[0], &result, sizeof result) != sizeof result) result = -2;
        ::close(answer[0]);
        if (row.b == B::Hold && held.container > 0) {
            // B's own change after A's try: it lands in the document.
            useres(held.container);
            if (!xaddres(platform::NewHandle(2), FourCC("HELD"), 1) || !updateres(held.container)) *bAnswer = -1;
            Close(held);
        }
        return result;
    }

    // The names in the folder, sidecars left out.
    static std::set<std::string> Names(const std::string& folder)
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().rfind("._", 0) != 0) names.insert(e.path().filename());
        return names;
    }

    platform::FSSpec demo_, demoCompanion_;
};

TEST_F(TwoPrograms, OnlyTheHolderOfAPairsLockChangesIt)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        MakeDocuments();
        const Bytes oldData = Read(demo_), oldCompanion = Read(demoCompanion_);
        const Bytes srcData = Read(InFolder("from/Src.QzB")), srcCompanion = Read(InFolder("from/Src.RSR"));
        int16_t bAnswer = 1;
        bool stopped = false;
        const int16_t aAnswer = RunBoth(row, &bAnswer, &stopped);
        EXPECT_EQ(stopped, row.stop.kind != Point::None) << "A never reached its stop";
        EXPECT_EQ(aAnswer, row.aAnswer);
        EXPECT_EQ(bAnswer, row.bAnswer);

        // Demo: the pair A made, or the old one (with B's change if B held
        // it); the sources whole where they were.
        const bool moved = row.a == A::Save && aAnswer == 0;
        const Bytes data = Read(demo_), companion = Read(demoCompanion_);
        if (moved) {
            EXPECT_TRUE(data == srcData && companion == srcCompanion) << "Demo is not Src's pair";
        } else if (row.a == A::Sql && aAnswer == 0) {
            EXPECT_NE(data, oldData);
        } else if (row.b != B::Hold) {
            EXPECT_TRUE(data == oldData && companion == oldCompanion);
        }
        const Opened now = Open(demo_, 1);
        ASSERT_EQ(now.err, 0);
        EXPECT_EQ(Resource(now.container, FourCC("HELD"), 1).size(), row.b == B::Hold ? 2u : 0u) << "B's change";
        CloseAccepted(now);
        std::set<std::string> names = {"Demo.QzB", "Demo.RSR", "from"};
        EXPECT_EQ(Names(docs_), names);
        names = {"Other.QzB", "Other.RSR", "s.sql"};
        if (!moved) names.insert({"Src.QzB", "Src.RSR"});
        if (row.a == A::Sql) names.insert("s.sql.report.txt");
        EXPECT_EQ(Names(docs_ + "/from"), names);
        if (!moved) {
            EXPECT_TRUE(Read(InFolder("from/Src.QzB")) == srcData && Read(InFolder("from/Src.RSR")) == srcCompanion);
        }
    }
}

}  // namespace
}  // namespace doctest
