// Groups made, filled and taken apart as one change each: the document's
// store takes every member list written meanwhile in one commit, and a
// change that fails leaves the groups, their members and the store as
// they were (members taken from another group go back to it).
#pragma once

#include <cstdint>
#include <vector>

class TMainDoc;
class TObjQz;
class TGroupObjQz;

// A group named `name` (no group of the document bears it), empty, with
// room for 10 members, its member list stored. 0 or the error (no group
// then).
int16_t NewGroupOf(TMainDoc* doc, const unsigned char* name, TGroupObjQz** out);

// `objects` join `group`: with `takeFromGroups` an object in another group
// leaves it first, without it an object in a group is passed over, as is
// one that cannot be dragged. Each is counted in the wait dialog shown
// (G_WaitParam). On success the members are sorted by full name, the
// group's summaries rebuilt and its member list stored; *added says how
// many joined. 0 or the error.
int16_t AddToGroup(TGroupObjQz* group, const std::vector<TObjQz*>& objects, bool takeFromGroups, int32_t* added);

// A new group of those objects (NewGroupOf, then AddToGroup); no group is
// left when either fails.
int16_t MakeGroupOf(TMainDoc* doc, const unsigned char* name, const std::vector<TObjQz*>& objects,
                    bool takeFromGroups, TGroupObjQz** out);

// Every member leaves the group, which leaves its own group and the
// document and is deleted with its member list; the members stay. 0 or
// the error (the group then as it was).
int16_t Ungroup(TGroupObjQz* group);

// Whether putting `dragged` into `target` would put a group inside itself,
// or a database method, group, package or plug-in routine into a
// component's folder.
bool SelfGrouping(TObjQz* dragged, TObjQz* target);
