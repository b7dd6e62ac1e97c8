#include "kernel/standins/EncrypteText.h"

void encryptetext(void* buffer, int32_t length, const unsigned char* key)
{
    const int32_t keyLength = key ? key[0] : 0;
    if (keyLength == 0) return;
    auto* b = static_cast<uint8_t*>(buffer);
    for (int32_t i = 0; i < length; ++i) b[i] ^= key[1 + i % keyLength];
}
