// How the link walkers of stored forms reach the design objects of the
// form's document: look-ups by kind and id or name, the tables and fields
// of the structure, variables and object methods (made when missing), and
// the uses graph. The design layer installs them (InstallFormLinkLookups);
// until then every look-up finds nothing and nothing is recorded.
//
// `form` is the form object whose document is searched; each answer is an
// object of that document or null.
#pragma once

#include <cstdint>

class TObjQz;
class TLayoutObjQz;

struct FormLinkHooks {
    // Records from -> to, the form itself when `from` is null; 0 or -108.
    int16_t (*link)(TLayoutObjQz* form, TObjQz* from, TObjQz* to) = nullptr;
    TObjQz* (*byId)(TLayoutObjQz* form, int16_t kind, int16_t id) = nullptr;
    TObjQz* (*byName)(TLayoutObjQz* form, int16_t kind, const unsigned char* name) = nullptr;
    // A plug-in package of that name.
    TObjQz* (*package)(TLayoutObjQz* form, const unsigned char* name) = nullptr;
    TObjQz* (*ownerOf)(TObjQz* object) = nullptr;
    // The object's own name (at most 33 characters).
    void (*nameOf)(TObjQz* object, unsigned char* name) = nullptr;
    // The form's own table; a table by its number; by its name.
    TObjQz* (*ownTable)(TLayoutObjQz* form) = nullptr;
    TObjQz* (*tableNumbered)(TLayoutObjQz* form, int16_t number) = nullptr;
    TObjQz* (*tableNamed)(TLayoutObjQz* form, const unsigned char* name) = nullptr;
    // The subtable of the form's table at that field number.
    TObjQz* (*subtableNumbered)(TLayoutObjQz* form, int16_t fieldNumber) = nullptr;
    // A field by table number (0: the form's table) and field number.
    TObjQz* (*field)(TLayoutObjQz* form, int16_t tableNumber, int16_t fieldNumber) = nullptr;
    // A field of `table` by its number or its name.
    TObjQz* (*fieldNumbered)(TLayoutObjQz* form, TObjQz* table, int16_t fieldNumber) = nullptr;
    TObjQz* (*fieldNamed)(TLayoutObjQz* form, TObjQz* table, const unsigned char* name) = nullptr;
    // A form of a table or subtable by its name.
    TObjQz* (*formNamed)(TObjQz* table, const unsigned char* name) = nullptr;
    // The string list object behind a ":ID,INDEX" reference to 'STR#' id.
    TObjQz* (*stringList)(TLayoutObjQz* form, int16_t resourceId) = nullptr;
    // Found or made in the document; the interprocess one under its
    // prefixed name. Null only when memory is short.
    TObjQz* (*variable)(TLayoutObjQz* form, const unsigned char* name, bool interprocess) = nullptr;
    // A list box variable (kind 21, id 2 when interprocess, else 1) found
    // or made among the document's variables; null only when memory is
    // short.
    TObjQz* (*listBoxVariable)(TLayoutObjQz* form, const unsigned char* name, bool interprocess) = nullptr;
    // An object method of the form, made, read and owned by the form;
    // null only when memory is short.
    TObjQz* (*objectMethod)(TLayoutObjQz* form, const unsigned char* name, bool interprocess, int16_t methodId) = nullptr;
    // An object's kind and id; a table's number (0 for other kinds).
    int16_t (*kindOf)(TObjQz* object) = nullptr;
    int16_t (*idOf)(TObjQz* object) = nullptr;
    int16_t (*tableNumberOf)(TObjQz* table) = nullptr;
};

void SetFormLinkHooks(const FormLinkHooks& hooks);
void ResetFormLinkHooks();
const FormLinkHooks& GetFormLinkHooks();
