// A journal of a document's companion of any bytes, beside a data file
// whose commit mark is the fuzzer's and a companion of any bytes, finished
// as the next open finishes it: the data file never changes; the companion
// either stays as it was or takes the old bytes the journal keeps (and the
// journal is gone then); a journal left in place keeps its bytes.
//   input: a byte (bit 0: the data file's mark differs from the given one),
//   16 bytes of mark, a 16-bit length and the companion, then the journal.
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "design/documents/CompanionJournalFile.h"
#include "design/documents/DocumentPairs.h"
#include "fuzz/support/FuzzSupport.h"
#include "platform/core/Endian.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"

namespace {

bool Tail(const fuzz::Bytes& journal, size_t at, const fuzz::Bytes& bytes)
{
    return journal.size() >= at && std::equal(journal.begin() + int64_t(at), journal.end(), bytes.begin(), bytes.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const bool otherMark = in.Byte() & 1;
    fuzz::Bytes header(64, 0);
    platform::WriteBE32(header.data(), 0x44445558);  // 'DDUX'
    const fuzz::Bytes mark = in.Take(16);
    std::copy(mark.begin(), mark.end(), header.begin() + 4);
    if (otherMark) header[19] ^= 0x40;
    const fuzz::Bytes companion = in.Slice(1 << 16);
    const fuzz::Bytes journal = in.Rest();

    fuzz::ClearScratchFolder();
    const std::string folder = fuzz::ScratchFolder();
    platform::FSSpec doc;
    platform::FSMakeFSSpec(folder + "/Doc.QTL", &doc);
    const platform::FSSpec kept = KeptCompanionJournal(doc);
    if (!fuzz::WriteFile(doc.path, header) || !fuzz::WriteFile(folder + "/Doc.RSR", companion) ||
        !fuzz::WriteFile(kept.path, journal))
        return 0;

    bool unused = false;
    FinishPair(doc, &unused);

    fuzz::Bytes dataNow, companionNow, journalNow;
    platform::ReadWholeFile(doc.path, &dataNow);
    platform::ReadWholeFile(folder + "/Doc.RSR", &companionNow);
    struct stat st {};
    const bool journalLeft = ::lstat(kept.path.c_str(), &st) == 0;
    if (journalLeft) platform::ReadWholeFile(kept.path, &journalNow);
    if (dataNow != header) std::abort();
    if (journalLeft && (journalNow != journal || companionNow != companion)) std::abort();
    if (companionNow != companion && !Tail(journal, 60, companionNow) && !Tail(journal, 36, companionNow)) std::abort();
    return 0;
}
