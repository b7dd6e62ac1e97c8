// Two programs on one document: program A (a second process) replaces,
// builds or changes the pair at a name and is stopped at a step of it,
// while program B (this process) opens the name, replaces it or holds it.
// Only the holder of the pair's lock changes the pair: the other is told
// the document is busy and touches nothing, and each name ends with one
// whole pair.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "design/documents/DocumentPairs.h"
#include "app/dialogs/Messages.h"
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
// before A starts and changes it once A has ended; or works on the library
// of the same name, whose companion is the same Demo.RSR: opens Demo.QTL,
// saves from/Lib.QTL as it, or makes a new library there.
enum class B { Open, Save, Hold, OpenLib, SaveLib, NewLib };

struct Row {
    const char* what;
    A a;
    Point stop;
    B b;
    int16_t aAnswer, bAnswer;
    bool fresh = false;   // no Demo before A's save
    bool killed = false;  // A killed at its stop, before B's part
};

constexpr int16_t kBusy = platform::fBsyErr, kOpenBusy = -49, kKilled = -2;
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
    // The library of the same name takes the same lock: it neither takes
    // nor removes the made companion of A's save.
    {"two new documents of one name saved at once", A::Save, {Point::Wrote, "._.qz.Demo.QzB.replacing."},
     B::SaveLib, 0, kBusy, true},
    {"a library saved at the journal's flush", A::Save, {Point::Synced, "._.qz.Demo.QzB.replacing."}, B::SaveLib, 0,
     kBusy},
    {"a library opened before the journal", A::Save, kJournalMade, B::OpenLib, 0, kOpenBusy},
    {"a library opened at the companion's rename", A::Save, {Point::Renamed, "/Demo.RSR"}, B::OpenLib, 0, kOpenBusy},
    {"a library made at the data file's rename", A::Save, {Point::Renamed, "/Demo.QzB"}, B::NewLib, 0, kBusy},
    {"a new library made before the source goes", A::Save, {Point::Before, "/from/Src.QzB"}, B::NewLib, 0, kBusy,
     true},
    {"a library saved at an SQL building", A::Sql, {Point::Renamed, ".qz.Demo.QzB.bld"}, B::SaveLib, 0, kBusy},
    // What a killed save left is finished by the next program on either
    // name: its made companion is no leftover of the library's.
    {"a library opened after a save killed with its journal", A::Save, {Point::Renamed, ".qz.Demo.QzB.replacing"},
     B::OpenLib, kKilled, platform::fnfErr, false, true},
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
        const auto lib = docbuilder::BuildDocument("library Lib\nstrings Lib id 7100\n  \"lib\"\n", "l.qzdoc",
                                                   docs_ + "/from");
        ASSERT_EQ(lib.error, 0) << lib.message;
        ASSERT_EQ(lib.dataPath, docs_ + "/from/Lib.QTL");
        fs::remove(lib.manifestPath);
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

    int16_t RunB(B b)
    {
        switch (b) {
        case B::Open:
        case B::OpenLib: {
            const Opened o = Open(b == B::Open ? demo_ : InFolder("Demo.QTL"), b == B::Open);
            Close(o);
            return o.err;
        }
        case B::Save: return CopyFile(InFolder("from/Other.QzB"), demo_);
        case B::SaveLib: return CopyFile(InFolder("from/Lib.QTL"), InFolder("Demo.QTL"));
        case B::NewLib: return CreateQzLib(InFolder("Demo.QTL"), 1);
        case B::Hold: break;
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
        if (row.killed && *stopped) {
            ::kill(a, SIGKILL);
            ::waitpid(a, &status, 0);
            *stopped = false;
        }
        if (row.b != B::Hold) *bAnswer = RunB(row.b);
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

    // The data file and companion at `data` gone, with their sidecars.
    void RemovePair(const platform::FSSpec& data)
    {
        platform::FSSpec companion;
        ASSERT_TRUE(CompanionSpec(data, &companion));
        for (const std::string& path : {data.path, companion.path})
            for (const fs::path& p : {fs::path(path), fs::path(path).parent_path() / ("._" + fs::path(path).filename().string())})
                fs::remove(p);
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
        if (row.fresh) RemovePair(demo_);
        const Bytes oldData = Read(demo_), oldCompanion = Read(demoCompanion_);
        const Bytes srcData = Read(InFolder("from/Src.QzB")), srcCompanion = Read(InFolder("from/Src.RSR"));
        int16_t bAnswer = 1;
        bool stopped = false;
        const int16_t aAnswer = RunBoth(row, &bAnswer, &stopped);
        EXPECT_EQ(stopped, row.stop.kind != Point::None && !row.killed) << "A never reached its stop";
        EXPECT_EQ(aAnswer, row.aAnswer);
        EXPECT_EQ(bAnswer, row.bAnswer);

        // Demo: the pair A made, or the old one (with B's change if B held
        // it); the sources whole where they were.
        const bool moved = row.a == A::Save && aAnswer == 0;
        const Bytes data = Read(demo_), companion = Read(demoCompanion_);
        if (moved || row.killed) {
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
        names = {"Other.QzB", "Other.RSR", "Lib.QTL", "Lib.RSR", "s.sql"};
        if (!moved) names.insert({"Src.QzB", "Src.RSR"});
        // Nobody worked in from/ since A was killed: its lock file, which
        // holds nothing, goes with the next lock taken there.
        if (row.killed) names.insert(".qz.Src.RSR.lock");
        if (row.a == A::Sql) names.insert("s.sql.report.txt");
        EXPECT_EQ(Names(docs_ + "/from"), names);
        if (!moved) {
            EXPECT_TRUE(Read(InFolder("from/Src.QzB")) == srcData && Read(InFolder("from/Src.RSR")) == srcCompanion);
        }
    }
}

// What another program holds or left at a name, and the program's two tries
// (an open, then a save of Src over Demo): refused with nothing changed
// while it is there, both done once it has gone. Lock files nobody holds
// go with the next lock taken in the folder.
enum class There {
    LockHeld,
    CompanionHeld,
    FolderAtLock,
    LinkAtLock,
    PipeAtLock,
    LockOfAnotherUser,
    CompanionReadOnly,
    DataLinked,
    CompanionLinked,
    Leftovers
};

struct HeldRow {
    const char* what;
    There there;
    int16_t openAnswer, saveAnswer;
    const char* said;  // what the open says: the message of its answer, or its own alert
};

constexpr int16_t kLockName = platform::lockNameErr, kLockDenied = platform::lockDeniedErr, kSaid = 1001;
constexpr const char* kAtLockName =
    "Something other than a file (a folder, a link or a special file) has the name of the hidden lock file "
    "\".qz.Demo.RSR.lock\" beside this document. Nothing was changed: remove that item, then try again.";

constexpr const char* kSecondName =
    "The document \"Demo.QzB\" or its companion file has a second name on the disk (a hard link, as backup tools "
    "make), which a change here would change too or leave behind, so it was not opened. Open a copy of its files "
    "instead.";

const HeldRow kHeldRows[] = {
    {"the pair's lock held", There::LockHeld, kOpenBusy, kBusy, "The file is in use by another program."},
    {"the companion held, its data file free", There::CompanionHeld, kOpenBusy, kBusy,
     "The file is in use by another program."},
    {"a folder at the lock's name", There::FolderAtLock, kLockName, kLockName, kAtLockName},
    {"a link at the lock's name", There::LinkAtLock, kLockName, kLockName, kAtLockName},
    {"a pipe at the lock's name", There::PipeAtLock, kLockName, kLockName, kAtLockName},
    // Left by another user's killed program under a strict umask: this
    // user may not open it (the open refused as the system would).
    {"another user's lock file, closed to this user", There::LockOfAnotherUser, kLockDenied, kLockDenied,
     "The hidden lock file \".qz.Demo.RSR.lock\" beside this document is another user's and closed to you, so "
     "nothing was changed. If no program of theirs is working on the document, remove that file (or ask them to), "
     "then try again."},
    // Refused naming the companion, never opened with its objects hidden;
    // a save over the document replaces the pair as for any document.
    {"the companion read-only", There::CompanionReadOnly, kSaid, 0,
     "The companion file \"Demo.RSR\" of this document may not be written, so the document is locked and was not "
     "opened. Allow writing to the companion file, then open the document again."},
    // Left by a backup tool (a second name in its folder): refused at the
    // open, naming the document; a save over the document leaves the
    // backup's files as they were.
    {"the data file linked under a second name", There::DataLinked, kSaid, 0, kSecondName},
    {"the companion linked under a second name", There::CompanionLinked, kSaid, 0, kSecondName},
    {"lock files nobody holds", There::Leftovers, 0, 0, ""},
};

// Refuses every call on a path ending in `name`, as the system refuses
// this user another user's file (closed to it, or in a sticky folder).
class OthersFile : public platform::FileOpObserver {
public:
    OthersFile(std::string name, int why) : name_(std::move(name)), why_(why) {}
    int Refusal(const std::string& path) override
    {
        return path.size() >= name_.size() && path.compare(path.size() - name_.size(), name_.size(), name_) == 0
                   ? why_
                   : 0;
    }

private:
    std::string name_;
    int why_;
};

// Fails the call number `nth` (from 0) that makes, renames, removes or
// flushes a name in `folder`.
class FailingStep : public platform::FileOpObserver {
public:
    FailingStep(std::string folder, int nth) : folder_(std::move(folder)), nth_(nth) {}
    int Refusal(const std::string& path) override
    {
        if (path != folder_ && fs::path(path).parent_path() != folder_) return 0;
        return calls_++ == nth_ ? EIO : 0;
    }
    bool Met() const { return calls_ > nth_; }

private:
    std::string folder_;
    int nth_, calls_ = 0;
};

TEST_F(TwoPrograms, WhatAnotherProgramHoldsOrLeftAtANameIsSaidAndTouchesNothing)
{
    for (const HeldRow& row : kHeldRows) {
        SCOPED_TRACE(row.what);
        MakeDocuments();
        const std::string lock = PairLockFile(demo_).path;
        const Bytes oldData = Read(demo_), oldCompanion = Read(demoCompanion_);
        const Bytes srcData = Read(InFolder("from/Src.QzB")), srcCompanion = Read(InFolder("from/Src.RSR"));
        int other = -1;  // another program's hold
        const auto hold = [&](const std::string& path) {
            other = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            ASSERT_GE(other, 0);
            ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
        };
        const std::string held = docs_ + "/.qz.Other.QzB.lock";
        const fs::path backup = fs::path(docs_).parent_path() / "backup";
        std::string linked;
        OthersFile closed("/.qz.Demo.RSR.lock", EACCES);
        switch (row.there) {
        case There::LockHeld: hold(lock); break;
        case There::CompanionHeld: hold(demoCompanion_.path); break;
        case There::FolderAtLock: fs::create_directory(lock); break;
        case There::LinkAtLock: fs::create_symlink(docs_ + "/elsewhere", lock); break;
        case There::PipeAtLock: ASSERT_EQ(::mkfifo(lock.c_str(), 0666), 0); break;
        case There::LockOfAnotherUser:
            std::ofstream(lock) << "";
            platform::SetFileOpObserver(&closed);
            break;
        case There::CompanionReadOnly:
            fs::permissions(demoCompanion_.path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            break;
        case There::DataLinked:
        case There::CompanionLinked:
            fs::remove_all(backup);
            fs::create_directories(backup);
            linked = row.there == There::DataLinked ? demo_.path : demoCompanion_.path;
            fs::create_hard_link(linked, backup / fs::path(linked).filename());
            break;
        case There::Leftovers:
            // A killed program's, the name's lock before it was the
            // companion's, and one another program holds.
            for (const char* name : {"/.qz.Gone.RSR.lock", "/.qz.Demo.QzB.lock"}) std::ofstream(docs_ + name) << "";
            hold(held);
            break;
        }
        ResetAlerts();
        const Opened first = Open(demo_, 1);
        Close(first);
        EXPECT_EQ(first.err, row.openAnswer);
        if (first.err != 0) {
            unsigned char message[256];
            ErrorMessage(first.err, message);
            EXPECT_EQ(first.err == kSaid ? LastAlert().text : apptest::P(message), row.said);
        }
        EXPECT_EQ(CopyFile(InFolder("from/Src.QzB"), demo_), row.saveAnswer);
        platform::SetFileOpObserver(nullptr);
        if (row.saveAnswer != 0) {
            EXPECT_TRUE(Read(demo_) == oldData && Read(demoCompanion_) == oldCompanion) << "Demo changed";
            EXPECT_TRUE(Read(InFolder("from/Src.QzB")) == srcData && Read(InFolder("from/Src.RSR")) == srcCompanion);
            const bool atLock = row.there != There::CompanionHeld;
            EXPECT_EQ(fs::exists(fs::symlink_status(lock)), atLock) << "what is at the lock's name was removed";
        }
        std::set<std::string> names = {"Demo.QzB", "Demo.RSR", "from"};
        if (row.there == There::Leftovers) names.insert(".qz.Other.QzB.lock");
        else if (row.saveAnswer != 0 && row.there != There::CompanionHeld) names.insert(".qz.Demo.RSR.lock");
        EXPECT_EQ(Names(docs_), names);


        // Gone: the second try of each is done.
        if (other >= 0) ::close(other);
        if (row.there != There::CompanionHeld && row.there != There::Leftovers) fs::remove(lock);
        if (row.saveAnswer != 0) {
            const Opened second = Open(demo_, 1);
            EXPECT_EQ(second.err, 0);
            CloseAccepted(second);
            EXPECT_EQ(CopyFile(InFolder("from/Src.QzB"), demo_), 0);
        }
        EXPECT_TRUE(Read(demo_) == srcData && Read(demoCompanion_) == srcCompanion) << "Demo is not Src's pair";
        if (!linked.empty()) {
            EXPECT_TRUE(Read(Spec((backup / fs::path(linked).filename()).string())) ==
                        (linked == demo_.path ? oldData : oldCompanion))
                << "the backup changed";
        }
        fs::remove(held);
    }
}

// What a folder holds: each name with its bytes (a folder's empty).
std::map<std::string, Bytes> FolderFiles(const std::string& folder)
{
    std::map<std::string, Bytes> files;
    for (const auto& e : fs::directory_iterator(folder)) {
        Bytes& bytes = files[e.path().filename().string()];
        if (!e.is_directory()) platform::ReadWholeFile(e.path().string(), &bytes);
    }
    return files;
}

// B saves Src over A's Demo.QzB where the folder lets B make files but
// not replace A's (a sticky folder two users share: the rename of A's
// companion refused as the system refuses it), then with each step of the
// save failing in turn. A save that fails leaves A's pair byte for byte,
// and neither a journal nor a made file: A's next open changes nothing. A
// save that lands leaves Src's pair, and once the name is opened nothing
// beside it.
TEST_F(TwoPrograms, ASaveRefusedOrFailedAtAnyStepTakesItsOwnFilesBack)
{
    int failed = 0;
    for (int nth = -1;; ++nth) {
        SCOPED_TRACE(nth < 0 ? "the companion's rename refused" : "step " + std::to_string(nth) + " failing");
        ASSERT_LT(nth, 400);
        MakeDocuments();
        const auto before = FolderFiles(docs_), sources = FolderFiles(docs_ + "/from");
        const Bytes srcData = Read(InFolder("from/Src.QzB")), srcCompanion = Read(InFolder("from/Src.RSR"));
        OthersFile othersCompanion("/Demo.RSR", EPERM);
        FailingStep failing(docs_, nth);
        platform::SetFileOpObserver(nth < 0 ? static_cast<platform::FileOpObserver*>(&othersCompanion) : &failing);
        const int16_t answer = CopyFile(InFolder("from/Src.QzB"), demo_);
        platform::SetFileOpObserver(nullptr);
        if (nth < 0) {
            EXPECT_EQ(answer, platform::permErr);
        } else if (!failing.Met()) {
            EXPECT_EQ(answer, 0);
            break;
        }
        if (answer != 0) {
            ++failed;
            EXPECT_EQ(FolderFiles(docs_), before) << "the folder changed";
            EXPECT_EQ(FolderFiles(docs_ + "/from"), sources) << "the source changed";
        } else {
            EXPECT_TRUE(Read(demo_) == srcData && Read(demoCompanion_) == srcCompanion) << "Demo is not Src's pair";
            for (const auto& [name, bytes] : FolderFiles(docs_))
                EXPECT_TRUE(name.find(".replacing") == std::string::npos && name.find(".new") == std::string::npos)
                    << name << " left";
        }
        // A's next open changes nothing, and removes what a save that
        // landed could not.
        const auto saved = FolderFiles(docs_);
        const Opened next = Open(demo_, 1);
        ASSERT_EQ(next.err, 0);
        CloseAccepted(next);
        const auto now = FolderFiles(docs_);
        EXPECT_EQ(now.at("Demo.QzB"), saved.at("Demo.QzB"));
        EXPECT_EQ(now.at("Demo.RSR"), saved.at("Demo.RSR"));
        EXPECT_EQ(Names(docs_), (std::set<std::string>{"Demo.QzB", "Demo.RSR", "from"}));
        if (answer != 0) {
            EXPECT_EQ(now, before) << "the open changed the folder";
        }
        if (HasFailure()) break;
    }
    EXPECT_GT(failed, 10);
}

// A lock file made under a strict umask can still be opened by every user
// (to learn whether it is held), so that none is kept out by it.
TEST_F(TwoPrograms, ALockFileIsOpenToEveryUserWhateverTheUmask)
{
    MakeDocuments();
    const mode_t mask = ::umask(077);
    struct stat st {};
    {
        PairLock lock;
        ASSERT_EQ(lock.Take(demo_), 0);
        ASSERT_EQ(::stat(PairLockFile(demo_).path.c_str(), &st), 0);
    }
    ::umask(mask);
    EXPECT_EQ(st.st_mode & 0444, 0444u);
}

// Unpaused, as users meet it: A saves Src as Demo.QzB (over the old one, or
// where there is none yet) while B, started up to 40 ms later, opens, saves
// or makes the library Demo.QTL. Whoever answers 0 holds its whole pair at
// the name, and its source is gone only then; the other changed nothing.
TEST_F(TwoPrograms, BothNamesOfOneCompanionTriedAtOnceEndWithOneWholePair)
{
    MakeDocuments();
    const fs::path kept = folder_ / "kept";
    fs::copy(docs_, kept, fs::copy_options::recursive);
    const Bytes oldData = Read(demo_), oldCompanion = Read(demoCompanion_);
    const Bytes src[2] = {Read(InFolder("from/Src.QzB")), Read(InFolder("from/Src.RSR"))};
    const Bytes lib[2] = {Read(InFolder("from/Lib.QTL")), Read(InFolder("from/Lib.RSR"))};
    const platform::FSSpec library = InFolder("Demo.QTL");
    const B kinds[] = {B::SaveLib, B::OpenLib, B::NewLib};
    constexpr int kRounds = 200;
    // One program A for every round: it saves each time it is told to.
    int go[2], answer[2];
    ASSERT_EQ(::pipe(go), 0);
    ASSERT_EQ(::pipe(answer), 0);
    const pid_t a = ::fork();
    if (a == 0) {
        ::close(go[1]);
        ::close(answer[0]);
        for (char round = 0; ::read(go[0], &round, 1) == 1;) {
            const int16_t result = RunA(A::Save);
            (void)!::write(answer[1], &result, sizeof result);
        }
        ::_exit(0);
    }
    ::close(go[0]);
    ::close(answer[1]);
    for (int round = 0; round < kRounds; ++round) {
        const B b = kinds[round % 3];
        const bool fresh = round % 2 == 0;
        SCOPED_TRACE("round " + std::to_string(round));
        fs::remove_all(docs_);
        fs::copy(kept, docs_, fs::copy_options::recursive);
        if (fresh) RemovePair(demo_);
        const char start = 1;
        ASSERT_EQ(::write(go[1], &start, 1), 1);
        // Mostly inside the few milliseconds a save takes, now and then later.
        ::usleep(useconds_t(round % 5 == 0 ? (round % 41) * 1000 : (round * 7 % 41) * 100));
        const int16_t bAnswer = RunB(b);
        int16_t aAnswer = -1;
        if (::read(answer[0], &aAnswer, sizeof aAnswer) != sizeof aAnswer) aAnswer = -2;

        const bool saved = aAnswer == 0, libraryMade = bAnswer == 0;
        EXPECT_TRUE(saved || aAnswer == platform::fBsyErr || aAnswer == platform::dupFNErr) << aAnswer;
        EXPECT_FALSE(saved && libraryMade) << "both names took one companion";
        EXPECT_TRUE(b != B::OpenLib || bAnswer == platform::fnfErr || bAnswer == kOpenBusy) << bAnswer;
        std::set<std::string> names = {"from"};
        if (saved) {
            EXPECT_TRUE(Read(demo_) == src[0] && Read(demoCompanion_) == src[1]) << "Demo.QzB is not Src's pair";
        } else if (!fresh) {
            EXPECT_TRUE(Read(demo_) == oldData && Read(demoCompanion_) == oldCompanion) << "the old Demo changed";
        }
        if (saved || !fresh) names.insert({"Demo.QzB", "Demo.RSR"});
        if (libraryMade) {
            names.insert({"Demo.QTL", "Demo.RSR"});
            if (b == B::SaveLib) {
                EXPECT_TRUE(Read(library) == lib[0] && Read(demoCompanion_) == lib[1]) << "Demo.QTL is not Lib's pair";
            }
        }
        EXPECT_EQ(Names(docs_), names);
        EXPECT_EQ(fs::exists(docs_ + "/from/Src.QzB") && Read(InFolder("from/Src.QzB")) == src[0], !saved);
        EXPECT_EQ(fs::exists(docs_ + "/from/Src.RSR") && Read(InFolder("from/Src.RSR")) == src[1], !saved);
        const bool libMoved = b == B::SaveLib && libraryMade;
        EXPECT_EQ(fs::exists(docs_ + "/from/Lib.QTL") && Read(InFolder("from/Lib.QTL")) == lib[0], !libMoved);
        if (HasFailure()) break;
    }
    ::close(go[1]);
    ::close(answer[0]);
    int status = 0;
    ::waitpid(a, &status, 0);
}

}  // namespace
}  // namespace doctest
