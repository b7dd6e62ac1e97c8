// The journal, big-endian: 'QzCJ', the data file's commit mark (16 bytes),
// the new companion's size (8) and hash (8), then the old companion's
// bytes. It is written whole or not at all (a temporary renamed into
// place), so a journal too short or of another kind is none of ours.
#include "design/documents/CompanionJournalFile.h"

#include <cerrno>
#include <cstring>
#include <new>

#include "design/documents/DocumentPairs.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/FileErrors.h"
#include "platform/files/FileOps.h"
#include "platform/files/FileSpec.h"
#include "platform/files/OpenForks.h"
#include "platform/files/TemporaryFile.h"
#include "platform/files/WholeFile.h"
#include "resources/CommitMark.h"
#include "resources/Companion.h"

using platform::FSSpec;

namespace {

constexpr uint32_t kMagic = platform::FourCC("QzCJ");
constexpr size_t kHeader = 4 + 16 + 8 + 8;

FSSpec JournalOf(const FSSpec& data) { return HiddenBeside(data, ".companion"); }

uint64_t Hash(const std::vector<uint8_t>& bytes)
{
    uint64_t h = 14695981039346656037ull;
    for (uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

int16_t Remove(const std::string& path)
{
    if (platform::fileops::Unlink(path) != 0 && errno != ENOENT) return platform::OSErrFromErrno(errno);
    return platform::FlushFolderOf(path);
}

int16_t Keep(const FSSpec& data, const std::vector<uint8_t>& newBytes, bool* kept)
{
    *kept = false;
    FSSpec companion;
    CommitMark mark;
    if (!CompanionSpec(data, &companion) || !ReadCommitMark(data.path, &mark)) return 0;
    std::vector<uint8_t> old;
    if (const int16_t err = platform::ReadWholeFile(companion.path, &old)) return err;
    if (old == newBytes) return 0;
    std::vector<uint8_t> journal(kHeader);
    platform::WriteBE32(&journal[0], kMagic);
    std::memcpy(&journal[4], mark.data(), mark.size());
    platform::WriteBE64(&journal[20], newBytes.size());
    platform::WriteBE64(&journal[28], Hash(newBytes));
    journal.insert(journal.end(), old.begin(), old.end());
    const FSSpec path = JournalOf(data);
    if (const int16_t err = platform::WriteFileAtomically(path.path, journal.data(), journal.size())) return err;
    *kept = true;
    return 0;
}

int16_t Finish(const FSSpec& data)
{
    const FSSpec path = JournalOf(data);
    platform::RemoveTemporariesOf(path.path);
    FSSpec companion;
    if (!CompanionSpec(data, &companion)) return 0;
    std::vector<uint8_t> journal;
    const int16_t read = platform::ReadWholeFile(path.path, &journal);
    if (read == platform::fnfErr) return 0;
    if (read) return read;
    if (platform::IsItemOpen(data.path) || platform::IsItemOpen(companion.path)) return 0;
    if (journal.size() < kHeader || platform::ReadBE32(&journal[0]) != kMagic) return Remove(path.path);
    CommitMark mark;
    // A journal whose document is gone is a leftover; a data file that
    // cannot be read does not open: nothing to decide then.
    if (!ReadCommitMark(data.path, &mark)) return platform::FSpExists(data) ? int16_t(0) : Remove(path.path);
    if (std::memcmp(mark.data(), &journal[4], mark.size()) == 0) {
        std::vector<uint8_t> now;
        const int16_t err = platform::ReadWholeFile(companion.path, &now);
        if (err && err != platform::fnfErr) return err;
        const bool journaled = !err && now.size() == platform::ReadBE64(&journal[20]) &&
                               Hash(now) == platform::ReadBE64(&journal[28]);
        if (journaled) {
            if (const int16_t put = platform::WriteFileAtomically(companion.path, journal.data() + kHeader,
                                                                  journal.size() - kHeader))
                return put;
        }
    }
    return Remove(path.path);
}

}  // namespace

int16_t KeepCompanion(const FSSpec& data, const std::vector<uint8_t>& newBytes, bool* kept)
{
    try {
        return Keep(data, newBytes, kept);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}

int16_t ForgetKeptCompanion(const FSSpec& data) { return Remove(JournalOf(data).path); }

int16_t FinishKeptCompanion(const FSSpec& data)
{
    try {
        return Finish(data);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
}
