// Finding plug-in objects by what method tokens store: a package by its
// bundle id, a package's routine by its number.
#pragma once

#include <cstdint>

class TMainDoc;
class TObjQz;
class TPackagesObjQz;

// The package (a kind-7 object without owner) whose bundle id is `id`.
TPackagesObjQz* FindPackage(TMainDoc* doc, int16_t id);
// Routine number `routine` of the package, or null.
TObjQz* PackageRoutine(TPackagesObjQz* package, int16_t routine);
// The package a plug-in call's token data (5, 2, bundle id, routine
// number) names, or null: its routine list and parameter list are read
// from its own file, which need not be in the current file's chain.
TPackagesObjQz* CalledPackage(TMainDoc* doc, const unsigned char* data);
