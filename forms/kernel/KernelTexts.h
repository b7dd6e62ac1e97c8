// Small text services of the kernel's forms.
#pragma once

#include <cstdint>

// A name longer than 2 characters that begins with "<>" loses them and
// takes the kernel's interprocess prefix (stglobglob) in front, cut to 255
// characters; any other name stays.
void ReformatSuperGlobal(unsigned char* name);
// In the platform-resource mode the application font at size 12 is drawn
// at size 10.
void adjustefont(int16_t* font, int16_t* size);
