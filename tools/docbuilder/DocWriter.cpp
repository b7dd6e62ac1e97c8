#include <cstring>
#include <map>

#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Sidecar.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResKeySource.h"
#include "resources/ResourceApi.h"
#include "resources/container/ContainerLayout.h"
#include "tools/docbuilder/Description.h"
#include "tools/docbuilder/Conflicts.h"
#include "tools/docbuilder/DocBuilder.h"
#include "tools/docbuilder/LittleEndianTwin.h"

namespace docbuilder {
namespace {

using platform::FSSpec;
using platform::OSErr;

// Puts the description's date in the clock for the whole write, so every
// stamp the writers take is the same in every run.
class ClockScope {
public:
    explicit ClockScope(uint32_t seconds) : before_(&platform::CurrentClock()), clock_(0, seconds)
    {
        platform::SetClock(&clock_);
    }
    ~ClockScope() { platform::SetClock(before_); }

private:
    platform::Clock* before_;
    platform::VirtualClock clock_;
};

void PString(const std::string& s, unsigned char out[256])
{
    out[0] = uint8_t(std::min<size_t>(s.size(), 255));
    std::memcpy(out + 1, s.data(), out[0]);
}

Handle MakeHandle(const Bytes& bytes)
{
    Handle h = nullptr;
    if (platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())) != 0) return nullptr;
    return h;
}

BuildResult Failure(int16_t error, const std::string& message)
{
    BuildResult r;
    r.error = error ? error : -1;
    r.message = message;
    return r;
}

void RemoveOld(const std::string& path)
{
    FSSpec fileSpec;
    if (platform::FSMakeFSSpec(path, &fileSpec) == 0 || platform::FSpExists(fileSpec)) platform::FSpDelete(fileSpec);
    platform::RemoveSidecar(path);
}

// The keys of installed components' members, as the module manager will
// give them to the store when the document is read.
class MemberKeys : public ResKeySource {
public:
    explicit MemberKeys(const LaidOut& doc)
    {
        for (const ResourceOut& r : doc.resources)
            if (r.enciphered && !r.companion) keys_[{r.type, r.id}] = r.key;
    }
    uint32_t GetKey(platform::ResType type, int16_t id) override
    {
        auto it = keys_.find({type, id});
        return it == keys_.end() ? 0 : it->second;
    }

private:
    std::map<std::pair<uint32_t, int16_t>, uint32_t> keys_;
};

// The container: created, filled and committed through the store.
int16_t WriteContainer(const LaidOut& doc, const FSSpec& fileSpec, std::string* message)
{
    initresman();
    const int16_t previous = xcurres();
    const int16_t file = createres(fileSpec, doc.creator, doc.fileType);
    if (!file) {
        *message = "the document could not be created";
        return reserr ? reserr : -1;
    }
    useres(file);
    // Outlives the file: the commit in closeres may still ask it.
    MemberKeys keys(doc);
    if (CPseudoResFile* f = g_resManager ? g_resManager->FindFile(file) : nullptr) {
        f->SetComponentMgr(&keys);
        if (doc.moduleRecords) f->upgrade(container::kMagicLast);
    }
    bool ok = true;
    size_t added = 0;
    for (const ResourceOut& r : doc.resources) {
        if (r.companion) continue;
        // The space a growing map leaves behind is reused only once a
        // commit has put the new map on disk: commit now and then, or a
        // large document grows far beyond its contents.
        if (++added % 512 == 0 && !updateres(file)) {
            ok = false;
            break;
        }
        Handle h = MakeHandle(r.bytes);
        ok = h && xaddres(h, r.type, r.id);
        if (ok && r.enciphered) ok = hcrypteres(h, false);
        if (ok && !r.name.empty()) {
            unsigned char name[256];
            PString(r.name, name);
            ok = xsetresname(r.type, r.id, name, false);
        }
        if (!ok) break;
    }
    const int16_t err = ok ? 0 : (reserr ? reserr : -108);
    if (ok) ok = updateres(file);
    const int16_t commitErr = ok ? 0 : (reserr ? reserr : -1);
    closeres(file, ok);
    if (previous) useres(previous);
    if (err || commitErr) *message = "the document's resources could not be written";
    return err ? err : commitErr;
}

// A plain resource file (the companion "Name.RSR", a plug-in file), its
// Finder information in its sidecar.
int16_t WriteResourceFile(const std::vector<ResourceOut>& resources, bool companionOnly, const FSSpec& fileSpec,
                          uint32_t creator, uint32_t fileType)
{
    using namespace platform;
    const int16_t previous = CurResFile();
    FSpCreateResFile(fileSpec, creator, fileType, -1);
    OSErr err = ResError();
    int16_t ref = -1;
    if (!err) {
        ref = FSpOpenResFile(fileSpec, fsRdWrPerm);
        err = ResError();
    }
    if (!err && ref != -1) {
        UseResFile(ref);
        for (const ResourceOut& r : resources) {
            if (companionOnly && !r.companion) continue;
            Handle h = MakeHandle(r.bytes);
            if (!h) {
                err = -108;
                break;
            }
            unsigned char name[256];
            PString(r.name, name);
            AddResource(h, r.type, r.id, name);
            err = ResError();
            if (err) {
                DisposeHandle(h);
                break;
            }
        }
        if (!err) {
            UpdateResFile(ref);
            err = ResError();
        }
        CloseResFile(ref);
    }
    if (previous != -1) UseResFile(previous);
    return err;
}

int16_t WriteCompanion(const LaidOut& doc, const FSSpec& fileSpec, std::string* message)
{
    const int16_t err = WriteResourceFile(doc.resources, true, fileSpec, doc.creator, doc.fileType);
    if (err) *message = "the companion resource file could not be written";
    return err;
}

// The declaration file: plain text of type 'TEXT'.
int16_t WriteDeclarations(const std::string& text, const std::string& path)
{
    if (const OSErr err = platform::WriteFileAtomically(path, text.data(), text.size())) return err;
    FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    platform::FInfo info;
    if (const OSErr err = platform::FSpGetFInfo(fileSpec, &info)) return err;
    info.fdType = platform::FourCC("TEXT");
    return platform::FSpSetFInfo(fileSpec, info);
}

}  // namespace

BuildResult WriteDocument(const LaidOut& doc, const std::string& folder)
{
    BuildResult result;
    result.dataPath = folder + "/" + doc.dataName;
    result.companionPath = folder + "/" + doc.companionName;
    result.manifestPath = result.dataPath + ".manifest";
    FSSpec folderSpec, dataSpec, companionSpec;
    bool isFolder = false;
    platform::FSMakeFSSpec(folder, &folderSpec);
    if (!platform::FSpExists(folderSpec, &isFolder) || !isFolder) return Failure(-120, "the folder " + folder + " does not exist");
    platform::FSMakeFSSpec(result.dataPath, &dataSpec);
    platform::FSMakeFSSpec(result.companionPath, &companionSpec);
    const std::string declarationsPath = result.dataPath + kDeclarationSuffix;
    RemoveOld(result.dataPath);
    RemoveOld(result.companionPath);
    RemoveOld(result.manifestPath);
    RemoveOld(declarationsPath);

    std::string message;
    int16_t err = 0;
    {
        ClockScope clock(doc.seconds);
        err = WriteContainer(doc, dataSpec, &message);
        if (!err) err = WriteCompanion(doc, companionSpec, &message);
    }
    if (!err && doc.littleEndian) {
        // The records are little-endian already; the store wrote the
        // container's own framing big-endian.
        std::vector<uint8_t> bytes;
        err = platform::ReadWholeFile(result.dataPath, &bytes);
        const std::vector<uint8_t> twin = err ? std::vector<uint8_t>() : LittleEndianFraming(bytes);
        if (!err && twin.empty()) err = -1;
        if (!err) err = platform::WriteFileAtomically(result.dataPath, twin.data(), twin.size());
        if (err) message = "the little-endian twin could not be written";
    }
    for (const PlugInFileOut& p : doc.plugInFiles) {
        if (err) break;
        const std::string path = folder + "/" + p.fileName;
        RemoveOld(path);
        FSSpec plugInSpec;
        platform::FSMakeFSSpec(path, &plugInSpec);
        ClockScope clock(doc.seconds);
        err = WriteResourceFile(p.resources, false, plugInSpec, platform::FourCC("QzA6"), platform::FourCC("QzCB"));
        if (err) message = "the plug-in file " + p.fileName + " could not be written";
    }
    if (!err && doc.declarations) {
        err = WriteDeclarations(*doc.declarations, declarationsPath);
        if (err) message = "the declaration file could not be written";
    }
    if (!err) {
        std::string text;
        for (const std::string& line : doc.manifest) text += line + "\n";
        err = platform::WriteFileAtomically(result.manifestPath, text.data(), text.size());
        if (err) message = "the manifest could not be written";
    }
    if (err) {
        for (const PlugInFileOut& p : doc.plugInFiles) RemoveOld(folder + "/" + p.fileName);
        RemoveOld(result.dataPath);
        RemoveOld(result.companionPath);
        RemoveOld(result.manifestPath);
        RemoveOld(declarationsPath);
        return Failure(err, message);
    }
    return result;
}

namespace {

// `against` is read from `baseFolder` when it is not an absolute path.
BuildResult Build(const std::string& description, const std::string& descriptionName, const std::string& folder,
                  const std::string& baseFolder)
{
    BuildError error;
    std::optional<DocumentSpec> doc = ReadDescription(description, descriptionName, &error);
    std::optional<LaidOut> laid;
    if (doc) laid = LayOut(*doc, &error);
    if (!laid) return Failure(kDescriptionRefused, error.Text());
    if (!doc->against.empty()) {
        const std::string path =
            doc->against[0] == '/' || baseFolder.empty() ? doc->against : baseFolder + "/" + doc->against;
        std::vector<uint8_t> bytes;
        if (platform::ReadWholeFile(path, &bytes) != 0) {
            error = {descriptionName, doc->againstLine, "the description " + doc->against + " could not be read"};
            return Failure(kDescriptionRefused, error.Text());
        }
        std::optional<DocumentSpec> other =
            ReadDescription(std::string(bytes.begin(), bytes.end()), doc->against, &error);
        std::optional<LaidOut> otherLaid;
        if (other) otherLaid = LayOut(*other, &error);
        if (!otherLaid) return Failure(kDescriptionRefused, error.Text());
        for (std::string& line : ConflictLines(*other, *otherLaid, *doc, *laid)) laid->manifest.push_back(line);
    }
    return WriteDocument(*laid, folder);
}

}  // namespace

BuildResult BuildDocument(const std::string& description, const std::string& descriptionName, const std::string& folder)
{
    return Build(description, descriptionName, folder, "");
}

BuildResult BuildDocumentFile(const std::string& descriptionPath, const std::string& folder)
{
    std::vector<uint8_t> bytes;
    if (const OSErr err = platform::ReadWholeFile(descriptionPath, &bytes))
        return Failure(err, "the description " + descriptionPath + " could not be read");
    const size_t slash = descriptionPath.find_last_of('/');
    std::string name = descriptionPath.substr(slash + 1);
    const std::string base = slash == std::string::npos ? std::string() : descriptionPath.substr(0, slash);
    return Build(std::string(bytes.begin(), bytes.end()), name, folder, base);
}

}  // namespace docbuilder
