// The conflicts the objects of one description meet when they are copied
// into the document of another: what the destination's manifest lists
// after a description says `against OTHER.qzdoc`. One line per source
// object that has a counterpart in the destination:
//
//   conflict  CODE  KIND ID NAME OWNER  KIND ID NAME OWNER
//
// the source object first, both as their manifests name them. Tables
// clash with code 1 when the destination's table of that name has the
// same fields (names, ignoring case, and types, subtables alike) and 2
// otherwise; methods 6, choice lists 7, balloons 8, string lists of the
// same id 9, routines 10, menus 15, styles 16, pictures of the same id 19
// (else of the same name 24), style sheets 20 and groups 5 clash by name.
// Menu bars, packages, components and variables are not compared.
#pragma once

#include <string>
#include <vector>

#include "tools/docbuilder/Layout.h"
#include "tools/docbuilder/Model.h"

namespace docbuilder {

std::vector<std::string> ConflictLines(const DocumentSpec& source, const LaidOut& sourceOut, const DocumentSpec& dest,
                                       const LaidOut& destOut);

}  // namespace docbuilder
