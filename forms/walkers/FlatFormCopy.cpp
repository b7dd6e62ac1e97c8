// The object methods of a form of the older flat layout moved into another
// document, record by record: byte 0 is 13, bytes 2-3 count the object
// lists, which follow from byte 4, each a run of records (a type byte and
// a spare byte first) ended by type 0. Fields (type 1) keep their object
// method's id at +26, active objects (type 9) at +34; the new id is written
// over the old one, big-endian as the layout stores every word.
#include <cstring>

#include "forms/walkers/FormCopy.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"

namespace {

constexpr uint8_t kFlatTag = 13;
constexpr int16_t kUnreadable = kFormWalkFailed;

class FlatMove {
public:
    FlatMove(platform::Handle form, TMainDoc* source, TMainDoc* dest, FormScriptMover move, std::vector<int16_t>* moved)
        : form_(form), source_(source), dest_(dest), move_(move), moved_(moved),
          size_(size_t(platform::GetHandleSize(form)))
    {
    }

    int16_t Run()
    {
        int16_t lists = 0;
        if (size_ < 4 || Byte(0) != kFlatTag || !Word(2, &lists)) return kUnreadable;
        at_ = 4;
        for (int16_t l = 0; l < lists; ++l)
            for (;;) {
                if (!Has(at_, 2)) return kUnreadable;
                const uint8_t type = Byte(at_);
                at_ += 2;
                if (type == 0) break;
                if (const int16_t err = Record(type)) return err;
            }
        return 0;
    }

private:
    uint8_t Byte(size_t at) const { return reinterpret_cast<const uint8_t*>(*form_)[at]; }
    bool Has(size_t at, size_t count) const { return at <= size_ && count <= size_ - at; }
    bool Word(size_t at, int16_t* value) const
    {
        if (!Has(at, 2)) return false;
        *value = int16_t(platform::ReadBE16(reinterpret_cast<const uint8_t*>(*form_) + at));
        return true;
    }
    int16_t Skip(size_t count)
    {
        if (!Has(at_, count)) return kUnreadable;
        at_ += count;
        return 0;
    }
    // A length byte and its characters, padded to an even count.
    int16_t SkipLabel() { return Has(at_, 1) ? Skip((size_t(Byte(at_)) + 2) & ~size_t(1)) : kUnreadable; }

    int16_t Record(uint8_t type)
    {
        switch (type) {
        case 2: case 3: case 4: case 6: return Skip(34);
        case 10: {
            int16_t high = 0, low = 0;
            if (!Word(at_ + 8, &high) || !Word(at_ + 10, &low) || high < 0) return kUnreadable;
            const size_t length = (size_t(uint16_t(high)) << 16) | uint16_t(low);
            if (const int16_t err = Skip(12)) return err;
            return Skip((length + 1) & ~size_t(1));
        }
        case 1: return Active(28, 26);
        case 9: return Active(42, 34);
        case 5: {
            int16_t length = 0;
            if (!Word(at_ + 28, &length) || length < 0) return kUnreadable;
            return Skip(30 + ((size_t(length) + 1) & ~size_t(1)));
        }
        case 11: return Skip(48);
        default: return kUnreadable;
        }
    }

    // A field or active object: its record with the method at `methodAt`,
    // its label, then an optional balloon and the choice-list block.
    int16_t Active(size_t recordSize, size_t methodAt)
    {
        const size_t record = at_;
        int16_t id = 0;
        if (!Has(record, recordSize) || !Word(record + methodAt, &id)) return kUnreadable;
        at_ += recordSize;
        if (const int16_t err = SkipLabel()) return err;
        int16_t word = 0;
        if (!Word(at_, &word)) return kUnreadable;
        if (word == -2) {
            if (const int16_t err = Skip(4)) return err;
            if (!Word(at_, &word)) return kUnreadable;
        }
        if (word == 0) {
            if (const int16_t err = Skip(2)) return err;
        } else {
            if (!Has(at_, 71)) return kUnreadable;
            if (const int16_t err = Skip(70 + ((size_t(Byte(at_ + 70)) + 2) & ~size_t(1)))) return err;
        }
        if (id == 0) return 0;
        int16_t newId = 0;
        const int16_t err = move_(source_, dest_, id, &newId);
        if (err == kFormScriptMissing) newId = 0;
        else if (err != 0) return err;
        else moved_->push_back(newId);
        platform::WriteBE16(reinterpret_cast<uint8_t*>(*form_) + record + methodAt, uint16_t(newId));
        return 0;
    }

    platform::Handle form_;
    TMainDoc* source_;
    TMainDoc* dest_;
    FormScriptMover move_;
    std::vector<int16_t>* moved_;
    size_t size_, at_ = 0;
};

}  // namespace

int16_t MoveFlatFormObject(platform::Handle form, TMainDoc* source, TMainDoc* dest, FormScriptMover moveScript,
                           std::vector<int16_t>* moved)
{
    if (!form || !*form || !moveScript || !moved) return kUnreadable;
    return FlatMove(form, source, dest, moveScript, moved).Run();
}
