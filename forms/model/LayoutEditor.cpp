// The form model's life, its pages and the seam the form objects ask it
// through.
#include "forms/model/LayoutEditor.h"

#include <algorithm>
#include <cstring>

#include "forms/drawing/FormPreview.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/reader/FormReader.h"
#include "kernel/helpers/KernelDialogs.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Memory.h"
#include "platform/windows/Windows.h"

int32_t gNbEditors = 0;

namespace {

constexpr int32_t kWorkSize = 1000;
constexpr unsigned char kInvalidPage[] = "\x10Page is invalid!";

// The model that last reported a bad page: the message shows once until
// another model reports one.
const LayoutEditor* gBadPageReporter = nullptr;

int32_t CountChain(LayoutObject* first)
{
    int32_t n = 0;
    for (LayoutObjectIterator it(first, false, true, false); it.Current(); it.SetNext()) ++n;
    return n;
}

LayoutEditor* Model(LayoutEditor* m) { return m; }

}  // namespace

LayoutEditor::LayoutEditor(int16_t formId, int16_t secondId, int16_t resFile)
    : fSecondId(secondId != 0 ? secondId : formId), fFormId(formId), fResFile(resFile)
{
    if (!GetFormModelHooks().eachObjectChain) InstallFormModelHooks();
    fInfo.Init();
    fWork = platform::NewHandle(kWorkSize);
    ++gNbEditors;
}

LayoutEditor::~LayoutEditor()
{
    if (fPrintRecord) platform::DisposeHandle(fPrintRecord);
    --gNbEditors;
    DestroyPages();
    DestroyObjects(fObjectList);
    fObjectList = nullptr;
    if (fBaseFormPicture) platform::DisposeHandle(fBaseFormPicture);
    if (fWork) platform::DisposeHandle(fWork);
    if (gBadPageReporter == this) gBadPageReporter = nullptr;
}

// --- pages ------------------------------------------------------------------------

int16_t LayoutEditor::LastPage() const { return LastPageIndex(fPages); }

void LayoutEditor::StoreCurrentPage() { SetPage(fPages, fCurrentPage, PageEntry{fFirst, fLast}); }

void LayoutEditor::LoadCurrentPage()
{
    PageEntry entry;
    if (!GetPage(fPages, fCurrentPage, &entry)) entry = PageEntry{};
    fFirst = entry.first;
    fLast = entry.last;
}

platform::Handle LayoutEditor::Pages()
{
    StoreCurrentPage();
    return fPages;
}

LayoutObject* LayoutEditor::ChainOf(int32_t page)
{
    if (page == fCurrentPage) return fFirst;
    PageEntry entry;
    return GetPage(fPages, page, &entry) ? entry.first : nullptr;
}

void LayoutEditor::GotoPage(int16_t page, int16_t)
{
    if (!fPages) return;
    if (page == -1 && !AskPageNumber(fCurrentPage, &page)) return;
    page = std::min<int16_t>(page, LastPage());
    if (page < 0) page = 1;
    if (page == fCurrentPage) return;
    const int16_t old = fCurrentPage;
    for (LayoutObject* o = fFirst; o; o = o->next) o->DoPageClosed(page);
    StoreCurrentPage();
    fCurrentPage = page;
    LoadCurrentPage();
    for (LayoutObject* o = fFirst; o; o = o->next) o->DoPageOpened(old);
    if (fWindow) platform::InvalWindowRect(fWindow, &fContentRect);
}

LayoutObject* LayoutEditor::GetFirstOfPage(int16_t page)
{
    if (page == -1) page = fCurrentPage;
    if (!fPages || page < 0 || page > LastPage()) {
        if (gBadPageReporter != this) attention(kInvalidPage);
        gBadPageReporter = this;
        return nullptr;
    }
    return ChainOf(page);
}

int32_t LayoutEditor::CountObjects()
{
    int32_t n = 0;
    for (int32_t p = 0; p <= LastPage(); ++p) n += CountChain(ChainOf(p));
    return n;
}

int32_t LayoutEditor::CountPageObjects(int16_t page)
{
    page = std::min<int16_t>(page, LastPage());
    if (page < 0) page = 1;
    return CountChain(ChainOf(page));
}

void LayoutEditor::InsertObject(LayoutObject* object, LayoutObject* after)
{
    if (!object) return;
    if (after == kAfterLastObject) after = fLast;
    object->previous = after;
    object->next = after ? after->next : fFirst;
    if (object->next) object->next->previous = object;
    else fLast = object;
    if (after) after->next = object;
    else fFirst = object;
    StoreCurrentPage();
}

void LayoutEditor::RemoveObject(LayoutObject* object)
{
    if (!object) return;
    bool held = false;
    for (LayoutObject* o = fFirst; o && !held; o = o->next) held = o == object;
    if (!held) return;
    if (object->previous) object->previous->next = object->next;
    else fFirst = object->next;
    if (object->next) object->next->previous = object->previous;
    else fLast = object->previous;
    object->next = object->previous = nullptr;
    StoreCurrentPage();
    if (fWindow) platform::InvalWindowRect(fWindow, &fContentRect);
}

void LayoutEditor::DestroyPages()
{
    StoreCurrentPage();
    ::DestroyPages(fPages);
    fPages = nullptr;
    fFirst = fLast = nullptr;
    fCurrentPage = 0;
}

void LayoutEditor::EmptyOnePage()
{
    ::DestroyPages(fPages);
    fPages = NewPageTable(1);
    fFirst = fLast = nullptr;
}

// --- writing ------------------------------------------------------------------------

bool LayoutEditor::PackFormat(platform::Handle h, bool resort)
{
    StoreCurrentPage();
    if (resort) TriZone(false);
    fInfo.look = uint32_t(int32_t(fLookNumber));
    return ::PackFormat(h, fPages, fInfo, fCounters);
}

// --- the seam ------------------------------------------------------------------------

bool LayoutEditor::EachObjectChain(bool (*visit)(LayoutObject*, void*), void* context)
{
    for (int32_t p = LastPage(); p >= 0; --p) {
        LayoutObject* first = ChainOf(p);
        if (first && visit(first, context)) return true;
    }
    return fObjectList && visit(fObjectList, context);
}

int16_t LayoutEditor::MethodFile() const { return fResFile > 0 ? fResFile : numresfalse; }

void LayoutEditor::RenameObjectMethod(int16_t methodId, const unsigned char* name)
{
    const std::string text(reinterpret_cast<const char*>(name) + 1, name[0]);
    for (auto& renamed : fRenamedMethods)
        if (renamed.first == methodId) {
            renamed.second = text;
            return;
        }
    fRenamedMethods.emplace_back(methodId, text);
}

void InstallFormModelHooks()
{
    FormModelHooks h;
    h.currentLayer = [](LayoutEditor* m) { return Model(m)->fInfo.currentLayer; };
    h.critRoot = [](LayoutEditor* m) { return Model(m)->fTableFields; };
    h.defaultHandler = [](LayoutEditor* m) { return Model(m)->fLookHandler; };
    h.eachObjectChain = [](LayoutEditor* m, ObjectChainVisitor visit, void* context) {
        return Model(m)->EachObjectChain(visit, context);
    };
    h.methodFile = [](LayoutEditor* m) { return Model(m)->MethodFile(); };
    h.renameObjectMethod = [](LayoutEditor* m, int16_t id, const unsigned char* name) {
        Model(m)->RenameObjectMethod(id, name);
    };
    h.markChanged = [](LayoutEditor* m) { Model(m)->MarkChanged(); };
    h.subformPicture = SubformPicture;
    SetFormModelHooks(h);
}
