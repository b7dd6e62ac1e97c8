// Walking stored forms for their links. The document builder writes 1,000
// forms of 300 objects each (fields, variables, static texts, drawings,
// groups, pictures, subforms, entry attributes and themes, then 50 fields
// and 50 variables with entry attributes: MakeForm), stored as chunk files; ParseIFFForm walks each into a scratch
// structure's graph; then the same forms are read into objects (GetFormQz)
// and written back (PackFormat). Beside them, a loop follows the same chunk
// headers and copies every chunk's data with memcpy: the least any reader
// of the same bytes does. Then SearchTxtIFF looks for a text no form holds
// (each form walked whole) beside memmem of the same text over the same
// images, and ReplaceTxtIFF rewrites every form (each static text
// replaced) beside copying the images, and every form is copied for
// another document (CopyIFFLayOut, MoveIFFFormObject, then ParseLinkIFFForm
// rewriting its links through an identity conflict list) beside the same
// copy. Last, four of the forms stored as a
// chain of inherited forms are loaded into kernel records (getform, three
// inherited forms brought in), beside GetFormQz of the same four images.
//
//   form_bench [forms]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "bench/BenchTiming.h"
#include "design/forms/FormRewriteLookups.h"
#include "design/links/FormLinkLookups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "forms/kernel/KernelForm.h"
#include "forms/layout/FormContainer.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/reader/FormReader.h"
#include "forms/walkers/FormCopy.h"
#include "forms/walkers/FormDestHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "forms/walkers/ParseIFFForm.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "tools/docbuilder/IffForm.h"

namespace {

using docbuilder::Bytes;
using docbuilder::IffObject;
using Kind = docbuilder::FormItemSpec::Kind;

constexpr int kObjects = 200, kFields = 40, kWithAttributes = 50;

const unsigned char* PName(const std::string& s, unsigned char* out)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
    return out;
}

// The object methods of a copied form, each under the next number.
int16_t NumberedMover(TMainDoc*, TMainDoc*, int16_t, int16_t* newId)
{
    static int16_t next = 0;
    *newId = next = int16_t(next == INT16_MAX ? 1 : next + 1);
    return 0;
}

IffObject Object(Kind kind, int row)
{
    IffObject o;
    o.kind = kind;
    o.bounds = {int16_t(10 + 26 * (row % 1000)), 10, int16_t(30 + 26 * (row % 1000)), 210};
    return o;
}

// Form n: an entry form's mix, out of every 50 objects: 18 fields (one
// with a choice list, one with a tip), 4 variables (one with an object
// method), 12 static texts (one naming a field and a variable, one a
// string list, one in a style sheet), 10 drawings (two carrying themes), 2
// groups of two drawings, 2 library pictures, 1 subform and 1 matrix. Each
// form names other fields and variables than the last.
Bytes MakeForm(int n, const std::string& inherit = "")
{
    docbuilder::IffFormLayout f;
    if (!inherit.empty()) f.inheritTable = 1, f.inheritName = inherit;
    f.pages.resize(2);
    std::vector<IffObject>& page = f.pages[1];
    int row = 0;
    while (int(page.size()) < kObjects) {
        const int k = int(page.size()), slot = k % 50;
        IffObject o = Object(Kind::Rect, row++);
        if (slot < 18) {
            o.kind = Kind::Field;
            o.fieldNumber = int16_t(1 + (n + k) % kFields);
            o.tableNumber = 1;
            if (slot == 0) o.listId = 1;
            if (slot == 1) o.tip = 1;
        } else if (slot < 22) {
            o.kind = Kind::Variable;
            o.variable = "v" + std::to_string((n + k) % 300);
            o.methodId = slot == 18 ? int16_t(1 + (n + k) % 100) : 0;
        } else if (slot < 34) {
            o.kind = Kind::Text;
            o.text = "Label " + std::to_string(k);
            if (slot == 22)
                o.text = "<?[T1]f" + std::to_string(1 + (n * 7 + k) % kFields) + "> and <vTotal" + std::to_string(k % 9) + ">";
            if (slot == 23) o.text = ":1,1";
            if (slot == 24) o.styleSheet = 1;
        } else if (slot < 44) {
            o.kind = slot % 3 ? Kind::Rect : Kind::Line;
            if (slot < 36) o.themes = {1, 2};
        } else if (slot < 46) {
            o.kind = Kind::Group;
            o.members = {Object(Kind::Rect, row++), Object(Kind::Oval, row++)};
        } else if (slot < 48) {
            o.kind = Kind::StaticPicture;
            o.pictureId = 1;
            o.pictureName = "P";
        } else if (slot == 48) {
            o.kind = Kind::Subform;
            o.subformTable = -2;
            o.text = "List";
        } else {
            o.kind = Kind::Matrix;
        }
        page.push_back(std::move(o));
    }
    // Fields and variables with entry attributes: a choice list, a list of
    // required values, a filter.
    for (int k = 0; k < 2 * kWithAttributes; ++k) {
        IffObject o = Object(k < kWithAttributes ? Kind::Field : Kind::Variable, row++);
        if (o.kind == Kind::Field) {
            o.fieldNumber = int16_t(1 + (n + k) % kFields);
            o.tableNumber = 1;
        } else {
            o.variable = "e" + std::to_string((n + k) % 300);
        }
        o.listId = 1, o.requiredId = 1, o.filter = "&9";
        page.push_back(std::move(o));
    }
    return docbuilder::IffForm(f);
}

// The peer: every chunk header followed, groups entered, each chunk's data
// copied out.
size_t CopyChunks(const uint8_t* b, size_t from, size_t end, uint8_t* out)
{
    size_t copied = 0;
    for (size_t at = from; at + 8 <= end;) {
        const uint32_t id = platform::ReadBE32(b + at);
        const size_t size = platform::ReadBE32(b + at + 4);
        if (size > end - at - 8) break;
        if (id == platform::FourCC("FORM")) copied += CopyChunks(b, at + 12, at + 8 + size, out);
        else {
            std::memcpy(out, b + at + 8, size);
            copied += size;
        }
        at += 8 + size + (size & 1);
    }
    return copied;
}

platform::Handle gChainList = nullptr;

// Forms C0 to C3 ('FOQz' 20001 to 20004), each inheriting the next, loaded
// 100 times with getform; beside it GetFormQz of the four images as often.
// Prints both; answers getform's time.
double ChainedLoads(int* failures)
{
    constexpr int kChain = 4, kLoads = 100;
    Bytes list(6 + kChain * 270, 0);
    list[1] = kChain;
    std::vector<platform::Handle> images;
    for (int i = 0; i < kChain; ++i) {
        const std::string own = "C" + std::to_string(i);
        uint8_t* e = &list[size_t(6 + i * 270)];
        e[0] = uint8_t(own.size());
        std::memcpy(e + 1, own.data(), own.size());
        platform::WriteBE16(e + 32, uint16_t(20001 + i));
        const Bytes form = MakeForm(i, i + 1 < kChain ? "C" + std::to_string(i + 1) : "");
        platform::Handle h = nullptr;
        platform::PtrToHand(form.data(), &h, platform::Size(form.size()));
        images.push_back(h);
        platform::Handle stored = nullptr;
        platform::PtrToHand(form.data(), &stored, platform::Size(form.size()));
        xaddres(stored, platform::FourCC("FOQz"), int16_t(20001 + i));
    }
    platform::PtrToHand(list.data(), &gChainList, platform::Size(list.size()));
    formTableCount = 1;
    SetTableFormListProc([](int16_t) { return gChainList; });
    const double kernel = bench::MedianMs(5, [&] {
        for (int k = 0; k < kLoads; ++k) {
            getform(20001, nullptr, true);
            *failures += debutform == nullptr;
            effform(&debutform);
        }
    });
    const double objects = bench::MedianMs(5, [&] {
        for (int k = 0; k < kLoads; ++k)
            for (platform::Handle h : images) {
                CustomClientFrame frame;
                InitFormReadingFrame(&frame, nullptr);
                *failures += ReadFormImage(h, &frame) != 0;
                DestroyPages(frame.pages);
            }
    });
    std::printf("  getform, 3 inherited  %9.2f ms for %d loads of %d forms\n", kernel, kLoads, kChain);
    std::printf("  GetFormQz, same forms %9.2f ms  ratio %6.2f\n", objects, objects > 0 ? kernel / objects : 0.0);
    SetTableFormListProc(nullptr);
    formTableCount = 0;
    platform::DisposeHandle(gChainList);
    for (platform::Handle h : images) platform::DisposeHandle(h);
    return kernel;
}

}  // namespace

int main(int argc, char** argv)
{
    const int forms = argc > 1 ? std::atoi(argv[1]) : 1000;
    platform::SetMemoryBudget(int64_t(8) << 30);
    char folder[] = "/tmp/form_bench.XXXXXX";
    if (!mkdtemp(folder)) return 1;
    initresman();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(std::string(folder) + "/scratch.qzb", &fileSpec);
    TMainDoc doc;
    doc.fResFile = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    if (!doc.fResFile || NewTypeList(&doc.fTypeList) != 0) return 1;
    useres(doc.fResFile);

    // The scratch structure: two tables, the first with its fields; a list,
    // a balloon, a picture, a style sheet, a string list.
    unsigned char name[256];
    auto* t1 = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("T1", name), 1));
    auto* t2 = static_cast<TFileObjQz*>(NewCritObj(&doc, 1, PName("T2", name), 2));
    t1->tableNumber = 1, t2->tableNumber = 2;
    for (int32_t k = 1; k <= kFields; ++k) {
        auto* f = static_cast<TStructObjQz*>(NewCritObj(&doc, 28, PName("f" + std::to_string(k), name), k));
        f->ownerObj = t1;
        AddObjList(&t1->members, f);
    }
    NewObjList(&t2->forms, 4);
    NewListObj_Id(&doc, &t2->forms, 24, PName("List", name), 1, false);
    for (int16_t kind : {4, 10, 11, 18, 19}) NewObj_Id(&doc, kind, PName("P", name), 1, false);
    NewObjList(&t1->forms, forms + 1);
    std::vector<TLayoutObjQz*> layouts;
    std::vector<Bytes> bytes;
    std::vector<platform::Handle> handles;
    size_t total = 0;
    for (int n = 0; n < forms; ++n) {
        auto* layout = static_cast<TLayoutObjQz*>(
            NewListObj_Id(&doc, &t1->forms, 24, PName("Form" + std::to_string(n), name), int16_t(n + 2), false));
        layout->ownerObj = t1;
        layouts.push_back(layout);
        bytes.push_back(MakeForm(n));
        total += bytes.back().size();
        platform::Handle h = nullptr;
        platform::PtrToHand(bytes.back().data(), &h, platform::Size(bytes.back().size()));
        handles.push_back(h);
    }
    InstallFormLinkLookups();

    // One walk first: the graph then holds every link, and each timed run
    // finds them there, as a document parsed again does.
    int failures = 0;
    for (int n = 0; n < forms; ++n) failures += ParseIFFForm(handles[size_t(n)], layouts[size_t(n)]) != 0;
    const double ours = bench::MedianMs(5, [&] {
        for (int n = 0; n < forms; ++n) failures += ParseIFFForm(handles[size_t(n)], layouts[size_t(n)]) != 0;
    });
    std::vector<uint8_t> buffer(1 << 20);
    size_t copied = 0;
    const double peer = bench::MedianMs(5, [&] {
        for (const Bytes& b : bytes) copied += CopyChunks(b.data(), 12, b.size(), buffer.data());
    });
    // The same forms read into objects (GetFormQz) and written back
    // (PackFormat).
    int readFailures = 0;
    const double reading = bench::MedianMs(5, [&] {
        for (int n = 0; n < forms; ++n) {
            CustomClientFrame frame;
            InitFormReadingFrame(&frame, nullptr);
            readFailures += ReadFormImage(handles[size_t(n)], &frame) != 0;
            DestroyPages(frame.pages);
        }
    });
    std::vector<std::unique_ptr<CustomClientFrame>> frames;
    for (int n = 0; n < forms; ++n) {
        frames.push_back(std::make_unique<CustomClientFrame>());
        InitFormReadingFrame(frames.back().get(), nullptr);
        readFailures += ReadFormImage(handles[size_t(n)], frames.back().get()) != 0;
    }
    platform::Handle out = platform::NewHandle(0);
    int writeFailures = 0;
    const double writing = bench::MedianMs(5, [&] {
        for (auto& f : frames) writeFailures += !PackFormat(out, f->pages, f->layoutInfo, nullptr);
    });
    platform::DisposeHandle(out);
    for (auto& f : frames) DestroyPages(f->pages);
    // Searching and replacing the forms' texts.
    InstallFormRewriteHooks();
    const char* absent = "Nowhere to be found";
    int found = 0;
    const double searching = bench::MedianMs(5, [&] {
        for (platform::Handle h : handles) found += SearchTxtIFF(h, absent, 2);
    });
    size_t memmemHits = 0;
    const double scanning = bench::MedianMs(5, [&] {
        for (const Bytes& b : bytes) memmemHits += memmem(b.data(), b.size(), absent, std::strlen(absent)) != nullptr;
    });
    platform::Handle rewritten = platform::NewHandle(0);
    int replaceFailures = 0;
    const double replacing = bench::MedianMs(5, [&] {
        for (platform::Handle h : handles)
            replaceFailures += ReplaceTxtIFF(h, rewritten, PName("Label", name), PName("Title", name + 64)) != 0;
    });
    const double copyingImages = bench::MedianMs(5, [&] {
        for (const Bytes& b : bytes) {
            platform::SetHandleSize(rewritten, platform::Size(b.size()));
            std::memcpy(*rewritten, b.data(), b.size());
        }
    });
    // Copying every form into another document: the image copied chunk by
    // chunk, its object methods moved (a mover numbering them anew), then
    // its links rewritten, every object its own counterpart; beside copying
    // the images.
    FormDestHooks identity;
    identity.destObj = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj) { return obj; };
    identity.destForm = identity.destObj;
    identity.destRub = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj, int16_t* table, int16_t* field) {
        auto* owner = dynamic_cast<TFileObjQz*>(obj->GetOwnerObj());
        *table = owner ? owner->tableNumber : int16_t(0);
        *field = obj->id;
        return obj;
    };
    SetFormDestHooks(identity);
    platform::Handle linked = platform::NewHandle(0);
    int copyFailures = 0;
    const double copyingForms = bench::MedianMs(5, [&] {
        for (int n = 0; n < forms; ++n) {
            std::vector<int16_t> moved;
            copyFailures += CopyIFFLayOut(handles[size_t(n)], rewritten) != 0;
            copyFailures += MoveIFFFormObject(rewritten, nullptr, nullptr, NumberedMover, &moved) != 0;
        }
    });
    // The links of each copy rewritten (the copies' images as the move
    // leaves them are the forms' own: the mover changes no length).
    const double linkingForms = bench::MedianMs(5, [&] {
        for (int n = 0; n < forms; ++n)
            copyFailures +=
                ParseLinkIFFForm(handles[size_t(n)], linked, layouts[size_t(n)], layouts[size_t(n)], nullptr) != 0;
    });
    platform::DisposeHandle(linked);
    platform::DisposeHandle(rewritten);
    int32_t links = 0;
    for (TLayoutObjQz* l : layouts) links += l->uses ? l->uses->Size() : 0;
    std::printf("form_bench: %d forms of %d objects, %zu bytes, %d links recorded, %d failed walks\n", forms,
                kObjects + 2 * kWithAttributes, total, int(links), failures);
    std::printf("  ParseIFFForm          %9.2f ms\n", ours);
    std::printf("  chunk headers + copy  %9.2f ms  (%zu bytes copied)\n", peer, copied);
    std::printf("  ratio                 %9.2f\n", peer > 0 ? ours / peer : 0.0);
    std::printf("  GetFormQz             %9.2f ms  ratio %6.2f  (%d failed)\n", reading, peer > 0 ? reading / peer : 0.0,
                readFailures);
    std::printf("  PackFormat            %9.2f ms  ratio %6.2f  (%d failed)\n", writing, peer > 0 ? writing / peer : 0.0,
                writeFailures);
    std::printf("  SearchTxtIFF          %9.2f ms  (%d found)\n", searching, found);
    std::printf("  memmem                %9.2f ms  (%zu found)  ratio %6.2f\n", scanning, memmemHits,
                scanning > 0 ? searching / scanning : 0.0);
    std::printf("  ReplaceTxtIFF         %9.2f ms  (%d failed)\n", replacing, replaceFailures);
    std::printf("  copying the images    %9.2f ms  ratio %6.2f\n", copyingImages,
                copyingImages > 0 ? replacing / copyingImages : 0.0);
    std::printf("  CopyIFFLayOut + MoveIFFFormObject %9.2f ms  ratio %6.2f to copying the images\n", copyingForms,
                copyingImages > 0 ? copyingForms / copyingImages : 0.0);
    std::printf("  ParseLinkIFFForm      %9.2f ms  ratio %6.2f\n", linkingForms,
                copyingImages > 0 ? linkingForms / copyingImages : 0.0);
    std::printf("  a form's whole copy   %9.2f ms  (%d failed)  ratio %6.2f to copying the images\n",
                copyingForms + linkingForms, copyFailures,
                copyingImages > 0 ? (copyingForms + linkingForms) / copyingImages : 0.0);
    ChainedLoads(&readFailures);
    for (platform::Handle h : handles) platform::DisposeHandle(h);
    DisposeTypeList(doc.fTypeList);
    ResetResManager();
    std::string rm = std::string("rm -rf ") + folder;
    return std::system(rm.c_str()) == 0 && failures == 0 && readFailures == 0 && writeFailures == 0 &&
                   replaceFailures == 0 && copyFailures == 0 && found == 0
               ? 0
               : 1;
}
