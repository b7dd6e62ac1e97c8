// What a description says, before any byte is laid out: one record per
// object, names still unresolved, each with the line it came from so that
// every refusal can name it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace docbuilder {

struct Src {
    int line = 0;
};

// A styled stretch of a documentation text: characters [start, end) in a
// font (by name; empty: the default), size and face.
struct DocRunSpec {
    int32_t start = 0;
    int32_t end = 0;
    std::string font;
    int16_t size = 0;  // 0: the default
    uint8_t face = 0;
};

// One token of a method line, as written in the description.
struct TokenSpec {
    Src src;
    uint8_t kind = 8;
    uint8_t subkind = 0;     // literal sub-kind, operator number
    int64_t number = 0;      // command, parameter, long, time, 64-bit, bundle, constant list
    int64_t number2 = 0;     // routine number, constant index
    double real = 0;
    int16_t date[3] = {0, 0, 0};  // day, month, year
    std::string text;        // names, strings, comments
    std::vector<std::string> path;  // field reference: table, subtables..., field
};

struct MethodSpec {
    Src src;
    std::string name;
    int32_t id = 0;          // 0: chosen by the builder
    uint16_t attributes = 0;
    int16_t slot = -1;       // database methods: slot in 'DBPR'
    std::vector<std::vector<TokenSpec>> lines;
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
};

struct TableSpec;

struct FieldSpec {
    Src src;
    std::string name;
    uint8_t type = 0;
    int16_t length = 0;
    uint8_t attributes = 0;
    std::vector<std::string> relation;  // table, subtables..., field
    std::string list;
    std::optional<std::string> balloon;
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
    std::shared_ptr<TableSpec> subtable;  // type 7
};

// A column of a list box: its variable, its header's variable and title,
// and the object method run for the column.
struct ColumnSpec {
    Src src;
    std::string variable, header, title;
    std::optional<MethodSpec> method;
};

struct FormItemSpec {
    Src src;
    // The kinds after Subform exist in forms stored as chunk files only.
    enum Kind {
        Field, Variable, Text, Rect, Oval, Line, Picture, Subform,
        RoundRect, Matrix, GroupBox, StaticPicture, Group, Chunk, ListBox
    } kind = Field;
    std::string name;        // field name, variable name, subform table, library picture
    std::string text;        // label, static text, subform form name
    bool interprocess = false;
    uint8_t objectKind = 0;
    int16_t balloon = 0;     // 0: none
    std::string list;
    std::optional<MethodSpec> method;  // object method

    // Chunk-file forms only.
    std::string objectName;  // the object's own name
    int16_t page = -1;       // -1: the form's current page
    std::string style;       // a field's or variable's display format names this style
    std::string styleSheet;  // a text's style sheet
    std::string detail;      // a subform's detail form (default: its list form)
    int16_t rows = 2, columns = 2;  // a matrix
    std::vector<int32_t> themes;
    std::vector<FormItemSpec> members;  // a group's
    uint32_t chunkId = 0;    // a raw chunk
    std::vector<uint8_t> bytes;  // a raw chunk's data, a variable's default style
    std::string required, excluded;  // entry attributes: lists of required and excluded values
    std::string filter;      // entry attributes: the entry filter
    bool disabled = false;   // entry attributes: not editable
    bool tiled = false;      // a picture tiled over its rectangle
    std::string listVariable;  // a list box's variable (its interprocess flag: `interprocess`)
    std::vector<ColumnSpec> listColumns;
};

struct FormSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    int16_t menubar = 0;
    // Stored as a chunk file ('FOQz' FORM 'LAYO') rather than flat records.
    bool iff = false;
    // Stored in the older flat layout even where forms are chunk files; as
    // one list of records without the page header (`flat list`).
    bool flat = false, oneList = false;
    int pageLine = 0;        // the first 'page' line
    bool little = false;     // the chunk file in the other byte order ("MROF")
    uint32_t look = 0;
    std::string inheritTable, inheritForm;
    std::string sizeObject, formText;
    std::vector<std::pair<int, std::string>> layers;  // layer number 1-10, name
    int chunkOnlyLine = 0;   // the first line only a chunk-file form may hold
    std::optional<MethodSpec> method;
    std::vector<FormItemSpec> items;
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
};

struct TableSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::vector<FieldSpec> fields;
    std::vector<FormSpec> forms;
    std::optional<MethodSpec> method;
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
};

struct MenuItemSpec {
    Src src;
    std::string text;
    std::string method;
    uint8_t flags = 0;
    char key = 0;
    std::string picture;
};

struct MenuSpec {
    Src src;
    std::string title;
    int32_t id = 0;
    std::vector<MenuItemSpec> items;
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
};

struct MenuBarSpec {
    Src src;
    bool freeSlot = false;  // an empty slot of the menu bar directory
    std::string name;
    int32_t id = 0;
    std::vector<std::string> menus;  // titles of menus, defined here or elsewhere
    std::optional<std::string> doc;
    int16_t docState = 2;
    std::vector<DocRunSpec> docRuns;
};

struct ListItemSpec {
    Src src;
    std::string text;
    int16_t number = 0;
    uint8_t face = 0;
    std::string picture;
    int16_t icon = 0;  // an icon family of the program
    std::vector<ListItemSpec> children;
};

struct ChoiceListSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    bool old = false;  // written as an enumeration of the older documents
    std::vector<ListItemSpec> items;
};

struct BalloonSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::string text;
};

struct StringListSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::vector<std::string> strings;
};

struct StyleSpec {
    Src src;
    std::string name;
    std::string description;
};

struct PictureSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    int16_t width = 32, height = 32;
};

struct StyleSheetSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::string font = "Geneva";
    uint8_t size = 12;
    uint8_t face = 0;
};

struct MemberSpec {
    Src src;
    std::string kind;   // the description's kind word
    std::string name;   // "Table" or "Table.Form"
};

struct GroupSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::vector<MemberSpec> members;
};

struct ComponentSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::string version, comments, prefix;
    uint32_t number = 0;
    int16_t date[3] = {0, 0, 0};
    bool generated = false;
    int rename = -1;  // 1 rename, 0 keep the names, -1 as the prefix says
    GroupSpec folders[3];  // public, protected, private
    std::vector<std::pair<std::string, std::string>> codes;
    // Installed: a module record ('MODQ') and, with map lines, its id map
    // ('MAPQ'); protected and private members' resources enciphered.
    bool installed = false;
    struct MapRow {
        uint32_t type;
        int16_t oldId, newId;
    };
    std::vector<MapRow> maps;
};

struct UserSpec {
    Src src;
    std::string name, password, method;
    int32_t owner = 0;
};

struct UserGroupSpec {
    Src src;
    std::string name;
    std::vector<MemberSpec> members;  // "user" or "group"
};

struct ConstantsSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::vector<std::string> items;  // "name:value"
};

struct PackageSpec {
    Src src;
    std::string name;
    int32_t id = 0;
    std::vector<std::string> routines;
    // In a plug-in file: the theme's first string ('THM#'), and a bundle
    // left without its own name.
    std::optional<std::string> theme;
    bool unnamed = false;
};

// A plug-in routine parameter list 'EPRM': per routine, its (parameter
// number, stored type) pairs.
struct EprmSpec {
    Src src;
    int32_t id = 0;
    struct Routine {
        int16_t number = 0;
        std::vector<std::pair<int16_t, int16_t>> params;
    };
    std::vector<Routine> routines;
};

// A plug-in resource file "NAME.plugin" written beside the document.
struct PlugInFileSpec {
    Src src;
    std::string name;
    std::optional<int16_t> signature;
    int16_t version = 1;
    std::vector<std::pair<int16_t, int16_t>> needs;  // (signature, version) required
    std::vector<PackageSpec> packages;
    std::vector<EprmSpec> eprms;
};

struct RoutineSpec {
    Src src;
    std::string name;
    int32_t id = 0;
};

struct RawSpec {
    Src src;
    uint32_t type = 0;
    int32_t id = 0;
    std::string name;
    bool companion = false;
    std::vector<uint8_t> bytes;
};

struct DocumentSpec {
    std::string fileName;   // the description's own name, for messages
    bool library = false;
    std::string name;
    uint8_t level = 15;
    bool littleEndian = false;
    int16_t date[3] = {1, 1, 2024};  // day, month, year
    int32_t seed = 1;
    int16_t version = 6;
    bool oldMemberLists = false;
    bool groupsInCompanion = false;
    bool oldPasswords = false;
    // The user group that may open the design ('PRQz' 0 offset 48), empty
    // for everybody, and the default user (offset 52, 0 none).
    std::string designGroup;
    int designGroupLine = 0;
    int16_t defaultUser = 0;
    bool oldStyleSheets = false;
    bool formsIff = false;          // every form a chunk file
    bool compiled = false;          // 'VART' 0
    std::vector<int32_t> compiledCode;  // 'MPPC' ids
    std::optional<int32_t> dirty;   // 'QzQz' 2
    int32_t fillers = 0;
    // The compiler's declaration text file beside the structure.
    std::optional<std::string> declarations;
    // The description whose objects are copied into this document: its
    // conflicts go into the manifest (Conflicts.h).
    std::string against;
    int againstLine = 0;
    int16_t moduleFormat = 769;  // of installed components' records

    std::vector<TableSpec> tables;
    std::vector<MethodSpec> methods;
    std::vector<MethodSpec> dbMethods;
    std::vector<MenuBarSpec> menuBars;
    std::vector<MenuSpec> menus;
    std::vector<ChoiceListSpec> lists;
    std::vector<BalloonSpec> balloons;
    std::vector<StringListSpec> stringLists;
    std::vector<StyleSpec> styles;
    std::vector<PictureSpec> pictures;
    std::vector<StyleSheetSpec> styleSheets;
    std::vector<GroupSpec> groups;
    std::vector<ComponentSpec> components;
    std::vector<UserSpec> users;
    std::vector<UserGroupSpec> userGroups;
    std::vector<ConstantsSpec> constants;
    std::vector<PackageSpec> packages;
    std::vector<RoutineSpec> routines;
    std::vector<EprmSpec> eprms;
    std::vector<PlugInFileSpec> plugInFiles;
    std::vector<RawSpec> raws;
};

// A refusal: the description's name, the line, and what is wrong.
struct BuildError {
    std::string file;
    int line = 0;
    std::string message;
    std::string Text() const { return file + ":" + std::to_string(line) + ": " + message; }
};

}  // namespace docbuilder
