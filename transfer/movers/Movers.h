// The movers of the kinds that a drop copies: each Move... makes the
// object in the destination with its resources under new ids (or the ids
// its kind keeps) and answers it in *newObj; each Replace...
// overwrites an existing destination object's resources, which keeps its
// id, and clears its dependencies so that link re-targeting rebuilds them.
// Every mover first checks the room on the destination's volume (-34,
// nothing written); 1003 when the source's record is missing, -108 when
// memory runs out or an object cannot be made, else the store's error.
// Within a transfer the commits they ask for only mark (TransferSession).
//
// InstallMovers fills the design objects' transfer seam with them and
// with the movers of tables (TableMovers.h), choice lists (ListMovers.h),
// pictures and style sheets (DataMovers.h), plug-ins (PlugInMovers.h) and
// forms (FormMovers.h).
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

// Methods (kinds 2 and 16): 'CCQz' and 'PrTo' under a new id, the record
// appended to 'TPQz' 0 or the id put in the source's slot of 'DBPR' 0.
int16_t MoveProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceProc(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
// A method's code (and properties) under a new id: *newId.
int16_t MoveResQzScript(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId);

// Menus (6): 'MENQ' under a new id. Menu bars (5): 'BAQz' under a new id
// with its 'MEPI' (slot + 500), in the first free slot of 'LIBA' 0.
int16_t MoveMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceMenu(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
int16_t MoveMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveResQzMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                      int16_t* slot, unsigned char* barName);
int16_t ReplaceMBar(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

// Help balloons (10): 'HEQz' under a new id, an 18-byte entry appended to
// 'LiHe' 0 whose place is the balloon's number.
int16_t MoveBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveResQzBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* newId,
                         int16_t* index);
int16_t ReplaceBalloon(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

// String lists (11), in the companion files: under the same id, or (newId)
// the first free one from 15000 to 32000. A list of that id already in the
// destination is kept and answered.
int16_t MoveStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);
int16_t MoveResQzStr(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t destId);
int16_t ReplaceStr(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

// Styles (12): a row of 'STQz' 0, the first deleted one ("----") reused.
int16_t MoveStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t MoveResQzStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, const unsigned char* name, int16_t* row);
int16_t ReplaceStyle(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

// Groups (23), components (32) and their folders (33): an empty member
// list (a count of 0) of the kind's type under a group id free for all
// three, named as the copy; -34 under 10,240 bytes free.
int16_t MoveGroup(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);

// Resources (20) are not copied: both answer 0.
int16_t MoveResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
int16_t ReplaceResource(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
// (type, sourceId) of the source over (type, destId) of the destination.
int16_t MoveDocRes(TMainDoc* source, TMainDoc* dest, uint32_t type, int16_t sourceId, int16_t destId);

// Fills the seam (design/objects/TransferHooks.h) with the movers above.
void InstallMovers();

}  // namespace transfer
