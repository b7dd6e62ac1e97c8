#include "resources/ResKeySource.h"

ResKeySource::~ResKeySource() = default;

uint32_t ResKeySource::GetKey(platform::ResType, int16_t) { return 0; }

ResKeySource& NoComponentKeys()
{
    static ResKeySource none;
    return none;
}
