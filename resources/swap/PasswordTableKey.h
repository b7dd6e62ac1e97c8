// The key with which the password tables are scrambled.
#pragma once

// A length-prefixed key of 10 bytes.
const unsigned char* PasswordTableKey();
