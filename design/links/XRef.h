// The uses / used-by graph over a document's design objects: b is in a's
// uses exactly when a is in b's usedBy, each at most once, in the order
// recorded. The graph is never stored: objects rebuild it when they parse.
#pragma once

#include <cstdint>

class TObjQz;

// Records a -> b. Null ends do nothing. -108 when a list cannot be made or
// grown; the graph is then as it was.
int16_t XRef(TObjQz* a, TObjQz* b);
// Removes a -> b; a missing edge or list is ignored.
void XDelRef(TObjQz* a, TObjQz* b);
