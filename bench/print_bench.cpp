// Printing beside Cairo: 50 pages of 60 text lines and 200 shapes printed
// through page ports (recorded as pictures, played onto PDF pages), then
// the same job with a 72-dpi PNG of every page, then Cairo drawing the
// same primitives straight onto a PDF surface. Prints milliseconds per
// page and the ratios (ours / Cairo alone). Then a small picture whose bit
// image claims a source rectangle of 32,000 pixels a side (a damaged or
// hostile picture: the fuzzed case of the page player) played onto a page
// and into a world, beside the same picture with its own source rectangle:
// the work must be that of what lands on the page.
#include <cairo-ft.h>
#include <cairo-pdf.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/FontFiles.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"
#include "platform/printing/PagePlayer.h"
#include "platform/printing/Printing.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr int kPages = 50, kLines = 60, kShapes = 200;
const char kLine[] = "Table Customers: field Name, alpha 40, indexed, unique";

Rect ShapeRect(int i)
{
    int16_t x = int16_t((i * 37) % 500), y = int16_t((i * 53) % 700);
    return Rect{y, x, int16_t(y + 10 + i % 30), int16_t(x + 12 + i % 50)};
}

void DrawPage()
{
    TextFont(kFontIDTimes);
    TextSize(10);
    for (int l = 0; l < kLines; ++l) {
        MoveTo(10, int16_t(12 + l * 12));
        DrawText(kLine, 0, int16_t(sizeof kLine - 1));
    }
    for (int i = 0; i < kShapes; ++i) {
        Rect r = ShapeRect(i);
        switch (i % 4) {
        case 0: FrameRect(&r); break;
        case 1: FrameOval(&r); break;
        case 2: PaintRect(&r); break;
        default:
            MoveTo(r.left, r.top);
            LineTo(r.right, r.bottom);
            break;
        }
    }
}

// The job's time in ms; -1 when it failed (said).
double PrintJob(const std::string& pdf, const std::string& pngPrefix)
{
    PMPrintSession session;
    PMPrintSettings settings;
    PMPageFormat format;
    PMCreateSession(&session);
    PMCreatePrintSettings(&settings);
    PMCreatePageFormat(&format);
    PMSessionDefaultPrintSettings(session, settings);
    PMSessionDefaultPageFormat(session, format);
    PMSessionSetDestination(session, settings, kPMDestinationFile, kPMDocumentFormatPDF, pdf);
    if (!pngPrefix.empty())
        PMSessionSetPageImages(session, pngPrefix, 72);
    auto start = std::chrono::steady_clock::now();
    PMSessionBeginDocument(session, settings, format);
    for (int p = 0; p < kPages; ++p) {
        PMSessionBeginPage(session, format, nullptr);
        void* port = nullptr;
        PMSessionGetGraphicsContext(session, kPMGraphicsContextQuickDraw, &port);
        GrafPtr saved;
        GetPort(&saved);
        SetPort(static_cast<GrafPtr>(port));
        DrawPage();
        SetPort(saved);
        PMSessionEndPage(session);
    }
    OSStatus err = PMSessionEndDocument(session);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (err)
        std::fprintf(stderr, "print_bench: the job failed (%d)\n", int(err));
    PMRelease(format);
    PMRelease(settings);
    PMRelease(session);
    return err ? -1 : ms;
}

// The same primitives straight onto a PDF surface, in the same face.
double CairoJob(const std::string& pdf)
{
    // A face of its own from the same file, as the page player has.
    FaceChoice face = ChooseFace(ResolveFontFamily(kFontIDTimes).file, false, false);
    FT_Library library = nullptr;
    FT_Face own = nullptr;
    FT_Init_FreeType(&library);
    FT_New_Face(library, FaceFilePath(face.face).c_str(), 0, &own);
    cairo_font_face_t* cface = cairo_ft_font_face_create_for_ft_face(own, 0);
    auto start = std::chrono::steady_clock::now();
    cairo_surface_t* surface = cairo_pdf_surface_create(pdf.c_str(), 612, 792);
    for (int p = 0; p < kPages; ++p) {
        cairo_t* cr = cairo_create(surface);
        cairo_translate(cr, 18, 18);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_font_face(cr, cface);
        cairo_set_font_size(cr, 10);
        for (int l = 0; l < kLines; ++l) {
            cairo_move_to(cr, 10, 12 + l * 12);
            cairo_show_text(cr, kLine);
        }
        for (int i = 0; i < kShapes; ++i) {
            Rect r = ShapeRect(i);
            double w = r.right - r.left, h = r.bottom - r.top;
            switch (i % 4) {
            case 0:
                cairo_rectangle(cr, r.left, r.top, w, h);
                cairo_rectangle(cr, r.left + 1, r.top + 1, w - 2, h - 2);
                cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
                cairo_fill(cr);
                break;
            case 1:
                cairo_save(cr);
                cairo_translate(cr, r.left + w / 2, r.top + h / 2);
                cairo_scale(cr, w / 2, h / 2);
                cairo_arc(cr, 0, 0, 1, 0, 6.283185307179586);
                cairo_restore(cr);
                cairo_set_line_width(cr, 1);
                cairo_stroke(cr);
                break;
            case 2:
                cairo_rectangle(cr, r.left, r.top, w, h);
                cairo_fill(cr);
                break;
            default:
                cairo_move_to(cr, r.left + 0.5, r.top + 0.5);
                cairo_line_to(cr, r.right + 0.5, r.bottom + 0.5);
                cairo_stroke(cr);
                break;
            }
        }
        cairo_show_page(cr);
        cairo_destroy(cr);
    }
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cairo_font_face_destroy(cface);
    FT_Done_Face(own);
    FT_Done_FreeType(library);
    return ms;
}

}  // namespace

// A picture of 64 x 48 with one 32-bit bit image of 28 x 18 pixels at
// (2, 2), its source and destination rectangles as given.
Handle BitImagePicture(Rect src, Rect dst)
{
    std::vector<uint8_t> b;
    auto w16 = [&](uint32_t v) { b.push_back(uint8_t(v >> 8)), b.push_back(uint8_t(v)); };
    auto rect = [&](Rect r) { w16(uint16_t(r.top)), w16(uint16_t(r.left)), w16(uint16_t(r.bottom)), w16(uint16_t(r.right)); };
    w16(0), rect(Rect{0, 0, 48, 64}), w16(0x0011), w16(0x02FF), w16(0x0C00);
    w16(0xFFFF), w16(0xFFFF);
    for (uint32_t v : {0u, 0u, 64u << 16, 48u << 16, 0u}) w16(v >> 16), w16(v);
    w16(0x009A), w16(0), w16(0xFF);             // DirectBitsRect, base address
    w16(0x8000 | 112), rect(Rect{2, 2, 20, 30});  // rowBytes, bounds
    w16(0), w16(1), w16(0), w16(0), w16(72), w16(0), w16(72), w16(0);  // version, packType 1, sizes, resolutions
    w16(16), w16(32), w16(3), w16(8);           // pixel type, size, components
    for (int i = 0; i < 6; ++i) w16(0);
    rect(src), rect(dst), w16(0);
    for (int i = 0; i < 18 * 28; ++i) w16(0x00FF), w16(uint32_t(i * 2654435761u));
    w16(0x00FF);
    WriteBE16(b.data(), uint16_t(b.size()));
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}

// Milliseconds to play the picture onto a PDF page and into a world.
void PlayHostile(Handle picture, const std::string& path, double* onPage, double* inWorld)
{
    const Rect page{0, 0, 48, 64};
    *onPage = bench::MedianMs(5, [&] {
        cairo_surface_t* pdf = cairo_pdf_surface_create(path.c_str(), 64, 48);
        cairo_t* cr = cairo_create(pdf);
        PlayPageOnCairo(cr, picture, page);
        cairo_destroy(cr);
        cairo_surface_destroy(pdf);
    });
    GWorldPtr world = nullptr;
    NewGWorld(&world, 32, &page, nullptr, nullptr, 0);
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    *inWorld = bench::MedianMs(5, [&] { DrawPicture(picture, &page); });
    if (QDError() != noErr)
        std::printf("  (the picture did not play: %d)\n", int(QDError()));
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);
}

int main()
{
    if (InitFonts() != noErr) {
        std::fprintf(stderr, "print_bench: %s\n", FontStartupMessage());
        return 1;
    }
    fs::path dir = fs::temp_directory_path() / "qz_print_bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    // A first small run warms the font and glyph caches for every side.
    CairoJob((dir / "warm.pdf").string());
    double pdf = PrintJob((dir / "ours.pdf").string(), "");
    double withPng = PrintJob((dir / "ours-png.pdf").string(), (dir / "page-").string());
    double cairo = CairoJob((dir / "cairo.pdf").string());
    if (pdf < 0 || withPng < 0) {
        fs::remove_all(dir);
        return 1;
    }
    std::printf("print_bench: %d pages of %d text lines and %d shapes\n", kPages, kLines, kShapes);
    std::printf("  page ports to PDF:          %8.2f ms/page\n", pdf / kPages);
    std::printf("  page ports to PDF and PNG:  %8.2f ms/page\n", withPng / kPages);
    std::printf("  Cairo straight to PDF:      %8.2f ms/page\n", cairo / kPages);
    std::printf("  ratio PDF / Cairo:          %8.2f\n", pdf / cairo);
    std::printf("  ratio PDF+PNG / Cairo:      %8.2f\n", withPng / cairo);

    Handle own = BitImagePicture(Rect{2, 2, 20, 30}, Rect{2, 2, 20, 30});
    Handle huge = BitImagePicture(Rect{-16000, -16000, 16000, 16000}, Rect{-16000, -16000, 16000, 16000});
    double ownPage = 0, ownWorld = 0, hugePage = 0, hugeWorld = 0;
    PlayHostile(own, (dir / "own.pdf").string(), &ownPage, &ownWorld);
    PlayHostile(huge, (dir / "huge.pdf").string(), &hugePage, &hugeWorld);
    std::printf("a bit image claiming a 32,000-pixel source (%d bytes) beside its own source rectangle\n",
                int(GetHandleSize(huge)));
    std::printf("  onto a PDF page:  %8.3f ms  own %8.3f ms  ratio %6.2f\n", hugePage, ownPage, hugePage / ownPage);
    std::printf("  into a world:     %8.3f ms  own %8.3f ms  ratio %6.2f\n", hugeWorld, ownWorld, hugeWorld / ownWorld);
    DisposeHandle(own);
    DisposeHandle(huge);
    fs::remove_all(dir);
    return 0;
}
