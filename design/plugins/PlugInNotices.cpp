#include "design/plugins/PlugInNotices.h"

#include <new>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/dialogs/Messages.h"
#include "kernel/pstrings/PStrings.h"
#include "platform/files/MacNames.h"

namespace {

// 'STR#' 1040: the lead of the texts, what comes before a folder, and what
// comes around the name of a routine left out.
constexpr int16_t kUnreadText = 2, kRoutineText = 4;

// A plug-in passed over, or one of its routines left out.
using Unread = std::pair<std::string, std::string>;  // path, routine

std::set<Unread>& Met()
{
    static std::set<Unread> met;
    return met;
}

std::vector<Unread>& Untold()
{
    static std::vector<Unread> untold;
    return untold;
}

std::string Text(int16_t index)
{
    unsigned char text[256];
    MyGetIndString(text, 1040, index);
    return std::string(reinterpret_cast<const char*>(text + 1), text[0]);
}

}  // namespace

void NoteUnreadPlugIn(const std::string& path, const std::string& routine)
{
    try {
        if (Met().insert({path, routine}).second) Untold().emplace_back(path, routine);
    } catch (const std::bad_alloc&) {
        // Not named, as before: the plug-in is left out all the same.
    }
}

namespace {

constexpr size_t kAlertRoom = 255;

// The texts naming `unread`: the lead, then for each folder (in the order
// met) "In FOLDER: "a", "b" (its routine R)."; a text that would pass an
// alert's room goes on in the next, which starts with the lead again.
std::vector<std::string> Texts(const std::vector<Unread>& unread)
{
    const std::string lead = Text(kUnreadText), in = Text(kUnreadText + 1);
    std::vector<std::string> texts;
    std::string text, folder;
    for (const auto& [path, routine] : unread) {
        const size_t slash = path.rfind('/');
        const std::string folderPath = path.substr(0, slash == std::string::npos ? 0 : slash);
        std::string leaf = "\"" + platform::MacNameOf(path.substr(slash + 1)) + "\"";
        if (!routine.empty()) leaf += Text(kRoutineText) + routine + Text(kRoutineText + 1);
        // A deep folder is cut from its start, so that the text that opens
        // with it still names the plug-in and its routine.
        const int32_t room = int32_t(kAlertRoom) - int32_t(lead.size() + in.size() + leaf.size()) - 3;
        const std::string here = PathToFit(folderPath, room);
        const std::string sameFolder = ", " + leaf, newFolder = (text.empty() ? "" : ".") + in + here + ": " + leaf;
        const std::string& piece = !text.empty() && folderPath == folder ? sameFolder : newFolder;
        if (!text.empty() && text.size() + piece.size() + 1 > kAlertRoom) {
            texts.push_back(text + ".");
            text.clear();
        }
        if (text.empty()) text = lead + in + here + ": " + leaf;
        else text += piece;
        folder = folderPath;
    }
    if (!text.empty()) texts.push_back(text + ".");
    for (std::string& t : texts)
        if (t.size() > kAlertRoom) t = t.substr(0, kAlertRoom - 3) + "...";
    return texts;
}

}  // namespace

std::vector<std::string> TellUnreadPlugIns()
{
    std::vector<std::string> texts;
    try {
        texts = Texts(Untold());
    } catch (const std::bad_alloc&) {
        texts.clear();
    }
    Untold().clear();
    for (const std::string& said : texts) {
        unsigned char text[256];
        CToPStr(said.data(), int32_t(said.size()), text);
        XAlert(1000, text, kCautionAlert);
    }
    return texts;
}

void ResetPlugInNotices()
{
    Met().clear();
    Untold().clear();
}
