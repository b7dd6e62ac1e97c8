// The program's operations on copies of the demo and DemoTarget, one row
// each, cut by a crash at every change of their files and failed by a full
// disk at each of their writes in turn. After a crash, each document opens
// and holds its old state or its new one whole (every object with its
// links, every resource of both files), and nothing but the documents is
// left beside them. After a failed write the same holds, and the objects
// the program still holds are those a fresh open of the files gives, list
// by list in order, each table with its method.
// Sweeps longer than the budget below check an evenly spread sample of
// their cut points (every Nth, the first and last always), but for the rows
// swept whole. The documents are closed as the program closes them. A row
// may name a change of another kind for after the operation failed on a
// disk full for good from its first, a middle and its last write on: with
// room again it lands, and the program then holds, object by object and
// resource by resource, what a fresh open of the closed files gives.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "design/objects/GroupChanges.h"
#include "design/sql/SqlScript.h"
#include "platform/core/Clock.h"
#include "platform/core/Random.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/textedit/TextEdit.h"
#include "resources/Companion.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "tests/platform/files/FileCrashRecorder.h"
#include "tests/platform/files/StopAt.h"
#include "tests/transfer/ComponentFixture.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/components/Generate.h"
#include "transfer/components/Install.h"

namespace transfertest {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, Bytes>;
using Reading = std::vector<std::string>;

// Crash states and failing writes checked per operation at most.
constexpr size_t kCrashBudget = 24;
constexpr size_t kDiskFullBudget = 16;
// Every run of an operation draws the same new ids, so that a run that
// succeeds stores what the recorded one did.
constexpr int32_t kRunSeed = 1;

Files FolderFiles(const fs::path& folder)
{
    Files out;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) platform::ReadWholeFile(e.path().string(), &out[e.path().filename().string()]);
    return out;
}

void PutFolder(const fs::path& folder, const Files& files)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const auto& [name, bytes] : files)
        ASSERT_EQ(platform::WriteFileAtomically((folder / name).string(), bytes.data(), bytes.size()), 0) << name;
}

// A file that works on a document: a made pair, a journal, a temporary.
bool IsWorkFile(const std::string& name)
{
    if (name.rfind(".qz.", 0) == 0) return true;
    const size_t dot = name.rfind('.');
    if (name.rfind("._", 0) != 0 || dot == std::string::npos || name.size() - dot != 9) return false;
    return std::all_of(name.begin() + int64_t(dot) + 1, name.end(), [](char c) { return std::isxdigit(uint8_t(c)); });
}

std::string Hex(uint32_t type) { return std::string{char(type >> 24), char(type >> 16), char(type >> 8), char(type)}; }

struct Operation;

class OperationCrash : public ComponentFixture {
protected:
    void SetUp() override
    {
        ComponentFixture::SetUp();
        InstallKernelStoreAccess();
        work_ = folder_ / "docs";
        fs::create_directories(work_);
        for (const char* name : {"Demo.QzB", "Demo.RSR", "._Demo.QzB", "._Demo.RSR", "DemoTarget.QzB", "DemoTarget.RSR",
                                 "._DemoTarget.QzB", "._DemoTarget.RSR", "Reports-1.QCP", "Reports-1.RSR"})
            fs::copy_file(fs::path(QZ_DEMO_DIR) / name, work_ / name);
        fs::copy_file(fs::path(QZ_SOURCE_DIR) / "resources/demo/Demo.sql", work_ / "Demo.sql");
        src_.dataPath = (work_ / "Demo.QzB").string();
        dst_.dataPath = (work_ / "DemoTarget.QzB").string();
        dst_.companionPath = (work_ / "DemoTarget.RSR").string();
    }
    void TearDown() override
    {
        platform::ClearFileDialogAnswers();
        platform::ClearAllFaults();
        ComponentFixture::TearDown();
    }

public:
    void OpenBoth()
    {
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
        Open(src_.dataPath);
        ASSERT_EQ(Read(), 0);
        OpenDest();
        doc_.fCompilerDirty = dest_.fCompilerDirty = false;
        // As the program opens them: the commands by name.
        for (TMainDoc* doc : {&doc_, &dest_}) ShellStrictSort(GetObjListe(doc->fTypeList, 3));
    }
    // As the program closes them: a document with changes for the compiler
    // counts one more in its companion first.
    void CloseBoth()
    {
        for (TMainDoc* doc : {&dest_, &doc_}) {
            if (doc->fTypeList) DisposeTypeList(doc->fTypeList);
            doc->fTypeList = nullptr;
            if (doc->fModuleManager) DisposeModuleMgr(doc->fModuleManager);
            doc->fModuleManager = nullptr;
            doc->CloseFile();
        }
    }
    TObjQz* Source(int16_t kind, const std::string& name) { return Src(kind, name); }
    TLayoutObjQz* SourceForm(const std::string& table, const std::string& name) { return FormOf(&doc_, table, name); }
    TMainDoc* SourceDoc() { return &doc_; }
    TMainDoc* TargetDoc() { return &dest_; }
    std::string Work(const std::string& name) const { return (work_ / name).string(); }
    int16_t DropRows(const std::vector<TObjQz*>& rows, int16_t mode)
    {
        for (int i = 0; i < 8; ++i) platform::PushDialogAnswer(1);
        const int16_t result = Drop(rows, mode);
        platform::ClearDialogAnswers();
        return result;
    }
    // The user's default choices ('C_PR' 0 of the test's own preferences):
    // these {code, choice} pairs.
    void SetUserDefaults(const std::vector<std::pair<int16_t, int16_t>>& pairs)
    {
        Bytes bytes;
        for (const auto& [code, choice] : pairs)
            for (const int16_t v : {code, choice}) bytes.insert(bytes.end(), {uint8_t(uint16_t(v) >> 8), uint8_t(v)});
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        if (platform::Handle old = platform::Get1Resource(FourCC("C_PR"), 0)) {
            platform::RemoveResource(old);
            platform::DisposeHandle(old);
        }
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        platform::AddResource(h, FourCC("C_PR"), 0, nullptr);
        platform::UpdateResFile(G_PrefResFile);
        platform::UseResFile(saved);
    }
    // What DemoTarget's files hold (its objects, store and companion).
    Reading TargetReading() const { return ReadingOf(work_ / "DemoTarget.QzB"); }
    int16_t InstallFrom(const std::string& library)
    {
        platform::PushFileDialogAnswer(library);
        for (int i = 0; i < 4; ++i) platform::PushDialogAnswer(1);
        const int16_t result = transfer::M_Install(&dest_);
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        return result;
    }
    int16_t GenerateInto(const std::string& library, uint32_t number)
    {
        TModuleObjQz* reports = Component(&doc_, "Reports");
        if (!reports) return -1;
        reports->SetVersionNb(number);
        platform::PushFileDialogAnswer(library);
        platform::PushDialogAnswer(1);
        const int16_t result = transfer::GenerateComponent(&doc_, reports);
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        return result;
    }
    int16_t Delete(TMainDoc* doc, TObjQz* obj)
    {
        if (!obj || !obj->EnableDelete()) return -1;
        // As Edit > Clear deletes it: a failure is told in an alert.
        ResetAlerts();
        doc->DelObjMsg(obj);
        obj->ListRemove();
        obj->DeleteObj(true);
        return AlertCount() > 0 ? platform::ioErr : int16_t(0);
    }

protected:
    // The objects the open document lists, list after list in order, each
    // with its id (a table's method's too) and what it uses.
    static Reading Held(TMainDoc* doc)
    {
        Reading out;
        for (int16_t k = 0; doc->fTypeList && k < 23; ++k)
            for (int32_t i = 0; doc->fTypeList->lists[k] && i < doc->fTypeList->lists[k]->Size(); ++i) {
                TObjQz* obj = doc->fTypeList->lists[k]->At(i);
                std::string line = std::to_string(obj->kind) + ":" + readtest::P(obj->name) + ":" + std::to_string(obj->id);
                if (auto* table = dynamic_cast<TFileObjQz*>(obj)) line += " method " + std::to_string(table->methodId);
                std::set<std::string> uses;
                for (int32_t u = 0; obj->uses && u < obj->uses->Size(); ++u)
                    uses.insert(std::to_string(obj->uses->At(u)->kind) + ":" + readtest::P(obj->uses->At(u)->name));
                for (const std::string& u : uses) line += " " + u;
                out.push_back(line);
            }
        return out;
    }
    // What a document holds, as the program reads it: its objects with
    // their ids and what each uses, its format tag, every resource of its
    // store (enciphered ones deciphered) and of its companion. {"absent"}
    // when there is no document at the name.
    static Reading ReadingOf(const fs::path& path)
    {
        TMainDoc doc;
        platform::FSSpec fileSpec{path.string()};
        const std::string ext = path.extension().string();
        int16_t other = -1;
        unsigned char password[16] = {0};
        int16_t err = NewTypeList(&doc.fTypeList);
        if (!err) err = OpenQzB(ext == ".QzB" ? 1 : 0, fileSpec, &doc.fRsrFile, &doc.fResFile, &other, password);
        doc.fSpec = fileSpec;
        apptest::ToP(path.filename().string(), doc.fName);
        if (!err) err = ReadQzB(&doc, 1, ext == ".QCP" ? 1 : 0);
        if (!err) ShellStrictSort(GetObjListe(doc.fTypeList, 3));
        Reading out;
        if (err) {
            out.push_back(fs::exists(path) ? "does not open: " + std::to_string(err) : "absent");
        } else {
            out = Held(&doc);
            Bytes file;
            platform::ReadWholeFile(path.string(), &file);
            out.push_back("format " + std::string(file.begin(), file.begin() + std::min<size_t>(4, file.size())));
            for (const std::string& line : StoreLines(&doc)) out.push_back("store " + line);
        }
        if (doc.fTypeList) DisposeTypeList(doc.fTypeList);
        if (doc.fModuleManager) DisposeModuleMgr(doc.fModuleManager);
        if (doc.fResFile > 0 || doc.fRsrFile > 0) CloseQzB(doc.fRsrFile, doc.fResFile, -1, -1);
        platform::FSSpec companion;
        Bytes bytes;
        platform::ResourceFileImage image;
        if (!err && CompanionSpec(fileSpec, &companion) && platform::ReadWholeFile(companion.path, &bytes) == 0 &&
            platform::ParseResourceFile(bytes.data(), bytes.size(), &image) == 0)
            for (const platform::ResourceImage& r : image.resources)
                out.push_back("companion " + Hex(r.type) + "/" + std::to_string(r.id) + " " + r.name + " " +
                              std::string(r.data.begin(), r.data.end()));
        return out;
    }
    // Where the objects the program holds differ from those its files give.
    static std::string Differ(const std::string& name, const Reading& held, const Reading& files)
    {
        if (held == files) return "";
        if (std::multiset<std::string>(held.begin(), held.end()) == std::multiset<std::string>(files.begin(), files.end())) {
            size_t at = 0;
            while (held[at] == files[at]) ++at;
            return name + " holds " + held[at].substr(0, 60) + " where its files have " + files[at].substr(0, 60) + "; ";
        }
        std::vector<std::string> only, gone;
        std::multiset<std::string> a(held.begin(), held.end()), b(files.begin(), files.end());
        std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
        std::set_difference(b.begin(), b.end(), a.begin(), a.end(), std::back_inserter(gone));
        auto some = [](const std::vector<std::string>& lines) {
            std::string text;
            for (size_t i = 0; i < lines.size() && i < 4; ++i) text += (i ? " | " : "") + lines[i].substr(0, 240);
            return text + (lines.size() > 4 ? " | and " + std::to_string(lines.size() - 4) + " more" : "");
        };
        return name + " holds [" + some(only) + "], its files [" + some(gone) + "]; ";
    }
    // A reading without the ids a run draws: its objects by name and what
    // each uses, and its resources by type.
    static std::multiset<std::string> Loosely(const Reading& reading)
    {
        std::multiset<std::string> out;
        for (const std::string& line : reading) {
            const bool resource = line.rfind("store ", 0) == 0 || line.rfind("companion ", 0) == 0;
            if (resource || line.rfind("format ", 0) == 0) {
                out.insert(line.substr(0, line.find('/')));
                continue;
            }
            const size_t id = line.find(':', line.find(':') + 1), end = line.find(' ', id);
            out.insert(line.substr(0, id) + (end == std::string::npos ? "" : line.substr(end)));
        }
        return out;
    }
    // What an open document holds in memory, as ReadingOf reads its files:
    // its objects and every resource of its store; then the bytes its
    // companion takes at the close when it holds changes.
    static Reading HeldWhole(TMainDoc* doc)
    {
        Reading out = Held(doc);
        for (const std::string& line : StoreLines(doc)) out.push_back("store " + line);
        Bytes companion;
        if (doc->fRsrFile != -1 && platform::PendingResFileBytes(doc->fRsrFile, &companion) != 0)
            out.push_back("companion unreadable");
        if (!companion.empty()) out.push_back("companion file " + std::string(companion.begin(), companion.end()));
        return out;
    }
    // A reading as HeldWhole gives it, of a document's files: what its
    // companion file holds when `changed`.
    static Reading AsHeld(const fs::path& path, bool changed)
    {
        Reading out;
        for (const std::string& line : ReadingOf(path))
            if (line.rfind("format ", 0) != 0 && line.rfind("companion ", 0) != 0) out.push_back(line);
        platform::FSSpec companion;
        Bytes bytes;
        if (changed && CompanionSpec(platform::FSSpec{path.string()}, &companion))
            platform::ReadWholeFile(companion.path, &bytes);
        if (changed) out.push_back("companion file " + std::string(bytes.begin(), bytes.end()));
        return out;
    }
    // Its objects, list after list, each list in its order.
    static Reading ObjectsOf(const Reading& reading)
    {
        Reading out;
        for (const std::string& line : reading)
            if (line.rfind("store ", 0) != 0 && line.rfind("companion ", 0) != 0 && line.rfind("format ", 0) != 0)
                out.push_back(line);
        return out;
    }

    // How an operation ended: cut by a crash (each document old or new,
    // exactly as the recorded run left it), failed (old, or new but for the
    // ids this run chose), or done (new).
    enum class Outcome { Cut, Failed, Done };
    // What is wrong with the documents in `folder` once each is opened, or
    // a file left beside them.
    std::string Check(const fs::path& folder, Outcome outcome, const Operation& op) const;
    // Prepares, then runs the operation recorded: the old and new states.
    void Baseline(const Operation& op, std::unique_ptr<filecrash::Recorder>* recorder);
    // The number of states or failing writes found wrong.
    size_t SweepCrashes(const Operation& op, filecrash::Recorder& recorder, size_t* states, size_t* checked);
    size_t SweepFullDisk(const Operation& op, size_t* writes, size_t* checked);
    // The number of runs found wrong where the operation, the disk full
    // for good from its first, a middle or its last write on, fails and
    // its next step (the disk back) lands.
    size_t SweepThenNext(const Operation& op, size_t writes);

    fs::path work_;
    Files base_;
    std::vector<std::string> names_;     // the documents the operation may change or make
    std::vector<std::string> made_;      // those it makes
    // Each document before the operation, as the run left it, and closed
    // after the run (a close counts the changes for the compiler).
    std::map<std::string, Reading> old_, end_, new_;
    std::set<std::string> kept_;         // the files the old or new state has
};

struct Operation {
    const char* name;
    // Names the operation makes beside the documents.
    std::vector<std::string> made;
    // Run first, unrecorded, on the open documents; the files it leaves
    // are the old state.
    std::function<void(OperationCrash&)> prepare;
    std::function<int16_t(OperationCrash&)> run;
    // Every crash state and every failing write checked, whatever the
    // budget.
    bool whole = false;
    // A document that may hold its new state only beside the new state of
    // another: {that document, the other}.
    std::pair<std::string, std::string> needs = {};
    // The source and destination built from these descriptions (of the
    // structures Demo and DemoTarget) instead of the demo's.
    const char* source = nullptr;
    const char* dest = nullptr;
    // What is wrong after a run that gave `result`, its documents closed.
    std::function<std::string(OperationCrash&, int16_t result)> check = nullptr;
    // A change of another kind, run once the operation failed on a full
    // disk and the disk has room again: it must land, and what the program
    // then holds is what its files give once closed.
    std::function<int16_t(OperationCrash&)> then = nullptr;
    // Before the operation, in the same session, for `then` alone: a
    // change that lands first.
    std::function<void(OperationCrash&)> lead = nullptr;
};

std::string OperationCrash::Check(const fs::path& folder, Outcome outcome, const Operation& op) const
{
    std::string wrong;
    std::set<std::string> changed;  // the documents new and not old
    for (const std::string& name : names_) {
        const Reading now = ReadingOf(folder / name);
        const Reading &old = old_.at(name), &made = (outcome == Outcome::Cut ? end_ : new_).at(name);
        // A made document draws names and ids of its own each run: whole
        // is all that is asked of it then.
        const bool opens = now.empty() || (now[0] != "absent" && now[0].rfind("does not open", 0) != 0);
        const bool ownNames = std::find(made_.begin(), made_.end(), name) != made_.end();
        const bool isOld = now == old;
        const bool isNew = outcome == Outcome::Cut ? now == made
                           : ownNames               ? opens == (made.empty() || made[0] != "absent")
                                                    : Loosely(now) == Loosely(made);
        if (outcome == Outcome::Done ? !isNew || (isOld && old != made) : !isOld && !isNew)
            wrong += (outcome == Outcome::Done ? "not new: " : "neither old nor new: ") + Differ(name, now, old) +
                     " / " + Differ(name, now, made);
        if (isNew && !isOld) changed.insert(name);
    }
    if (changed.count(op.needs.first) && !changed.count(op.needs.second))
        wrong += op.needs.first + " is new without " + op.needs.second + "; ";
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (!kept_.count(name) || IsWorkFile(name)) wrong += "left: " + name + "; ";
    }
    return wrong;
}

void OperationCrash::Baseline(const Operation& op, std::unique_ptr<filecrash::Recorder>* recorder)
{
    if (op.source) {
        PutFolder(work_, {});
        for (const char* description : {op.source, op.dest}) {
            const docbuilder::BuildResult built = docbuilder::BuildDocument(description, "row.qzdoc", work_.string());
            ASSERT_EQ(built.error, 0) << built.message;
        }
    }
    OpenBoth();
    if (op.prepare) op.prepare(*this);
    CloseBoth();
    base_ = FolderFiles(work_);
    OpenBoth();
    platform::SetRandomSeed(kRunSeed);
    *recorder = std::make_unique<filecrash::Recorder>(work_);
    ResetAlerts();
    const int16_t result = op.run(*this);
    (*recorder)->Stop();
    CloseBoth();
    EXPECT_EQ(result, 0);
    if (op.check) {
        EXPECT_EQ(op.check(*this, result), "");
    }
    names_ = {"Demo.QzB", "DemoTarget.QzB"};
    names_.insert(names_.end(), op.made.begin(), op.made.end());
    made_ = op.made;
    kept_.clear();
    for (const Files& files : {base_, FolderFiles(work_)})
        for (const auto& [name, bytes] : files) kept_.insert(name);
    const std::pair<const char*, std::map<std::string, Reading>*> states[] = {{"old", &old_}, {"end", &end_}, {"new", &new_}};
    for (const auto& [state, readings] : states) {
        const fs::path at = folder_ / state;
        PutFolder(at, readings == &old_ ? base_ : readings == &end_ ? (*recorder)->After().Files() : FolderFiles(work_));
        for (const std::string& name : names_) (*readings)[name] = ReadingOf(at / name);
    }
    PutFolder(work_, base_);
}

size_t OperationCrash::SweepCrashes(const Operation& op, filecrash::Recorder& recorder, size_t* states, size_t* checked)
{
    // Every state written once to count them, then a sample checked.
    *states = 0;
    recorder.CheckEveryCut(folder_ / "count", [&](const fs::path&) {
        ++*states;
        return std::string();
    });
    const size_t every = op.whole ? 1 : std::max<size_t>(1, (*states + kCrashBudget - 1) / kCrashBudget);
    size_t seen = 0;
    *checked = 0;
    const size_t failed = recorder.CheckEveryCut(folder_ / "state", [&](const fs::path& state) {
        const size_t at = seen++;
        if (at % every != 0 && at + 1 != *states) return std::string();
        ++*checked;
        return Check(state, Outcome::Cut, op);
    });
    return failed;
}

size_t OperationCrash::SweepFullDisk(const Operation& op, size_t* writes, size_t* checked)
{
    // A run whose write `n` (from 0) fails: whether the fault fired, and
    // when asked what is wrong once the fault is cleared, in what the
    // program holds and in the files after closing.
    std::string wrong;
    auto runFailingAt = [&](int32_t n, bool* fired, bool check) {
        PutFolder(work_, base_);
        OpenBoth();
        platform::SetRandomSeed(kRunSeed);
        platform::InjectFault(platform::FaultKind::DiskFull, n);
        ResetAlerts();
        const int16_t result = op.run(*this);
        *fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        const Reading source = Held(&doc_), target = Held(&dest_);
        CloseBoth();
        wrong.clear();
        if (!check) return;
        wrong = Check(work_, result == 0 ? Outcome::Done : Outcome::Failed, op);
        if (wrong.empty())
            for (const auto& [name, held] : {std::pair{"Demo.QzB", &source}, std::pair{"DemoTarget.QzB", &target}})
                wrong += Differ(name, *held, ObjectsOf(ReadingOf(work_ / name)));
        if (op.check) wrong += op.check(*this, result);
        if (!wrong.empty()) wrong = "result " + std::to_string(result) + ": " + wrong;
    };
    // How many writes a whole run makes: the first fault that never fires.
    bool fired = true;
    int32_t low = 0, high = 1;
    for (; fired; high *= 2) {
        runFailingAt(high, &fired, false);
        if (fired) low = high;
    }
    high /= 2;
    while (high - low > 1) {
        const int32_t mid = (low + high) / 2;
        runFailingAt(mid, &fired, false);
        (fired ? low : high) = mid;
    }
    *writes = size_t(high);
    const size_t every = op.whole ? 1 : std::max<size_t>(1, (*writes + kDiskFullBudget - 1) / kDiskFullBudget);
    size_t failed = 0;
    *checked = 0;
    // The sampled writes, then a run where none fails.
    for (size_t n = 0; n <= *writes; n = n < *writes && n + every > *writes ? *writes : n + every) {
        runFailingAt(int32_t(n), &fired, true);
        if (n < *writes) ++*checked;
        if (!wrong.empty() && ++failed <= 3)
            ADD_FAILURE() << (n < *writes ? "the write " + std::to_string(n) + " failing: " : "no write failing: ") << wrong;
    }
    PutFolder(work_, base_);
    return failed;
}

size_t OperationCrash::SweepThenNext(const Operation& op, size_t writes)
{
    size_t failed = 0;
    for (size_t n : {size_t(0), writes / 2, writes - 1}) {
        // The last write that fails the operation: some after its commit
        // (space given back) may fail unsaid.
        int16_t first = 0;
        for (;; --n) {
            PutFolder(work_, base_);
            OpenBoth();
            if (op.lead) op.lead(*this);
            platform::SetRandomSeed(kRunSeed);
            platform::InjectFault(platform::FaultKind::DiskFull, int32_t(n), -1);
            ResetAlerts();
            first = op.run(*this);
            platform::ClearFault(platform::FaultKind::DiskFull);
            if (first != 0 || n == 0) break;
            CloseBoth();
        }
        const int16_t next = op.then(*this);
        const Reading source = HeldWhole(&doc_), target = HeldWhole(&dest_);
        CloseBoth();
        std::string wrong;
        if (first == 0) wrong += "the operation did not fail; ";
        if (next != 0) wrong += "the next step gave " + std::to_string(next) + "; ";
        for (const auto& [name, held] : {std::pair{"Demo.QzB", &source}, std::pair{"DemoTarget.QzB", &target}})
            wrong += Differ(name, *held, AsHeld(work_ / name, !held->empty() && held->back().rfind("companion file ", 0) == 0));
        if (!wrong.empty() && ++failed <= 3) ADD_FAILURE() << "full from write " << n << " on: " << wrong;
    }
    PutFolder(work_, base_);
    return failed;
}

// The lines (by their beginnings) missing from a reading.
std::string Missing(const Reading& reading, const std::vector<std::string>& lines)
{
    std::string missing;
    for (const std::string& line : lines)
        if (std::none_of(reading.begin(), reading.end(), [&](const std::string& l) { return l.rfind(line, 0) == 0; }))
            missing += "missing " + line + "; ";
    return missing;
}

std::string Text(int16_t list, int16_t index)
{
    unsigned char text[256];
    MyGetIndString(text, list, index);
    return readtest::P(text);
}

TObjQz* Named(TMainDoc* doc, int16_t kind, const std::string& name)
{
    ObjListHdl list = GetObjListe(doc->fTypeList, kind);
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i)->kind == kind && readtest::P(list->At(i)->name) == name) return list->At(i);
    return nullptr;
}

int16_t WriteDocumentation(TObjQz* obj)
{
    if (!obj) return -1;
    const platform::Rect r{0, 0, 200, 300};
    platform::TEHandle te = platform::TEStyleNew(&r, &r);
    platform::TESetText("Rounds the total to whole cents before it is shown.", 51, te);
    const int16_t result = obj->WriteDoc(te, 0);
    platform::TEDispose(te);
    return result;
}

int16_t RenameWithUsers(TObjQz* obj, const char* to)
{
    if (!obj) return -1;
    ObjListHdl users = nullptr;
    if (NewObjList(&users, 10) != 0) return platform::memFullErr;
    for (int32_t i = 0; obj->usedBy && i < obj->usedBy->Size(); ++i) AddObjList(&users, obj->usedBy->At(i));
    unsigned char name[256];
    apptest::ToP(to, name);
    TObjQz* out = nullptr;
    return obj->DoReplace(name, true, users, &out, false);
}

int16_t NewGroup(TMainDoc* doc, const char* name)
{
    unsigned char pname[256];
    apptest::ToP(name, pname);
    TGroupObjQz* made = nullptr;
    return NewGroupOf(doc, pname, &made);
}

// The demo's objects dropped on DemoTarget, the component commands between
// them, and the demo's own changes; some followed, once failed, by a change
// of another kind.
const Operation kOperations[] = {
    {"drop of methods", {}, nullptr,
     [](OperationCrash& t) {
         return t.DropRows({t.Source(2, "Print_Invoice"), t.Source(2, "Close_Invoice")}, 1);
     },
     false, {}, nullptr, nullptr, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(Named(t.TargetDoc(), 2, "Open_Shop"), "Open_Store"); }},
    {"drop of a table with its forms", {}, nullptr,
     [](OperationCrash& t) {
         return t.DropRows({t.Source(1, "Invoices"), t.SourceForm("Invoices", "Invoice"),
                            t.SourceForm("Invoices", "Summary")},
                           0);
     }},
    {"drop of a form alone", {}, nullptr,
     [](OperationCrash& t) { return t.DropRows({t.SourceForm("Invoices", "Summary")}, 0); }, true},
    {"drop of a group", {}, nullptr, [](OperationCrash& t) { return t.DropRows({t.Source(23, "Accounting")}, 0); }},
    {"drop of a package", {}, nullptr,
     [](OperationCrash& t) { return t.DropRows({t.Source(7, "_Invoicing_Tools")}, 0); }},
    {"component generate", {"Made.QCP"}, nullptr,
     [](OperationCrash& t) { return t.GenerateInto(t.Work("Made.QCP"), 1); }, true, {"Demo.QzB", "Made.QCP"}},
    {"install, first", {}, nullptr, [](OperationCrash& t) { return t.InstallFrom(t.Work("Reports-1.QCP")); }},
    {"install, same version", {}, [](OperationCrash& t) { EXPECT_EQ(t.InstallFrom(t.Work("Reports-1.QCP")), 0); },
     [](OperationCrash& t) { return t.InstallFrom(t.Work("Reports-1.QCP")); }},
    {"install, newer", {"Reports-2.QCP"},
     [](OperationCrash& t) {
         EXPECT_EQ(t.GenerateInto(t.Work("Reports-2.QCP"), 2), 0);
         EXPECT_EQ(t.InstallFrom(t.Work("Reports-1.QCP")), 0);
     },
     [](OperationCrash& t) { return t.InstallFrom(t.Work("Reports-2.QCP")); }},
    {"uninstall", {}, [](OperationCrash& t) { EXPECT_EQ(t.InstallFrom(t.Work("Reports-1.QCP")), 0); },
     [](OperationCrash& t) {
         TObjQz* rows[] = {Named(t.TargetDoc(), 32, "Reports")};
         if (!rows[0]) return int16_t(-1);
         platform::PushDialogAnswer(1);
         const int16_t result = transfer::UninstallComponents(t.TargetDoc(), rows, 1);
         platform::ClearDialogAnswers();
         return result;
     }},
    {"new structure from an SQL script", {"Made.QzB"}, nullptr,
     [](OperationCrash& t) {
         unsigned char script[256], report[256];
         apptest::ToP(t.Work("Demo.sql"), script);
         apptest::ToP(t.Work("Demo.sql.report.txt"), report);
         platform::PushFileDialogAnswer(t.Work("Made.QzB"));
         platform::FSSpec made;
         const int16_t result = SQL(script, report, &made);
         platform::ClearFileDialogAnswers();
         return result;
     }},
    {"documentation write", {}, nullptr,
     [](OperationCrash& t) { return WriteDocumentation(t.Source(2, "Add_Tax")); },
     false, {}, nullptr, nullptr, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(t.Source(2, "Print_Invoice"), "Print_Bill"); }},
    {"rename followed by its users", {}, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(t.Source(2, "Log_Event"), "Write_Log"); },
     false, {}, nullptr, nullptr, nullptr, [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); }},
    // After another rename in the session: the directory is written where
    // that commit gave room back.
    {"rename of a choice list", {}, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(t.Source(4, "Towns"), "Regions"); },
     false, {}, nullptr, nullptr, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(t.Source(4, "Terms"), "Payment"); },
     [](OperationCrash& t) { EXPECT_EQ(RenameWithUsers(t.Source(4, "Payment_Terms"), "Terms"), 0); }},
    // Report_Totals, a protected method of the installed Invoice_Reports,
    // calls Recalculate: enciphered, it is not rewritten.
    {"rename of a method an installed component's protected method calls", {}, nullptr,
     [](OperationCrash& t) { return RenameWithUsers(t.Source(2, "Recalculate"), "Recompute"); },
     false, {}, nullptr, nullptr, nullptr, [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); }},
    {"new group", {}, nullptr, [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); },
     false, {}, nullptr, nullptr, nullptr, [](OperationCrash& t) { return WriteDocumentation(t.Source(2, "Add_Tax")); }},
    {"deletion of a form", {}, nullptr,
     [](OperationCrash& t) { return t.Delete(t.SourceDoc(), t.SourceForm("Lines", "Line_Entry")); }},
    {"deletion of a component project", {}, nullptr,
     [](OperationCrash& t) {
         TObjQz* rows[] = {Named(t.SourceDoc(), 32, "Reports")};
         if (!rows[0]) return int16_t(-1);
         platform::PushDialogAnswer(1);
         const int16_t result = transfer::M_Delete(t.SourceDoc(), rows, 1);
         platform::ClearDialogAnswers();
         return result;
     }},
    {"deletion of documentation", {}, nullptr,
     [](OperationCrash& t) {
         TObjQz* method = t.Source(2, "Recalculate");
         return method ? method->DelDoc() : int16_t(-1);
     }},
    // The user's default for a string list of the same id is Replace: a
    // package's routine list of that id stands, and the copy takes a new id.
    {"drop of a string list over a package's routine list", {},
     [](OperationCrash& t) { t.SetUserDefaults({{9, 3}}); },
     [](OperationCrash& t) { return t.DropRows({t.Source(11, "Texts")}, 0); },
     false, {}, "structure Demo\nstrings Texts id 1\n  \"alpha\"\n  \"beta\"\n",
     "structure DemoTarget\npackage Tools id 15010\n  routine \"Sum(&R):R\"\n  routine \"Mean(&R):R\"\n",
     [](OperationCrash& t, int16_t result) {
         if (result != 0) return std::string();
         const std::string routines("\0\2\x09Sum(&R):R\x0AMean(&R):R", 23), texts("\0\2\5alpha\4beta", 13);
         return Missing(t.TargetReading(), {"7:Sum:1", "7:Mean:2", "11:Tools routines:1", "11:Texts:15000",
                                            "companion STR#/1 Tools routines " + routines,
                                            "companion STR#/15000 Texts " + texts});
     }},
    // The copy of Recalc names constant 1 of list 1, which the destination
    // reads as Max_Lines: said once the copy has landed, never by a run that
    // failed, and the copy uses what a fresh open shows.
    {"drop of a method naming a constant the destination reads as another", {}, nullptr,
     [](OperationCrash& t) { return t.DropRows({t.Source(2, "Recalc")}, 0); },
     false, {}, "structure Demo\nconstants Rates id 1\n  VAT_Rate 21\nmethod Recalc id 30\n  var vRate op 7 const 1 1\n",
     "structure DemoTarget\nconstants Limits id 1\n  Max_Lines 40\n",
     [](OperationCrash& t, int16_t result) {
         const std::string notCopied = Text(1018, 12);
         const std::string said = "Constant VAT_Rate" + Text(1024, 9) + "Constant Max_Lines" + Text(1024, 1) + notCopied;
         const bool right = AlertCount() == 1 && (result == 0 ? LastAlert().text == said
                                                              : LastAlert().text.find(notCopied) == std::string::npos);
         if (!right) return "said " + LastAlert().text + "; ";
         return result == 0 ? Missing(t.TargetReading(), {"17:Max_Lines:", "2:Recalc:"}) : std::string();
     }},
    // The component's Recalc, generated with the list it names, installed
    // where list 1 holds Max_Lines: said as for a drop, never by a run that
    // failed.
    {"install of a method naming a constant the structure reads as another", {},
     [](OperationCrash& t) { EXPECT_EQ(t.GenerateInto(t.Work("Reports-1.QCP"), 1), 0); },
     [](OperationCrash& t) { return t.InstallFrom(t.Work("Reports-1.QCP")); },
     false, {},
     "structure Demo\nconstants Rates id 1\n  VAT_Rate 21\nmethod Recalc id 30\n  var vRate op 7 const 1 1\n"
     "component Reports id 20 number 1\n  public\n    method Recalc\n",
     "structure DemoTarget\nconstants Limits id 1\n  Max_Lines 40\n",
     [](OperationCrash& t, int16_t result) {
         const std::string notCopied = Text(1018, 12);
         const std::string said = "Constant VAT_Rate" + Text(1024, 9) + "Constant Max_Lines" + Text(1024, 1) + notCopied;
         const bool right = result == 0 ? AlertCount() >= 1 && LastAlert().text == said
                                        : LastAlert().text.find(notCopied) == std::string::npos;
         if (!right) return "said " + LastAlert().text + "; ";
         return result == 0 ? Missing(t.TargetReading(), {"17:Max_Lines:", "2:Recalc:"}) : std::string();
     }},
    // A balloon's name keeps 15 characters: the free name fits in them.
    {"drop of a balloon of 15 characters under a new name", {}, nullptr,
     [](OperationCrash& t) { return t.DropRows({t.Source(10, "Abcdefghijklmno")}, 0); },
     false, {}, "structure Demo\nballoon Abcdefghijklmno \"Source help\"\n",
     "structure DemoTarget\nballoon Abcdefghijklmno \"Destination help\"\n",
     [](OperationCrash& t, int16_t result) {
         return result != 0 ? std::string() : Missing(t.TargetReading(), {"10:Abcdefghijklm_2:", "10:Abcdefghijklmno:"});
     }},
    // A table replaced keeps its method's id and uses its method.
    {"drop of a table over one with a method", {},
     [](OperationCrash& t) { t.SetUserDefaults({{2, 3}}); },
     [](OperationCrash& t) { return t.DropRows({t.Source(1, "Orders")}, 0); },
     false, {}, "structure Demo\ntable Orders\n  field Number longint\n  field Note text\n  method id 40\n    comment \"source\"\n",
     "structure DemoTarget\ntable Orders\n  field Number integer\n  method id 41\n    comment \"destination\"\n"
     "table Aaa\n  field X longint\n  method id 42\n    comment \"a\"\n"},
};

class EveryOperation : public OperationCrash, public ::testing::WithParamInterface<size_t> {};

TEST_P(EveryOperation, EveryCutAndEveryFailedWriteLeaveEachDocumentOldOrNewWhole)
{
    const Operation& op = kOperations[GetParam()];
    std::unique_ptr<filecrash::Recorder> recorder;
    Baseline(op, &recorder);
    size_t states = 0, checked = 0;
    size_t failed = SweepCrashes(op, *recorder, &states, &checked);
    std::printf("[ crash    ] %s: %zu of %zu crash states checked, %zu failed\n", op.name, checked, states, failed);
    EXPECT_EQ(failed, 0u);
    size_t writes = 0;
    checked = 0;
    failed = SweepFullDisk(op, &writes, &checked);
    std::printf("[ diskfull ] %s: %zu of %zu writes failed in turn, %zu wrong\n", op.name, checked, writes, failed);
    EXPECT_EQ(failed, 0u);
    if (!op.then) return;
    failed = SweepThenNext(op, writes);
    std::printf("[ then     ] %s: failed from 3 writes on, then the next step, %zu wrong\n", op.name, failed);
    EXPECT_EQ(failed, 0u);
}

// Commands failed by a full disk once, at each of their writes in turn
// (the last included), in the demo open as the program opens it (accepted
// by its read): a command that fails says so in its own alert, and what
// the program holds is what a fresh read of the closed files gives; one
// that answers success leaves the files byte for byte as a run where
// nothing failed. The next command, in the files reopened, lands. Replace
// in Names renames each selected object in a commit of its own.
struct OnceRow {
    const char* name;
    std::function<int16_t(OperationCrash&)> run, next;
    bool says;  // the command shows its failure itself
};

const OnceRow kOnceRows[] = {
    {"rename followed by its users", [](OperationCrash& t) { return RenameWithUsers(t.Source(2, "Log_Event"), "Write_Log"); },
     [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); }, true},
    {"replace in names",
     [](OperationCrash& t) {
         const int16_t first = RenameWithUsers(t.Source(2, "Print_Invoice"), "Print_Bill");
         const int16_t second = RenameWithUsers(t.Source(2, "Close_Invoice"), "Close_Bill");
         return first ? first : second;
     },
     [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); }, true},
    {"new group", [](OperationCrash& t) { return NewGroup(t.SourceDoc(), "Billing"); },
     [](OperationCrash& t) { return RenameWithUsers(t.Source(2, "Add_Tax"), "Add_VAT"); }, false},
};

TEST_F(OperationCrash, EachWriteFailingOnceIsSaidAndTheNextCommandLands)
{
    base_ = FolderFiles(work_);
    // One run from the demo's files, at one fixed time; write `failing`
    // fails once (-1: none). Whether it fired; what is wrong.
    const auto open = [&] {
        OpenBoth();
        for (TMainDoc* doc : {SourceDoc(), TargetDoc()}) EXPECT_EQ(AcceptQzB(doc->fRsrFile, doc->fResFile), 0);
    };
    const auto runOnce = [&](const OnceRow& row, int32_t failing, const Files* clean, bool* fired) {
        platform::VirtualClock clock;
        platform::SetClock(&clock);
        PutFolder(work_, base_);
        open();
        platform::SetRandomSeed(kRunSeed);
        if (failing >= 0) platform::InjectFault(platform::FaultKind::DiskFull, failing, 1);
        ResetAlerts();
        const int16_t result = row.run(*this);
        *fired = failing >= 0 && !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearFault(platform::FaultKind::DiskFull);
        std::string wrong;
        if (result != 0 && row.says) {
            unsigned char message[256];
            ErrorMessage(result, message);
            if (AlertCount() != 1 || LastAlert().text != readtest::P(message))
                wrong += "said " + std::to_string(AlertCount()) + ": " + LastAlert().text + "; ";
        }
        if (result == 0 && AlertCount() != 0) wrong += "said " + LastAlert().text + "; ";
        const auto compare = [&] {
            const Reading source = HeldWhole(&doc_), target = HeldWhole(&dest_);
            CloseBoth();
            for (const auto& [name, held] : {std::pair{"Demo.QzB", &source}, std::pair{"DemoTarget.QzB", &target}}) {
                const bool changed = !held->empty() && held->back().rfind("companion file ", 0) == 0;
                wrong += Differ(name, *held, AsHeld(work_ / name, changed));
            }
        };
        compare();
        if (result == 0 && clean && FolderFiles(work_) != *clean) wrong += "the files differ from a run without failure; ";
        const Files after = FolderFiles(work_);
        open();
        if (row.next(*this) != 0) wrong += "the next command failed; ";
        compare();
        platform::SetClock(nullptr);
        return std::make_pair(wrong, after);
    };
    for (const OnceRow& row : kOnceRows) {
        bool fired = false;
        const auto [none, clean] = runOnce(row, -1, nullptr, &fired);
        EXPECT_EQ(none, "") << row.name;
        int32_t n = 0;
        for (fired = true; fired; ++n) {
            ASSERT_LT(n, 200);
            const std::string wrong = runOnce(row, n, &clean, &fired).first;
            EXPECT_EQ(wrong, "") << row.name << ", write " << n << " failing";
        }
        std::printf("[ once     ] %s: %d writes failed in turn\n", row.name, n - 1);
        EXPECT_GT(n, 3) << row.name;
    }
    PutFolder(work_, base_);
}

// A form dropped on DemoTarget by program A (a second process), stopped
// while the drop writes DemoTarget's companion, while program B (this
// process) opens DemoTarget: B is told the document is busy and removes
// nothing of the drop, which lands whole.
TEST_F(OperationCrash, AnotherProgramsOpenLeavesADropAlone)
{
    const Reading before = TargetReading();
    const pid_t a = ::fork();
    ASSERT_GE(a, 0);
    if (a == 0) {
        OpenBoth();
        filecrash::StopAt stop({filecrash::StopPoint::Opened, "/._DemoTarget.RSR."});
        platform::SetFileOpObserver(&stop);
        const int16_t result = DropRows({SourceForm("Invoices", "Summary")}, 0);
        platform::SetFileOpObserver(nullptr);
        CloseBoth();
        ::_exit(result == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(a, &status, WUNTRACED), a);
    ASSERT_TRUE(WIFSTOPPED(status)) << "the drop wrote no companion";
    EXPECT_EQ(ReadingOf(work_ / "DemoTarget.QzB"), Reading{"does not open: -49"});
    ::kill(a, SIGCONT);
    ASSERT_EQ(::waitpid(a, &status, 0), a);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the drop failed";
    const Reading after = TargetReading();
    // The form came with its table and what they use.
    EXPECT_EQ(Missing(before, {"1:Invoices:"}), "missing 1:Invoices:; ");
    EXPECT_EQ(Missing(after, {"1:Invoices:"}), "");
}

INSTANTIATE_TEST_SUITE_P(Demo, EveryOperation, ::testing::Range<size_t>(0, std::size(kOperations)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             std::string name;
                             for (const char* c = kOperations[info.param].name; *c; ++c)
                                 if (std::isalnum(uint8_t(*c))) name += *c;
                                 else if (!name.empty() && name.back() != '_') name += '_';
                             return name;
                         });

}  // namespace
}  // namespace transfertest
