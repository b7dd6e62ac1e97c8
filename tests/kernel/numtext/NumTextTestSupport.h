#pragma once

#include <cstring>
#include <string>

#include "kernel/numtext/NumTextGlobals.h"
#include "platform/core/MacTypes.h"
#include "platform/text/IntlSettings.h"

inline std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

struct PStr {
    explicit PStr(const std::string& s)
    {
        buffer[0] = uint8_t(s.size());
        std::memcpy(buffer + 1, s.data(), s.size());
    }
    operator const unsigned char*() const { return buffer; }
    platform::Str255 buffer = {0};
};

// Fixed settings in day-month-year order and the application's century window.
struct DmySettings {
    DmySettings()
    {
        ResetNumTextGlobals();
        DefaultCentury = 19;
        PivotYear = 80;
        platform::IntlSettings s;
        s.dateOrder = platform::dmy;
        platform::SetIntlSettings(s);
    }
    ~DmySettings()
    {
        ResetNumTextGlobals();
        platform::ResetIntlSettings();
    }
};
