// Walks over a group's member tree: counting the members, emptying the
// groups, and deleting the members pass by pass. Member lists may name
// each other (damaged lists do): each walk visits a group once.
#pragma once

#include <cstdint>
#include <vector>

#include "design/objects/ObjKinds.h"

class TMainDoc;
class TObjQz;
class TGroupObjQz;

namespace transfer {

// Members of the group and of its nested groups, each group counted once.
int32_t RecursiveGroupCount(TGroupObjQz* group);

// Every member leaves its group and stays in the document, nested groups
// first; then each group is taken out of the document's groups list and out
// of its parent, and deleted. 0, or 1001 from the wait dialog.
int16_t RecursiveUnGroup(TMainDoc* doc, TGroupObjQz* group);

// The uninstall passes: pass 1 deletes the tables of the member tree, pass
// 2 its forms, pass 3 every other member and, content first, the nested
// groups. A member that goes along with another (a table's forms) is not
// reached again. 0, or 1001 from the wait dialog.
enum : int16_t { kTablesPass = 1, kFormsPass = 2, kOthersPass = 3 };
int16_t RecursiveDelGroup(TGroupObjQz* group, int16_t pass);

// The summaries of the group and of every group inside it wait to be
// remade (GroupMembersChanged) rather than follow each member's change:
// for a change of the whole tree.
void TreeSummariesWait(TGroupObjQz* root);

// Whether `obj` is a member of the group or, deep, of a group inside it.
bool GroupHolds(TGroupObjQz* group, const TObjQz* obj);

// Every member of the tree, the groups included (each once), local
// variables left to their methods.
std::vector<TObjQz*> TreeOf(TGroupObjQz* root);

// Whether an editor shows the group or a group inside it, or with
// `members` any member of the tree or what one holds: then the user is
// told (RefusedForOpenEditor), and the command that asks must not go on
// (nor when memory runs out, said too).
bool TreeRefusedForOpenEditor(TGroupObjQz* group, bool members);


}  // namespace transfer
