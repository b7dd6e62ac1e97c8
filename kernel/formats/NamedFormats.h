// Named display formats: the style table 'STQz' 0 of the current resource
// chain. A format "|name" stands for the style text stored under that name.
#pragma once

#include "platform/core/MacTypes.h"

// dest <- the style text whose name equals `name` without its first
// character (the bar); empty when there is none or the table is missing.
void findstyle(platform::StringPtr dest, platform::ConstStr255Param name);
