// The key with which the characters of a stored password are scrambled
// (through encryptetext). Kept here and nowhere else.
#pragma once

// A length-prefixed key of 11 bytes.
const unsigned char* PasswordKey();
