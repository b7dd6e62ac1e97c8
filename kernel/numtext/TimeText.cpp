#include "kernel/numtext/TimeText.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/resfiles/Resources.h"

namespace {

std::string Word(int16_t index)
{
    platform::Str255 text = {};
    platform::GetIndString(text, kTimeWordsList, index);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

std::string Padded(int32_t value)
{
    std::string s = std::to_string(value);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

void strtime(int32_t seconds, platform::StringPtr dest, int16_t format)
{
    const int32_t hours = seconds / 3600;
    const int32_t minutes = (seconds % 3600) / 60;
    const int32_t secs = seconds % 60;
    const std::string sep = Word(7);
    std::string text;
    switch (format) {
    case 0:
    case 1:
        text = Padded(hours) + sep + Padded(minutes) + sep + Padded(secs);
        break;
    case 2:
        text = Padded(hours) + sep + Padded(minutes);
        break;
    case 3:
    case 4:
        if (hours > 0) text += std::to_string(hours) + Word(hours < 2 ? 1 : 4);
        if (format == 3) {
            if (minutes > 0) text += std::to_string(minutes) + Word(minutes < 2 ? 2 : 5);
            text += std::to_string(secs) + Word(secs < 2 ? 3 : 6);
        } else {
            text += std::to_string(minutes) + Word(minutes < 2 ? 2 : 5);
        }
        break;
    case 5: {
        const int32_t h = hours % 24;
        const int32_t shown = (h == 0 || h == 12) ? 12 : h > 12 ? h - 12 : h;
        text = std::to_string(shown) + sep + Padded(minutes) + Word(h < 12 ? 8 : 9);
        break;
    }
    case 6:
        text = "0000-00-00T" + Padded(hours % 24) + ":" + Padded(minutes) + ":" + Padded(secs);
        break;
    default:
        text = std::to_string(hours) + sep + std::to_string(minutes) + sep + std::to_string(secs);
        break;
    }
    const size_t n = std::min<size_t>(text.size(), 80);
    dest[0] = static_cast<uint8_t>(n);
    std::memcpy(dest + 1, text.data(), n);
}
