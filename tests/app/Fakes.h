// Test doubles of the objects the spine drives: an application that
// records its commands, a document and a window that record their calls.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "app/appl/AppObjects.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/TAppl.h"
#include "platform/core/Clock.h"
#include "platform/windows/Windows.h"

namespace apptest {

class RecordingAppl : public TAppl {
public:
    int16_t Dispatch_Func(int16_t command, int16_t index) override
    {
        dispatched.emplace_back(command, index);
        return TAppl::Dispatch_Func(command, index);
    }
    int16_t Do_If_MyFunc(int16_t command) override
    {
        commands.push_back(command);
        suspendedAt.push_back(fSuspended);
        if (auto it = handlers.find(command); it != handlers.end()) return it->second();
        return TAppl::Do_If_MyFunc(command);
    }
    bool CheckMemory(int32_t need) override
    {
        memoryChecks.emplace_back(need, platform::TickCount());
        return TAppl::CheckMemory(need);
    }
    int16_t OpenMainDoc() override
    {
        ++opens;
        return 0;
    }

    std::vector<std::pair<int16_t, int16_t>> dispatched;
    std::vector<int16_t> commands;
    std::vector<bool> suspendedAt;
    std::vector<std::pair<int32_t, uint32_t>> memoryChecks;
    std::map<int16_t, std::function<int16_t()>> handlers;
    int opens = 0;
};

class FakeDoc : public TDocument {
public:
    explicit FakeDoc(int16_t classNumber = 2) : classNumber_(classNumber) {}
    bool IsMember(int16_t n) const override { return n == classNumber_ || n == 0 || (classNumber_ == 3 && n == 2); }
    int16_t Do_Func(int16_t command) override
    {
        funcs.push_back(command);
        if (command == 4) {
            if (refuseClose) return 1001;
            if (MyAppl) MyAppl->RemoveDoc(this);
            return 0;
        }
        return -1;
    }
    void IdleDoc() override
    {
        idles.push_back(platform::TickCount());
        if (onIdle) onIdle();
    }
    std::vector<int16_t> funcs;
    std::vector<uint32_t> idles;
    std::function<void()> onIdle;
    bool refuseClose = false;

private:
    int16_t classNumber_;
};

class FakeWindow : public TWindow {
public:
    explicit FakeWindow(int16_t classNumber = 2, bool visible = true) : classNumber_(classNumber)
    {
        const platform::Rect r{60, 20, 260, 320};
        const unsigned char title[] = {4, 'T', 'e', 's', 't'};
        fWindow = platform::NewCWindow(nullptr, &r, title, visible, 0, reinterpret_cast<platform::WindowRef>(-1),
                                       true, reinterpret_cast<uintptr_t>(this));
        platform::SetWindowKind(fWindow, 8);
    }
    ~FakeWindow() override
    {
        if (fWindow) platform::DisposeWindow(fWindow);
    }
    bool IsMember(int16_t n) const override { return n == classNumber_ || n == 0; }
    void key(const platform::EventRecord& event) override { keys.push_back(event); }
    void update(const platform::EventRecord&) override { ++updates; }
    int16_t Do_Func(int16_t command) override
    {
        funcs.push_back(command);
        return -1;
    }
    int16_t GetDragObj(TPlan* pane) override
    {
        drops.push_back(pane);
        return 0;
    }
    std::vector<platform::EventRecord> keys;
    std::vector<int16_t> funcs;
    std::vector<TPlan*> drops;
    int updates = 0;

private:
    int16_t classNumber_;
};

}  // namespace apptest
