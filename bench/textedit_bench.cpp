// Typing into the middle of a 30,000-character styled text, each key with
// the redraw of the lines it changed, beside laying out and drawing the
// whole text once: a key must cost far less than a full layout.
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/textedit/TextEdit.h"

using namespace platform;

namespace {

constexpr int kLength = 30000, kKeys = 1000;

std::string SampleText()
{
    static const char* words[] = {"table", "field", "form", "method", "index", "relation", "menu", "list"};
    std::string text;
    for (int i = 0; int32_t(text.size()) < kLength; ++i) {
        text += words[i % 8];
        text += (i % 23 == 22) ? '\r' : ' ';
    }
    text.resize(kLength);
    return text;
}

// A styled record over the text, with a bold or bigger run every 200
// characters.
TEHandle MakeRecord(const Rect& view, const std::string& text)
{
    TEHandle te = TEStyleNew(&view, &view);
    TESetText(text.data(), int32_t(text.size()), te);
    for (int32_t at = 0; at + 40 < kLength; at += 200) {
        TESetSelect(at, at + 40, te);
        TETextStyle s{};
        s.tsFace = bold;
        s.tsSize = 14;
        TESetStyle(at % 400 == 0 ? doFace : doSize, &s, false, te);
    }
    TECalText(te);
    return te;
}

double Seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

}  // namespace

int main()
{
    const std::string text = SampleText();
    Rect screen{0, 0, 600, 400};
    GWorldPtr window = nullptr;
    NewGWorld(&window, 32, &screen, nullptr, nullptr, 0);
    SetGWorld(window, nullptr);
    TextFont(1);
    TextSize(12);
    TEHandle te = MakeRecord(screen, text);
    TEActivate(te);
    TEAutoView(true, te);  // the view follows the caret to the middle
    TESetSelect(kLength / 2, kLength / 2, te);
    TEUpdate(&screen, te);

    // Keys in the middle of the text, each redrawing what changed.
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeys; ++i) TEKey(i % 9 == 8 ? ' ' : 'a' + i % 26, te);
    const double perKey = Seconds(start) / kKeys * 1e6;

    // The whole text laid out and drawn once, in a world tall enough for it.
    const int32_t height = TEGetHeight(32767, 1, te);
    Rect tall{0, 0, int16_t(std::min<int32_t>(height, 32000)), 400};
    GWorldPtr page = nullptr;
    NewGWorld(&page, 32, &tall, nullptr, nullptr, 0);
    SetGWorld(page, nullptr);
    TEHandle whole = MakeRecord(tall, text);
    const auto full = std::chrono::steady_clock::now();
    const int rounds = 5;
    for (int i = 0; i < rounds; ++i) {
        TECalText(whole);
        TEUpdate(&tall, whole);
    }
    const double fullLayout = Seconds(full) / rounds * 1e6;

    std::printf("textedit: %d keys mid-text of %d characters: %.1f us per key (with the redraw of its lines)\n",
                kKeys, kLength, perKey);
    std::printf("textedit: whole text laid out and drawn once (%d pixels high): %.1f us\n", height, fullLayout);
    std::printf("textedit: a full layout costs %.1f keys\n", fullLayout / perKey);
    TEDispose(te);
    TEDispose(whole);
    DisposeGWorld(page);
    DisposeGWorld(window);
    return 0;
}
