// The movers of pictures (kind 18: 'PICT' with its 'PIWZ' and the entry of
// 'PIC#' 128) and style sheets (19: an entry of 'Stlx' 128).
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;

namespace transfer {

// The picture under a new id (newId), or under its own when that is free
// in the destination; else the id this transfer gave it already (copied
// once), else the first free from 15000. Its row goes to both id maps,
// negated. -34 under twice its size free.
int16_t MovePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, bool newId);
// The picture over the destination's, which keeps its id and takes its
// name.
int16_t ReplacePicture(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);
// The picture `id` of the source that a picture button names, by the
// rule of MovePicture (its object along when the source has one): *newId.
int16_t MovePictureFlipFlop(TMainDoc* source, TMainDoc* dest, int16_t id, int16_t* newId);

// The style sheet's entry appended to the destination's table (made when
// missing) under its next id, with a name free there.
int16_t MoveStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** newObj, const unsigned char* newName);
// Its entry over the destination's, which keeps its id and takes its name.
int16_t ReplaceStyleSheet(TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** destObj);

}  // namespace transfer
