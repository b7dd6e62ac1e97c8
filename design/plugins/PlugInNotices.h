// The plug-ins a discovery passed over: an item of a plug-in folder that is
// no resource file or bundle, or a damaged one, or a link that leads
// nowhere, or one from which no package could be made (its bundles do not
// read, or another plug-in has the same package); and the routines left
// out of a plug-in's packages (another plug-in has a routine of the name).
// Each is named to the user once a run, however many documents meet it.
#pragma once

#include <string>
#include <vector>

// Notes the item at `path` (UTF-8) as passed over, or, with `routine`
// (Mac Roman), that routine of it as left out.
void NoteUnreadPlugIn(const std::string& path, const std::string& routine = std::string());
// Names the items noted since the last call and not named before, by
// folder, in as many alerts as their names need; answers the alerts' texts
// (Mac Roman), none when there was nothing to name.
std::vector<std::string> TellUnreadPlugIns();
// Forgets every item, named or not (tests).
void ResetPlugInNotices();
