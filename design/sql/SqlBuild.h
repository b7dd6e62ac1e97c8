// A new structure made of a schema: asked for in the save dialog, built
// under a hidden name beside it (a new structure, one table per schema
// table with its fields and relations), and put in place only once it is
// complete. The first step that fails ends the building; what was built
// is then deleted and the chosen file, if one was there, stays as it was.
// What a killed building leaves goes with the next building or opening of
// the chosen name.
// The steps write their resources; the structure is committed once, when
// it is closed: nobody else sees it before it is complete.
#pragma once

#include <cstdint>
#include <string>

#include "app/dialogs/WaitDialog.h"
#include "design/documents/DocumentPairs.h"
#include "design/sql/SqlSchema.h"
#include "platform/files/FileTypes.h"

namespace sql {

// Result codes of the building.
constexpr int16_t kTooManyTables = 1004;
constexpr int16_t kTooManyFields = 1006;
constexpr int16_t kNoSuchTable = 1012;
constexpr int16_t kNoSuchField = 1013;

// The structure being built.
struct NewBase {
    platform::FSSpec target;    // the file the user chose
    platform::FSSpec building;  // the temporary file it is built as
    PairLock lock;              // of the target, from the dialog on
    int16_t rsrFile = -1, container = -1, other = -1;
    WaitParamRec wait;
    bool waiting = false;
};

// The save dialog (default name: the script's file name and 'STR#' 1013
// item 17; a document the program holds is refused with a message and the
// dialog asks again), then a new empty structure under the hidden building
// name. 1001 when cancelled, else 0 or the error of the creation.
int16_t _CreateQzBase(const std::string& scriptPath, int32_t tableCount, NewBase* base);
int16_t _OpenQzB(NewBase* base);
// In the open structure `file`: a table named `name` whose box is at
// (left, top); its number in *tableNumber. 1004 past 255 tables.
int16_t _NewQzFile(NewBase* base, int16_t file, const std::string& name, int16_t left, int16_t top,
                   int16_t* tableNumber);
// A field of table `tableNumber`; its number in *fieldNumber. 1012 for no
// such table, 1006 past 511 fields.
int16_t _NewCritere(int16_t file, int16_t tableNumber, const std::string& name, int32_t type, int16_t length,
                    uint16_t flags, int16_t* fieldNumber);
// The relation of field `field` of `table` to `relatedField` of
// `relatedTable`. 1012 or 1013 for a table or field that is not there.
int16_t _DoQzLink(int16_t file, int16_t table, int16_t field, int16_t relatedTable, int16_t relatedField, int16_t flag);
// Commits and closes the structure; its commit error.
int16_t _CloseQzB(NewBase* base);
// The field's attribute byte for the column flags.
uint8_t AttributesOf(uint16_t flags);

// Builds the schema's structure; on success `fileSpec` names it.
int16_t CreateSQLBase(const Schema& schema, const std::string& scriptPath, platform::FSSpec* fileSpec);

}  // namespace sql
