#include "resources/swap/PasswordTableKey.h"

const unsigned char* PasswordTableKey()
{
    static const unsigned char kKey[11] = {10, 0x5C, 0xA7, 0x13, 0xE9, 0x6B, 0x2D, 0xF0, 0x81, 0x3E, 0xC4};
    return kKey;
}
