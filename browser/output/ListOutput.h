// Printing and exporting an object list: the output dialog that fills the
// options and, for an export, names the file; the export written to a
// temporary file beside the destination and put in its place only whole.
#pragma once

#include <cstdint>

#include "design/objects/OutputOptions.h"
#include "platform/files/FileTypes.h"

namespace browser {

// The last choices of the output dialog (its sixth flag as the caller
// left it), which the dialog shows next time.
extern OutPutParmRec G_Parms;

// Printing (true): DLOG 265, the options alone. Export (false): DLOG 300,
// then the save dialog for the destination (`file` in: the default name
// and folder; out: the destination). 0, or 1001 when cancelled; the
// record is left as it was on a cancel.
int16_t GetOutPutParms(bool printing, platform::FSSpec* file, OutPutParmRec* parms);

// The export file: created beside `destination` under a hidden name, it
// replaces the destination only when Commit runs after every write went
// through; otherwise (when discarded or destroyed before) it is removed
// and the destination keeps its bytes.
class ExportFile {
public:
    ~ExportFile();
    int16_t Create(const platform::FSSpec& destination);
    int16_t refNum() const { return fRefNum; }
    int16_t Commit();
    void Discard();

private:
    platform::FSSpec fDestination{};
    platform::FSSpec fTemporary{};
    int16_t fRefNum = 0;
    bool fMade = false;
};

}  // namespace browser
