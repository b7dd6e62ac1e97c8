#include <algorithm>

#include "platform/text/CompositionPairs.h"

namespace platform {

char16_t ComposedPair(char16_t first, char16_t second)
{
    const CompositionPair* end = kCompositionPairs + kCompositionPairCount;
    const CompositionPair* p =
        std::lower_bound(kCompositionPairs, end, CompositionPair{first, second, 0}, [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second < b.second;
        });
    return p != end && p->first == first && p->second == second ? p->composite : 0;
}

}  // namespace platform
