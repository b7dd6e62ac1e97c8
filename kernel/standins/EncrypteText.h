// The scrambler of the password tables.
#pragma once

#include <cstdint>

// XORs byte i of the buffer with key byte (i mod key length); its own
// inverse. The key is length-prefixed; an empty key changes nothing.
void encryptetext(void* buffer, int32_t length, const unsigned char* key);
