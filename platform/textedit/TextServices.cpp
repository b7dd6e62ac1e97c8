#include "platform/textedit/TextServices.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/core/Faults.h"

namespace platform {

struct OpaqueTSMDocumentID {
    std::vector<OSType> types;
    void* refcon = nullptr;
};

namespace {

std::vector<TSMDocumentID>& Documents()
{
    static std::vector<TSMDocumentID> documents;
    return documents;
}
TSMDocumentID gActive = nullptr;

bool Known(TSMDocumentID id)
{
    const auto& docs = Documents();
    return id && std::find(docs.begin(), docs.end(), id) != docs.end();
}

}  // namespace

OSErr NewTSMDocument(int16_t count, InterfaceTypeList types, TSMDocumentID* id, void* refcon)
{
    if (!id) return paramErr;
    *id = nullptr;
    if (count <= 0 || !types) return paramErr;
    if (ShouldFail(FaultKind::Allocation)) return memFullErr;
    try {
        auto* doc = new OpaqueTSMDocumentID;
        doc->types.assign(types, types + count);
        doc->refcon = refcon;
        try {
            Documents().push_back(doc);
        } catch (const std::bad_alloc&) {
            delete doc;
            throw;
        }
        *id = doc;
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

OSErr DeleteTSMDocument(TSMDocumentID id)
{
    if (!Known(id)) return tsmInvalidDocIDErr;
    auto& docs = Documents();
    docs.erase(std::find(docs.begin(), docs.end(), id));
    if (gActive == id) gActive = nullptr;
    delete id;
    return noErr;
}

OSErr ActivateTSMDocument(TSMDocumentID id)
{
    if (!Known(id)) return tsmInvalidDocIDErr;
    gActive = id;
    return noErr;
}

OSErr DeactivateTSMDocument(TSMDocumentID id)
{
    if (!Known(id)) return tsmInvalidDocIDErr;
    if (gActive == id) gActive = nullptr;
    return noErr;
}

TSMDocumentID TSMGetActiveDocument() { return gActive; }

void* TSMGetDocumentRefcon(TSMDocumentID id) { return Known(id) ? id->refcon : nullptr; }

int32_t TSMCountDocuments() { return int32_t(Documents().size()); }

}  // namespace platform
