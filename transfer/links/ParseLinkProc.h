// Link re-targeting of a copied method: its tokens, still naming the
// source document's objects, are rewritten to name their counterparts in
// the destination, and the method is then linked to what a read of the
// destination finds in its code.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "transfer/conflicts/ConflictList.h"

class TMainDoc;
class TObjQz;

namespace transfer {

// `method` (in the destination, its code 'CCQz' `methodId`) copied from
// the document `source`. `tableContext` is the source method (or table)
// whose table the method's unqualified fields and forms refer to; null for
// a project method. The rewritten code is stored only when every token
// went through: on an error the code stays as copied and the error is the
// answer (-108 when an object could not be made); an error while linking
// the stored code is the answer too, the code then whole as rewritten. A
// constant the destination reads as another, or as none, is noted
// (NotBrought.h). A method without code answers 0. The destination's
// store must be current.
int16_t Parse_LinkProc(TObjQz* tableContext, int16_t methodId, TObjQz* method, TMainDoc* source, C_ListHdl list);

// The (parameter number, object kind) pairs of plug-in routine `routine`
// of the package of id `package` (its parameter list 'EPRM' has that id);
// none until set.
using PlugInParamKinds = std::vector<std::pair<int16_t, int16_t>> (*)(int16_t package, int16_t routine);
void SetPlugInParamKinds(PlugInParamKinds kinds);

}  // namespace transfer
