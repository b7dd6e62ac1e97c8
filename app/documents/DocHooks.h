// The document functions of the design layer, built above the application:
// the program fills these calls at start-up (app/program). A call left
// empty answers as a failure (-4, "not built"), so that nothing half opens.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "platform/textedit/TextEdit.h"

struct TypeListRec;
class TMainDoc;
class TObjQz;
class IModuleManager;

// What readServerPasswords answers for a server's tables in which two live
// users bear one name.
constexpr int16_t kUserNamedTwice = 1025;

struct AppDocHooks {
    // Opens a structure (1) or library (0): the companion resource file,
    // the container, a third file (-1) and the password accepted.
    int16_t (*openQzB)(uint8_t structure, const platform::FSSpec& fileSpec, int16_t* rsrFile, int16_t* resFile,
                       int16_t* otherFile, unsigned char* password) = nullptr;
    void (*closeQzB)(int16_t rsrFile, int16_t resFile, int16_t otherFile, int16_t dataFile) = nullptr;
    // Lets what the open changed reach the files of a document that is
    // not read (a new or just saved library): 0 or the error writing it.
    int16_t (*acceptQzB)(int16_t rsrFile, int16_t resFile) = nullptr;
    // A new empty library (1) or structure (0) and its companion.
    int16_t (*createQzLib)(const platform::FSSpec& fileSpec, uint8_t library) = nullptr;
    // Moves a document and its companion to `to`.
    int16_t (*copyFile)(const platform::FSSpec& from, const platform::FSSpec& to) = nullptr;
    // Reads the document's objects into its type list.
    int16_t (*readQzB)(TMainDoc* doc, bool initial, bool allowGenerated) = nullptr;
    // Reads an open document again from its files, its editors kept open
    // with their typing (without it: TMainDoc::Reparse).
    int16_t (*readAgain)(TMainDoc* doc) = nullptr;
    // Makes the container current for the resource layer.
    void (*useQzRes)(int16_t resFile) = nullptr;
    // The per-kind lists: a new empty one, its end with every object, and
    // the strict sort by name of the list of one kind.
    int16_t (*newTypeList)(TypeListRec** list) = nullptr;
    void (*disposeTypeList)(TypeListRec* list) = nullptr;
    void (*sortKind)(TypeListRec* list, int16_t kind) = nullptr;
    int32_t (*countKind)(TypeListRec* list, int16_t kind) = nullptr;
    TObjQz* (*searchObjName)(TMainDoc* doc, int16_t kind, const unsigned char* name) = nullptr;
    // The component manager of a document.
    IModuleManager* (*newModuleManager)(TMainDoc* doc) = nullptr;
    void (*deleteModuleManager)(IModuleManager* manager) = nullptr;
    int32_t (*countModules)(IModuleManager* manager) = nullptr;
    // Whether the current container was compiled without method sources.
    bool (*baseCompilee)() = nullptr;
    // Server structures: the users' tables read from the server (0 with
    // whether a login is needed, the error that kept them from being read,
    // or kUserNamedTwice), and the login.
    int16_t (*readServerPasswords)(bool* loginNeeded) = nullptr;
    int16_t (*takePass)(bool useDefaultUser) = nullptr;
    bool (*okStruct)() = nullptr;
    // A structure from an SQL schema script: on success `fileSpec` names it.
    int16_t (*sql)(const unsigned char* scriptPath, const unsigned char* reportPath, platform::FSSpec* fileSpec) =
        nullptr;
    // The trace log kept around a document's read.
    void (*debugLogOpen)() = nullptr;
    void (*debugLogClose)() = nullptr;
    // The documentation body behind its 4-byte header and back.
    int16_t (*styleHteToRes)(platform::Handle doc, platform::TEHandle text) = nullptr;
    int16_t (*styleResToHte)(platform::Handle doc, platform::TEHandle text) = nullptr;
    // A plain documentation body (a plug-in's), the handle being the text.
    int16_t (*plainHteToRes)(platform::Handle doc, platform::TEHandle text) = nullptr;
    int16_t (*plainResToHte)(platform::Handle doc, platform::TEHandle text) = nullptr;
    // Start-up: brings an older preferences file up to date (true when it
    // changed anything), and fills the blocking array from it.
    bool (*updatePrefResFile)() = nullptr;
    void (*setBlockArray)() = nullptr;
};

AppDocHooks& DocHooks();
// Forgets every call (tests).
void ResetDocHooks();
