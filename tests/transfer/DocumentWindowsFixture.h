// The demo opened by the application as the program opens it, in two
// browser windows, with every layer installed; and what a window shows
// (its lists' headers and rows, its preview) set beside what a fresh open
// of the document's files shows in the same state.
#pragma once

#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/appl/Menus.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "app/documents/DocHooks.h"
#include "app/documents/MainDoc.h"
#include "app/program/DocumentHooks.h"
#include "app/windows/TMainWindow.h"
#include "platform/drawing/Ports.h"
#include "browser/CallPanes.h"
#include "browser/Panes.h"
#include "design/links/XRef.h"
#include "design/objects/TransferHooks.h"
#include "forms/drawing/FormPreview.h"
#include "forms/drawing/StaticPictures.h"
#include "kernel/formhooks/FormServices.h"
#include "forms/model/LayoutEditor.h"
#include "looks/LookManager.h"
#include "platform/backends/Script.h"
#include "platform/core/Clock.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "resources/kernelaccess/KernelStoreAccess.h"
#include "tests/design/PrintedPages.h"
#include "tests/design/ReadFixture.h"
#include "tests/forms/DrawnPage.h"
#include "transfer/InstallTransfer.h"

namespace transfertest {

class DocumentWindows : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        InstallKernelStoreAccess();
        ASSERT_EQ(platform::InitScreen(1280, 800), 0);
        ASSERT_EQ(BuildMenus(), 0);
        OpenPrefResFile();
        ASSERT_NE(G_PrefResFile, -1);
        MakeAppl();
        appl_->fDefaultRect = DefaultWindowRect();
        InstallDocumentHooks();
        InstallFormModelHooks();
        InitVI();
        InstallStaticPictures();
        SetFormPreviewProc(FormPagePreview);
        browser::InstallBrowserPanes();
        transfer::InstallTransfer();
        for (const char* stem : {"Demo", "DemoTarget", "Reports-1"}) CopyBuilt(stem);
    }
    void TearDown() override
    {
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        appl_->fQuit = true;
        appl_->Close();
        ResetTransferHooks();
        ResetDocHooks();
        SetFormPreviewProc(nullptr);
        SetGetStaticPictProc(nullptr);
        ClosePrefResFile();
        DisposeMenus();
        ReadFixture::TearDown();
        platform::DisposeScreen();
    }

public:

    // The files of the document `stem` in `from` (its data, its companion
    // and their desktop entries), copied into `to`.
    static void CopyFiles(const std::filesystem::path& from, const std::string& stem, const std::filesystem::path& to)
    {
        namespace fs = std::filesystem;
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(from)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && (name.rfind(stem + ".", 0) == 0 || name.rfind("._" + stem + ".", 0) == 0))
                fs::copy_file(entry.path(), to / name, fs::copy_options::overwrite_existing);
        }
    }
    // The build's document and its companion, copied into `to`.
    void CopyBuilt(const std::string& stem, const std::filesystem::path& to = {})
    {
        CopyFiles(QZ_DEMO_DIR, stem, to.empty() ? std::filesystem::path(folder_.path()) : to);
    }
    // The files of the document at `path` copied into the folder `name`,
    // and that copy opened as the user opens it (null when it does not).
    TMainDoc* OpenCopy(const std::string& path, const std::string& name)
    {
        namespace fs = std::filesystem;
        const fs::path copies = fs::path(folder_.path()) / name, data(path);
        fs::remove_all(copies);
        CopyFiles(data.parent_path(), data.stem().string(), copies);
        return OpenDoc((copies / data.filename()).string());
    }
    std::string InFolder(const std::string& name) const { return (std::filesystem::path(folder_.path()) / name).string(); }

    // The document opened as the File menu's Open does.
    TMainDoc* OpenDoc(const std::string& path)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(path, &fileSpec);
        EXPECT_EQ(appl_->OpenNamedDoc(fileSpec, 0), 0) << ::LastAlert().text;
        for (TDocument* d = appl_->fDocList; d; d = d->fNext)
            if (d->fSpec.path == fileSpec.path) return static_cast<TMainDoc*>(d);
        return nullptr;
    }
    // The bytes of the document's data file and companion (once it is
    // closed too, by its data file's path).
    static std::vector<readtest::Bytes> FilesOf(TMainDoc* doc) { return FilesOf(doc->fSpec.path); }
    static std::vector<readtest::Bytes> FilesOf(const std::filesystem::path& data)
    {
        std::filesystem::path companion = data;
        companion.replace_extension("RSR");
        return {FileBytes(data.string()), FileBytes(companion.string())};
    }
    // Every resource of the document's companion, a line each (type, id,
    // name, bytes): as the program holds them, or as its file holds them.
    static std::string Companion(TMainDoc* doc, bool held)
    {
        std::map<std::pair<uint32_t, int16_t>, std::string> lines;
        auto line = [](uint32_t type, int16_t id, const std::string& name, const uint8_t* bytes, size_t size) {
            std::string out = std::to_string(type) + " " + std::to_string(id) + " " + name + ":";
            for (size_t i = 0; i < size; ++i) out += " " + std::to_string(bytes[i]);
            return out + "\n";
        };
        if (held) {
            const int16_t saved = platform::CurResFile();
            platform::UseResFile(doc->fRsrFile);
            for (int16_t t = 1; t <= platform::Count1Types(); ++t) {
                platform::ResType type = 0;
                platform::Get1IndType(&type, t);
                for (int16_t i = 1; i <= platform::Count1Resources(type); ++i) {
                    platform::Handle h = platform::Get1IndResource(type, i);
                    int16_t id = 0;
                    unsigned char name[256] = {};
                    platform::GetResInfo(h, &id, &type, name);
                    lines[{type, id}] = line(type, id, readtest::P(name), reinterpret_cast<uint8_t*>(*h),
                                             size_t(platform::GetHandleSize(h)));
                }
            }
            platform::UseResFile(saved);
        } else {
            std::filesystem::path path = doc->fSpec.path;
            const readtest::Bytes bytes = FileBytes(path.replace_extension("RSR").string());
            platform::ResourceFileImage image;
            EXPECT_EQ(platform::ParseResourceFile(bytes.data(), bytes.size(), &image), platform::noErr);
            for (const platform::ResourceImage& r : image.resources)
                lines[{r.type, r.id}] = line(r.type, r.id, r.name, r.data.data(), r.data.size());
        }
        std::string out;
        for (const auto& [key, text] : lines) out += text;
        return out;
    }
    bool IsOpen(TDocument* doc) const
    {
        for (TDocument* d = appl_->fDocList; d; d = d->fNext)
            if (d == doc) return true;
        return false;
    }
    // A copy of the build's document in two browser windows, the second
    // in front.
    TMainDoc* OpenInTwoWindows(const std::string& stem = "Demo")
    {
        TMainDoc* doc = OpenDoc(InFolder(stem + ".QzB"));
        if (doc) {
            EXPECT_EQ(appl_->Do_Func(40), 0);
        }
        return doc;
    }

    static std::vector<TRefWindow*> Windows(TMainDoc* doc)
    {
        std::vector<TRefWindow*> out;
        for (TWindow* w = doc ? doc->fFirstWindow : nullptr; w; w = w->fNextWindow)
            if (w->IsMember(3)) out.push_back(static_cast<TRefWindow*>(w));
        return out;
    }
    template <typename Pane>
    static Pane* PaneOf(TWindow* w, int16_t member)
    {
        for (TPlan* p = w ? w->fFirstPlane : nullptr; p; p = p->fNext)
            if (p->IsMember(member)) return dynamic_cast<Pane*>(p);
        return nullptr;
    }
    static browser::TLstPlane* Main(TWindow* w) { return PaneOf<browser::TLstPlane>(w, 2); }
    // The main list's view as the window holds it.
    static std::vector<uint32_t> ListPixels(TWindow* w)
    {
        const platform::Rect view = Main(w)->fList->rView;
        const platform::BitMap* bm = platform::GetPortBitMapForCopyBits(platform::GetWindowPort(w->fWindow));
        std::vector<uint32_t> px;
        for (int16_t v = view.top; v < view.bottom; ++v)
            for (int16_t h = view.left; h < view.right; ++h) {
                uint32_t p = 0;
                std::memcpy(&p,
                            reinterpret_cast<const uint8_t*>(bm->baseAddr) +
                                (v - bm->bounds.top) * (bm->rowBytes & platform::kRowBytesMask) +
                                (h - bm->bounds.left) * 4,
                            4);
                px.push_back(p & 0xFFFFFF);
            }
        return px;
    }
    static browser::TDisplayPlane* Preview(TWindow* w) { return PaneOf<browser::TDisplayPlane>(w, 6); }

    // An object by its kind and full name (and its id for menus, whose
    // names may repeat), the same in memory and read afresh.
    static std::string Key(TObjQz* obj)
    {
        unsigned char name[256];
        obj->GetFullName(name);
        const std::string id = obj->kind == 6 ? "#" + std::to_string(obj->id) : "";
        return std::to_string(obj->kind) + ":" + readtest::P(name) + id;
    }
    // A row as drawn: its depth, its disclosure state, its text.
    static std::string RowLine(browser::TRefPlane* pane, int32_t row)
    {
        auto* obj = static_cast<TObjQz*>(LongLRowObject(row, pane->fList));
        if (!obj) return "(none)";
        unsigned char prefix[256], text[256], shown[256];
        browser::RowText(obj, prefix, text);
        browser::DisplayText(obj, text, shown);
        const char* open = !obj->Openable() ? " " : IsOpenCell(row, pane->fList) ? "v" : ">";
        return std::string(obj->GetLevel(), '.') + open + readtest::P(prefix) + readtest::P(shown);
    }
    static std::vector<std::string> Rows(browser::TRefPlane* pane)
    {
        std::vector<std::string> out;
        unsigned char header[256];
        pane->HeaderText(header);
        out.push_back("[" + readtest::P(header) + "]");
        for (int32_t row = 0; row < pane->fList->rowCount; ++row) out.push_back(RowLine(pane, row));
        return out;
    }
    // Everything the window shows of the document, pane after pane, a
    // line each.
    static std::string Shown(TWindow* w)
    {
        std::string out;
        for (TPlan* p = w->fFirstPlane; p; p = p->fNext) {
            if (auto* list = dynamic_cast<browser::TRefPlane*>(p)) {
                for (const std::string& line : Rows(list)) out += line + "\n";
            } else if (auto* preview = dynamic_cast<browser::TDisplayPlane*>(p)) {
                unsigned char head[256];
                browser::DisplayHeadText(preview->fObj, head);
                out += "preview " + readtest::P(head) + "\n";
            }
        }
        return out;
    }

    // Every row of the list opened, depth after depth: each object of the
    // list once, by its key.
    static std::map<std::string, std::string> AllRows(browser::TLstPlane* main)
    {
        for (int32_t row = 0; row < main->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
            if (obj && obj->Openable() && !IsOpenCell(row, main->fList)) main->SwitchCellState(row);
        }
        std::map<std::string, std::string> out;
        for (int32_t row = 0; row < main->fList->rowCount; ++row)
            out.emplace(Key(static_cast<TObjQz*>(LongLRowObject(row, main->fList))), RowLine(main, row));
        return out;
    }

    // A fresh open of the document's files gives what the program holds:
    // the same uses graph and, unless `windowsToo` is false, each window
    // shows what the same window shows there: the same rows open and the
    // same object current (its links in the panes), the same object
    // previewed, and exports (with `printed`, prints) its list as there.
    // Rows kept or found are each the fresh document's object, as it shows.
    // With `files`, the document's files are those of that data file.
    void ExpectShowsItsFiles(TMainDoc* doc, const std::string& what, bool windowsToo = true, bool printed = false,
                             const std::string& files = {})
    {
        namespace fs = std::filesystem;
        TMainDoc* copy = OpenCopy(files.empty() ? doc->fSpec.path : files, "fresh");
        ASSERT_NE(copy, nullptr) << what;
        EXPECT_EQ(Graph(doc), Graph(copy)) << what;
        TRefWindow* freshWindow = Windows(copy).front();
        for (TRefWindow* w : windowsToo ? Windows(doc) : std::vector<TRefWindow*>{}) {
            browser::TLstPlane* main = Main(w);
            browser::TLstPlane* other = Main(freshWindow);
            ASSERT_TRUE(main && other) << what;
            // Each window is set beside the fresh one as it opened.
            other->RazAll(other->fSource, true);
            other->UpdateAll();
            SCOPED_TRACE(what);
            if (main->fFilter < 0) {
                // Kept or found rows: each is an object of the files.
                const std::map<std::string, std::string> all = AllRows(other);
                for (int32_t row = 0; row < main->fList->rowCount; ++row) {
                    auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
                    auto it = all.find(Key(obj));
                    ASSERT_NE(it, all.end()) << Key(obj);
                    EXPECT_EQ(RowLine(main, row).substr(RowLine(main, row).find_first_not_of('.') + 1),
                              it->second.substr(it->second.find_first_not_of('.') + 1));
                }
                continue;
            }
            other->SetDfltFilter(main->fFilter);
            for (int32_t row = 0; row < main->fList->rowCount; ++row) {
                if (!IsOpenCell(row, main->fList)) continue;
                const std::string key = Key(static_cast<TObjQz*>(LongLRowObject(row, main->fList)));
                for (int32_t at = 0; at < other->fList->rowCount; ++at)
                    if (Key(static_cast<TObjQz*>(LongLRowObject(at, other->fList))) == key &&
                        !IsOpenCell(at, other->fList)) {
                        other->SwitchCellState(at);
                        break;
                    }
            }
            if (TObjQz* current = main->CurrentObject()) {
                const std::string key = Key(current);
                for (int32_t at = 0; at < other->fList->rowCount; ++at)
                    if (Key(static_cast<TObjQz*>(LongLRowObject(at, other->fList))) == key) {
                        other->MoveCurrent(at);
                        break;
                    }
            }
            browser::TDisplayPlane* preview = Preview(w);
            if (preview && preview->fObj) {
                const std::string key = Key(preview->fObj);
                const std::map<std::string, TObjQz*> objects = ObjectsOf(other);
                auto it = objects.find(key);
                EXPECT_NE(it, objects.end()) << key;
                if (it != objects.end()) Preview(freshWindow)->SetObj(it->second);
            } else if (Preview(freshWindow)) {
                Preview(freshWindow)->SetObj(nullptr);
            }
            EXPECT_EQ(Shown(w), Shown(freshWindow));
            // Its list exported and printed as the fresh one is.
            const std::string out = (fs::path(folder_.path()) / "out").string();
            fs::remove_all(out);
            fs::create_directories(out);
            EXPECT_EQ(Exported(main, out + "/held.txt"), Exported(other, out + "/fresh.txt"));
            if (printed) {
                EXPECT_TRUE(Printed(main, out + "/held") == Printed(other, out + "/fresh"));
            }
        }
        EXPECT_EQ(copy->Close(), 0);
        fs::remove_all(fs::path(folder_.path()) / "fresh");
    }

    // What each object holds, the objects that use it and those it uses,
    // for every row of the list as Export List writes them, at one fixed
    // time.
    static std::string Exported(browser::TLstPlane* main, const std::string& path)
    {
        platform::VirtualClock clock;
        platform::SetClock(&clock);
        OutPutParmRec parms{1, 1, 1, 0, 0, 0};
        platform::FSSpec file;
        platform::FSMakeFSSpec(path, &file);
        EXPECT_EQ(main->ExportList(main->Doc(), file, &parms), 0);
        platform::SetClock(nullptr);
        const readtest::Bytes bytes = FileBytes(path);
        return std::string(bytes.begin(), bytes.end());
    }
    // The pages Print List draws of the list (each page's pixels), at one
    // fixed time.
    static std::vector<std::vector<uint32_t>> Printed(browser::TLstPlane* main, const std::string& prefix)
    {
        platform::ClearDialogAnswers();
        platform::ClearFileDialogAnswers();
        platform::VirtualClock clock;
        platform::SetClock(&clock);
        PrOpen();
        THPrint record = NewPrintRecord();
        PrintDefault(record);
        MyAppl->fPrintRecord = reinterpret_cast<platform::Handle>(record);
        EXPECT_EQ(platform::PMSessionSetPageImages(GetPrintSession(), prefix, 72), platform::kPMNoError);
        platform::PushDialogAnswer(1);
        platform::PushFileDialogAnswer(prefix + ".pdf");
        OutPutParmRec parms{1, 1, 1, 0, 0, 0};
        EXPECT_EQ(main->PrintList(main->Doc(), &parms), 0);
        EXPECT_EQ(platform::PMSessionSetPageImages(GetPrintSession(), "", 0), platform::kPMNoError);
        DisposePrintRecord(record);
        MyAppl->fPrintRecord = nullptr;
        PrClose();
        platform::SetClock(nullptr);
        std::vector<std::vector<uint32_t>> pages;
        for (int page = 1; std::filesystem::exists(prefix + std::to_string(page) + ".png"); ++page) {
            const readtest::PageImage image(prefix + std::to_string(page) + ".png");
            EXPECT_TRUE(image.ok);
            std::vector<uint32_t> pixels;
            for (int32_t v = 0; v < image.pixels.height(); ++v)
                for (int32_t h = 0; h < image.pixels.width(); ++h) pixels.push_back(image.At(h, v));
            pages.push_back(std::move(pixels));
        }
        return pages;
    }

    // The user's default choices ('C_PR' 0 of the test's own preferences): these
    // {code, choice} pairs.
    static void SetUserDefaults(const std::vector<std::pair<int16_t, int16_t>>& pairs)
    {
        readtest::Bytes bytes;
        for (const auto& [code, choice] : pairs)
            for (const int16_t v : {code, choice}) bytes.insert(bytes.end(), {uint8_t(uint16_t(v) >> 8), uint8_t(v)});
        const int16_t saved = platform::CurResFile();
        platform::UseResFile(G_PrefResFile);
        if (platform::Handle old = platform::Get1Resource(platform::FourCC("C_PR"), 0)) {
            platform::RemoveResource(old);
            platform::DisposeHandle(old);
        }
        platform::Handle h = nullptr;
        ASSERT_EQ(platform::PtrToHand(bytes.data(), &h, platform::Size(bytes.size())), 0);
        platform::AddResource(h, platform::FourCC("C_PR"), 0, nullptr);
        platform::UpdateResFile(G_PrefResFile);
        platform::UseResFile(saved);
    }

    // The first page of a form's preview, as the preview pane draws it.
    static std::vector<uint32_t> PreviewPixels(TObjQz* form)
    {
        const platform::Rect big{0, 0, 600, 600};
        platform::Handle display = nullptr;
        int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, number = 1;
        if (form->InitDisplay(&display, big, &width, &height, &pageMin, &pageMax, &number, false) != 0) return {};
        drawntest::Page page(600, 600);
        std::vector<uint32_t> drawn = page.Drawn([&] { form->Display(display, big); });
        form->DisposeDisplay(&display);
        return drawn;
    }

    // The document's uses graph: every object the document holds or its
    // links reach, by key, with its size and date and the objects it uses
    // and that use it, each list in the order windows show it.
    static std::string Graph(TMainDoc* doc)
    {
        std::map<std::string, TObjQz*> all;
        std::vector<TObjQz*> todo;
        auto visit = [&](ObjListHdl list, TObjQz* one = nullptr) {
            for (int32_t i = -1; i < (list ? list->Size() : 0); ++i)
                if (TObjQz* obj = i < 0 ? one : list->At(i); obj && all.emplace(Key(obj), obj).second) todo.push_back(obj);
        };
        for (int16_t k = 0; doc->fTypeList && k < 23; ++k) visit(doc->fTypeList->lists[k]);
        while (!todo.empty()) {
            TObjQz* obj = todo.back();
            todo.pop_back();
            for (ObjListHdl list : {obj->uses, obj->usedBy, obj->members}) visit(list);
            if (auto* table = dynamic_cast<TFileObjQz*>(obj)) visit(table->forms, table->method), visit(table->balloons);
            if (auto* form = dynamic_cast<TLayoutObjQz*>(obj)) visit(form->objMethods, form->formMethod);
            if (auto* method = dynamic_cast<TGnlProcObjQz*>(obj)) visit(method->locals);
        }
        auto keys = [](ObjListHdl links) {
            std::string text;
            const ShownLinks shown(links);
            for (int32_t i = 0; shown.get() && i < shown.get()->Size(); ++i) text += " " + Key(shown.get()->At(i));
            return text;
        };
        std::string out;
        for (const auto& [key, obj] : all)
            out += key + " " + std::to_string(obj->GetSize()) + " bytes, time " + std::to_string(obj->GetaTime()) +
                   "\n  uses" + keys(obj->uses) + "\n  used by" + keys(obj->usedBy) + "\n";
        return out;
    }

    // The objects of the list's rows, every row opened, by key.
    static std::map<std::string, TObjQz*> ObjectsOf(browser::TLstPlane* main)
    {
        AllRows(main);
        std::map<std::string, TObjQz*> out;
        for (int32_t row = 0; row < main->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
            out.emplace(Key(obj), obj);
        }
        return out;
    }

    // The global middle of a dialog's item where the dialog will open (with
    // `inset`, that far inside its top left corner instead).
    static platform::Point ItemPoint(int16_t dialog, int16_t item, int16_t inset = -1)
    {
        platform::Handle dlog = nullptr, bits = nullptr;
        platform::Rect r{};
        DLogSaveScreen(platform::FourCC("DLOG"), dialog, &dlog, &bits, &r);
        DLogRestoreScreen(dlog, bits, &r, false);
        platform::DialogRef d = MyGetNewDialog(dialog, nullptr, reinterpret_cast<platform::WindowRef>(-1));
        platform::DialogItemType type = 0;
        platform::Handle h = nullptr;
        platform::Rect box{};
        if (d) {
            platform::GetDialogItem(d, item, &type, &h, &box);
            platform::DisposeDialog(d);
        }
        if (inset >= 0) return platform::Point{int16_t(r.top + box.top + inset), int16_t(r.left + box.left + inset)};
        return platform::Point{int16_t(r.top + (box.top + box.bottom) / 2), int16_t(r.left + (box.left + box.right) / 2)};
    }
    // Texts to String List into the demo's list 15000, chosen in its
    // dialog: the alert that the list is there, then OK with its row; then
    // whatever `items` answer.
    static platform::Script TextsIntoList15000(const std::vector<int16_t>& items = {})
    {
        const platform::Point id = ItemPoint(261, 6), add = ItemPoint(261, 3);
        platform::Script s;
        s.Wait(5).Type("Texts").Click(id.h, id.v).Wait(2).Type("15000").Click(add.h, add.v).Wait(5);
        s.Choose(1).Wait(5).Choose(1).Wait(5);
        for (int16_t item : items) s.Choose(item).Wait(5);
        return s;
    }

    // The first row of the list showing the object of that kind and name.
    static int32_t RowOf(browser::TLstPlane* main, int16_t kind, const std::string& name)
    {
        for (int32_t row = 0; row < main->fList->rowCount; ++row) {
            auto* obj = static_cast<TObjQz*>(LongLRowObject(row, main->fList));
            if (obj && obj->kind == kind && readtest::P(obj->name) == name) return row;
        }
        return -1;
    }
    // Those rows selected alone, the first the current row.
    static void Select(browser::TLstPlane* main, const std::vector<std::pair<int16_t, std::string>>& objects)
    {
        bool first = true;
        for (const auto& [kind, name] : objects) {
            const int32_t row = RowOf(main, kind, name);
            ASSERT_GE(row, 0) << name;
            if (first) main->MoveCurrent(row);
            else LongLSetSelect(true, row, main->fList);
            first = false;
        }
    }
};

}  // namespace transfertest
