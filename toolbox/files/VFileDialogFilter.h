// What the open-file dialog shows and answers: its texts, position, up to
// two extra buttons, options and the file filters of its type popup.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "toolbox/files/VFileFilter.h"
#include "toolbox/foundation/VObject.h"
#include "toolbox/foundation/VStr.h"

class VArrayLong;
class VArrayString;
class VFolder;

namespace platform {
struct WindowRecord;
}

class VFileDialogFilter : public VObject, public VExtensionMapping {
public:
    VFileDialogFilter();
    ~VFileDialogFilter() override;
    VFileDialogFilter(const VFileDialogFilter&) = delete;
    VFileDialogFilter& operator=(const VFileDialogFilter&) = delete;

    // The dialog filter owns the filter from now on.
    void AddFileFilter(VFileFilter* filter);
    int16_t GetFileFilterCount() const { return int16_t(fFilters.size()); }
    // 1-based; null outside the range.
    VFileFilter* GetFileFilter(int16_t n) const;

    void SetEditBox(const VString& text) { fEditBox.FromVString(text); }
    const VString& GetEditBox() const { return fEditBox; }
    void SetMessage(const VString& text) { fMessage.FromVString(text); }
    const VString& GetMessage() const { return fMessage; }
    void SetTitle(const VString& text) { fTitle.FromVString(text); }
    const VString& GetTitle() const { return fTitle; }

    void SetPos(int16_t h, int16_t v) { fPosH = h; fPosV = v; }
    void GetPos(int16_t& h, int16_t& v) const { h = fPosH; v = fPosV; }

    // 1-based index of the popup entry first selected.
    void SetInitialFilter(int16_t n) { fInitialFilter = n; }
    int16_t GetInitialFilter() const { return fInitialFilter; }
    // The entry the user chose; 0 stands for all the filters together.
    void SetCurrentFilter(int16_t n) { fCurrentFilter = n; }
    int16_t GetCurrentFilter() const { return fCurrentFilter; }

    // Extra buttons 1 and 2: a title makes the button, null removes it.
    void SetCustomButton(int16_t n, const VString* title);
    // Whether that button exists; its title is copied when it does.
    bool GetCustomButton(int16_t n, VString& title) const;
    bool HasCustomButton(int16_t n) const;
    void SetChosenCustomButton(int16_t n) { fChosenButton = n; }
    int16_t GetChosenCustomButton() const { return fChosenButton; }

    // Toolbox kinds whose files are also told by their extension.
    void AddMappedExtensionKind(uint32_t kind) { fMappedKinds.push_back(kind); }
    bool IsExtensionMappingNeeded() const override;
    bool IsKindForMappedExtension(uint32_t kind) const override;

    void SetParentWindow(platform::WindowRecord* window) { fParent = window; }
    platform::WindowRecord* GetParentWindow() const { return fParent; }
    void SetPreferenceKey(uint32_t key) { fPreferenceKey = key; }
    uint32_t GetPreferenceKey() const { return fPreferenceKey; }

    // The folder the dialog opens in (copied); null for the usual one.
    void SetStartFolder(const VFolder* folder);
    VFolder* GetStartFolder() const { return fStartFolder.get(); }

    bool fTranslationAllowed = false;
    bool fAllowPreviews = false;
    bool fMapEveryExtension = false;
    bool fDontResolveAliases = false;
    bool fAllowOpeningPackages = false;
    bool fSelectAllReadable = false;
    bool fAllowMultipleFiles = false;
    bool fHideTypePopupForOneFilter = true;
    bool fSupportPackages = false;

    // Called once at toolbox start-up; the dialog needs nothing prepared.
    static void Init();

private:
    int16_t fPosH = -1;
    int16_t fPosV = -1;
    VStr<255> fMessage;
    VStr<255> fTitle;
    VStr<255> fEditBox;
    std::vector<std::unique_ptr<VFileFilter>> fFilters;
    int16_t fInitialFilter = 1;
    int16_t fCurrentFilter = 0;
    int16_t fChosenButton = 0;
    std::unique_ptr<VStr<255>> fButtonTitles[2];
    std::vector<uint32_t> fMappedKinds;
    platform::WindowRecord* fParent = nullptr;
    uint32_t fPreferenceKey = 0;
    std::unique_ptr<VFolder> fStartFolder;
};

// How the kinds given to VGetFileDialogFilter are read.
enum KindPlatform : int16_t { kKindPlatformMac = 0, kKindPlatformWindows = 1, kKindPlatformToolbox = 2 };

// A dialog filter of one popup entry per name, each letting through the
// kind at the same index. Kinds the system does not know are registered
// for the dialog's life and removed when it is destroyed.
class VGetFileDialogFilter : public VFileDialogFilter {
public:
    // One filter per name (1-based arrays); a missing kind counts as 0.
    VGetFileDialogFilter(const VArrayLong& kinds, const VArrayString& names, KindPlatform platform);
    ~VGetFileDialogFilter() override;

    const std::vector<uint32_t>& GetTemporaryKinds() const { return fTemporaryKinds; }

private:
    std::vector<uint32_t> fTemporaryKinds;
};
