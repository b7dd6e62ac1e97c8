// Menus for the menu tests: 'XMNU' bytes written field by field, commands of
// our own behind the menus' table of procedures, and a resource file.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/drawing/MenuLinks.h"
#include "toolbox/drawing/VMacResFile.h"
#include "toolbox/foundation/VArrayValue.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VValue.h"

namespace menutest {

struct XItem {
    std::string title;
    std::string kind = "TEXT";
    int32_t command = 0;
    uint8_t flags = 0;
    int16_t argument = 0;
    int16_t icon = 0;
};

inline uint32_t Code(const std::string& s)
{
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) | (uint32_t(uint8_t(s[2])) << 8) |
           uint8_t(s[3]);
}

inline void Put16(std::vector<uint8_t>& b, int32_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}
inline void Put32(std::vector<uint8_t>& b, int32_t v)
{
    Put16(b, v >> 16);
    Put16(b, v & 0xFFFF);
}
inline void PutTitle(std::vector<uint8_t>& b, const std::string& s)
{
    std::vector<uint8_t> field(32, 0);
    field[0] = uint8_t(std::min<size_t>(s.size(), 31));
    for (size_t i = 0; i < field[0]; ++i) field[1 + i] = uint8_t(s[i]);
    b.insert(b.end(), field.begin(), field.end());
}

// count < 0: the number of items given.
inline std::vector<uint8_t> Xmnu(const std::string& title, int32_t command, const std::vector<XItem>& items,
                                 int32_t count = -1)
{
    std::vector<uint8_t> b;
    PutTitle(b, title);
    Put32(b, command);
    Put16(b, count < 0 ? int32_t(items.size()) : count);
    for (const XItem& it : items) {
        PutTitle(b, it.title);
        Put16(b, it.icon);
        Put16(b, 0);
        Put32(b, it.command);
        Put32(b, int32_t(Code(it.kind)));
        b.push_back(it.flags);
        b.push_back(0);
        Put16(b, it.argument);
    }
    return b;
}

// Commands of our own: number, enabled state, value, group and listeners.
struct FakeCommand {
    int32_t number = 0;
    bool enabled = true;
    std::unique_ptr<VValue> value;
    VArrayValue* choices = nullptr;  // not owned
    int32_t group = 0;
    int32_t listening = 0;
    int32_t sets = 0;
    MenuShortcut shortcut;
    bool hasShortcut = false;
};

struct Sent {
    int32_t number;
    intptr_t argument;
};

class Commands {
public:
    Commands() { Install(); }
    ~Commands() { SetMenuCommandHooks(MenuCommandHooks{}); }

    FakeCommand& Add(int32_t number)
    {
        FakeCommand& c = commands_[number];
        c.number = number;
        return c;
    }
    FakeCommand& Get(int32_t number) { return commands_.at(number); }
    VCommand* Ref(int32_t number) { return reinterpret_cast<VCommand*>(&commands_.at(number)); }
    // The owner frame of the menus: only ever passed back to us.
    VFrame* Owner() { return reinterpret_cast<VFrame*>(this); }
    std::vector<Sent> sent;

private:
    static Commands* Self(VFrame* f) { return reinterpret_cast<Commands*>(f); }
    static FakeCommand* C(const VCommand* c) { return reinterpret_cast<FakeCommand*>(const_cast<VCommand*>(c)); }
    VCommand* Find(int32_t n)
    {
        auto it = commands_.find(n);
        return it == commands_.end() ? nullptr : reinterpret_cast<VCommand*>(&it->second);
    }
    void Install()
    {
        MenuCommandHooks h;
        h.frameFindCommand = [](VFrame* f, int32_t n) { return Self(f)->Find(n); };
        h.frameFindShortcut = [](VFrame* f, int32_t n, MenuShortcut& out) {
            VCommand* c = Self(f)->Find(n);
            if (!c || !C(c)->hasShortcut) return false;
            out = C(c)->shortcut;
            return true;
        };
        h.frameDoCommand = [](VFrame* f, VObject*, int32_t n, intptr_t a) -> intptr_t {
            Self(f)->sent.push_back({n, a});
            return 1;
        };
        h.commandNumber = [](const VCommand* c) { return C(c)->number; };
        h.commandEnabled = [](const VCommand* c) { return C(c)->enabled; };
        h.commandValue = [](const VCommand* c) { return C(c)->value.get(); };
        h.commandChoices = [](const VCommand* c) { return C(c)->choices; };
        h.commandGroup = [](const VCommand* c) -> VCommand* {
            FakeCommand* f = C(c);
            if (f->group == 0 || gSelf == nullptr) return nullptr;
            return gSelf->Find(f->group);
        };
        h.commandSetValue = [](VCommand* c, VValue* v, bool adopt) {
            FakeCommand* f = C(c);
            ++f->sets;
            if (v == f->value.get()) return;
            f->value.reset(adopt ? v : v->Clone());
        };
        h.commandListen = [](VCommand* c, VMenu*, bool on) { C(c)->listening += on ? 1 : -1; };
        gSelf = this;
        SetMenuCommandHooks(h);
    }
    std::map<int32_t, FakeCommand> commands_;
    static inline Commands* gSelf = nullptr;
};

// A resource file in memory below every other.
class ResFile {
public:
    explicit ResFile(const std::vector<platform::ResourceImage>& resources)
    {
        platform::ResourceFileImage image;
        image.resources = resources;
        ref_ = platform::OpenResFileImageBelow(image);
        EXPECT_GT(ref_, 0);
        file_ = std::make_unique<VMacResFile>(ref_);
    }
    VMacResFile* get() { return file_.get(); }

private:
    int16_t ref_ = 0;
    std::unique_ptr<VMacResFile> file_;
};

inline platform::ResourceImage Res(const std::string& type, int16_t id, std::vector<uint8_t> data)
{
    return {Code(type), id, false, "", 0, std::move(data)};
}

inline std::string Text(const VString& s)
{
    uint8_t p[256];
    s.ToPString(p, 255, kCharSetMac);
    return std::string(reinterpret_cast<const char*>(p) + 1, p[0]);
}

}  // namespace menutest
