#include "platform/pictures/PictureSurvey.h"

#include <new>
#include <set>
#include <tuple>
#include <utility>

#include "platform/drawing/CoveredArea.h"
#include "platform/drawing/Regions.h"

namespace platform {

namespace {

bool Proper(const Rect32& r) { return r.left < r.right && r.top < r.bottom; }

}  // namespace

PictureSurvey::~PictureSurvey()
{
    for (RgnHandle clip : clips_)
        DisposeRgn(clip);
}

void PictureSurvey::Clip(RgnHandle clip)
{
    clips_.push_back(nullptr);
    RgnHandle copy = clips_.back() = NewRgn();  // disposed of with the survey
    if (!copy || RanShort([&] { CopyRgn(clip, copy); }))
        throw std::bad_alloc();
}

void PictureSurvey::Note(const Sighting& s) { seen_.push_back({s, clips_.empty() ? 0 : clips_.size() - 1}); }

std::vector<bool> PictureSurvey::Hidden() const
{
    std::vector<bool> hidden(seen_.size(), false);
    if (clips_.empty())
        return hidden;  // what was drawn through what is not known
    // From the last opcode back: the pixels painted over by rectangles, and
    // the other shapes painted over, each with the clip it was drawn through.
    CoveredArea covered;
    using Drawn = std::tuple<uint16_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t, size_t>;
    std::set<Drawn> shapes;
    for (size_t i = seen_.size(); i-- > 0;) {
        const auto& [s, clip] = seen_[i];
        RgnHandle through = clips_[clip];
        const Drawn drawn{s.family, s.reach.top, s.reach.left, s.reach.bottom, s.reach.right, s.a, s.b, s.serial, clip};
        const bool sameShape = s.family != 0 && shapes.count(drawn) != 0;
        hidden[i] = Proper(s.reach) && (sameShape || covered.Covers(s.reach, through));
        if (s.mayEnd) {
            covered.Clear();
            shapes.clear();
        }
        if (!s.paintsOver)
            continue;
        if (s.family == 0)
            covered.Add(s.reach, through);
        else
            shapes.insert(drawn);
    }
    return hidden;
}

}  // namespace platform
