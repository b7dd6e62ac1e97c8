// Documents and pages.
#include <string>
#include <vector>

#include "toolbox/drawing/PrintInternal.h"

using namespace platform;
using namespace print_emulation;

MyPrintContextRecord* PrOpenDoc(THPrint record, MyPrintContextRecord*, void*)
{
    if (!record) {
        Note(paramErr);
        return nullptr;
    }
    return Guarded<MyPrintContextRecord*>(nullptr, [&]() -> MyPrintContextRecord* {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return nullptr;
        SessionState& s = Session();
        ApplyCustomPrinter(f);
        // A refused destination keeps its error: the document is not begun,
        // rather than sent somewhere the caller did not ask for.
        const bool destinationTaken = ApplyCustomDestination(f);
        Note(PMSessionSetDocumentFormatGeneration(s.session, kPMDocumentFormatDefault, {kPMGraphicsContextQuickDraw}));
        if (!destinationTaken) return nullptr;
        auto* context = new (std::nothrow) MyPrintContextRecord{};
        if (!context) {
            Note(memFullErr);
            return nullptr;
        }
        if (!s.documentOpen) {
            // A document that cannot begin (a folder that may not be
            // written) answers no context: its error stays the last one,
            // not hidden by the errors of pages that would follow.
            const OSStatus err = PMSessionBeginDocument(s.session, f.settings, f.pageFormat);
            Note(err);
            if (err != noErr) {
                delete context;
                return nullptr;
            }
            s.documentOpen = true;
        }
        return context;
    });
}

void PrOpenPage(MyPrintContextRecord* context, const platform::Rect* pageFrame)
{
    if (!context) {
        Note(paramErr);
        return;
    }
    SessionState& s = Session();
    PMRect frame{};
    if (pageFrame) frame = PMRect{double(pageFrame->top), double(pageFrame->left), double(pageFrame->bottom),
                                  double(pageFrame->right)};
    const OSStatus err = PMSessionBeginPage(s.session, nullptr, pageFrame ? &frame : nullptr);
    Note(err);
    if (err == noErr) s.pageOpen = true;
}

void PrClosePage(MyPrintContextRecord* context)
{
    if (!context) {
        Note(paramErr);
        return;
    }
    SessionState& s = Session();
    Note(PMSessionEndPage(s.session));
    s.pageOpen = false;
}

void PrCloseDoc(MyPrintContextRecord* context)
{
    if (!context) {
        Note(paramErr);
        return;
    }
    SessionState& s = Session();
    if (s.documentOpen) Note(PMSessionEndDocument(s.session));
    s.documentOpen = false;
    s.pageOpen = false;
    delete context;
}

CGrafPtr GetPrintContextPort(MyPrintContextRecord* context)
{
    if (!context) {
        Note(paramErr);
        return nullptr;
    }
    if (context->port) return context->port;
    SessionState& s = Session();
    if (!s.pageOpen || !s.session) return nullptr;
    void* port = nullptr;
    const OSStatus err = PMSessionGetGraphicsContext(s.session, kPMGraphicsContextDefault, &port);
    Note(err);
    return err == noErr ? static_cast<CGrafPtr>(port) : nullptr;
}
