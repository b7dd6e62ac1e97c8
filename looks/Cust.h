// The customisation settings resource 'CUST' 0, kept in the kernel's cust.
#pragma once

// Loads 'CUST' 0 into cust, padded with zeros to at least 92 bytes; a
// missing resource gives 92 zero bytes.
void ReadCust();
