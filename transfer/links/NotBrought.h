// What the copies of a transfer name but the transfer could not bring into
// the destination: constants, which stay with the lists of the document
// they come from, and string lists that texts name by an id the
// destination gives another list (or none). Noted while the links are
// re-targeted, said to the user once the transfer has landed.
#pragma once

class TMainDoc;
class TObjQz;
struct C_ListRec;

namespace transfer {

void ForgetNotBrought();
// `obj`, of the source, is named by a copy and missing in the destination,
// where the copy names `readAs` instead (null: nothing).
void NoteNotBrought(TObjQz* obj, TObjQz* readAs);
// The string lists the source object `obj` uses that the transfer did not
// copy, named by id in texts its copy keeps as they are: each that the
// destination holds under another name at that id, or not at all, is
// noted with what it reads there.
void NoteListsReadThere(TObjQz* obj, TMainDoc* dest, C_ListRec* conflicts);
// One alert naming what was noted ("Not copied") and what the copies name
// there instead; nothing when nothing was. The notes go either way.
void ReportNotBrought();

}  // namespace transfer
