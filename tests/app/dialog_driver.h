// Drives a modal window from inside its own nested message loop: each step runs from a
// thread timer, one step per tick, so that whatever a step posts is processed by the loop
// before the next step looks. A prompt that outlives its steps is closed after a grace period
// and reported as a failure, so a broken loop cannot hang the test program.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

namespace dialog_driver_detail {
struct Script {
    const wchar_t* className = nullptr;
    std::vector<std::function<void(HWND)>> steps;
    size_t next = 0;
    int idleTicks = 0;
    UINT_PTR timer = 0;
    HWND window = nullptr; // claimed once it appears; nested prompts claim their own
    bool inStep = false;   // a step that runs a nested loop is not overtaken by the next
};
inline std::vector<Script*> activeScripts;

inline bool ClaimedByAnother(const Script* script, HWND window) {
    for (const Script* other : activeScripts) {
        if (other != script && other->window == window) {
            return true;
        }
    }
    return false;
}

struct Search {
    const Script* script;
    HWND found;
};

inline BOOL CALLBACK ConsiderWindow(HWND window, LPARAM parameter) {
    Search* search = reinterpret_cast<Search*>(parameter);
    wchar_t className[128] = L"";
    GetClassNameW(window, className, 128);
    if (lstrcmpW(className, search->script->className) == 0 &&
        !ClaimedByAnother(search->script, window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

inline void CALLBACK RunNextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    Script* script = nullptr;
    for (Script* candidate : activeScripts) {
        if (candidate->timer == timer) {
            script = candidate;
        }
    }
    if (script == nullptr || script->inStep) {
        return;
    }
    if (script->window == nullptr || !IsWindow(script->window)) {
        Search search = {script, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), ConsiderWindow, reinterpret_cast<LPARAM>(&search));
        script->window = search.found;
    }
    HWND window = script->window;
    if (script->next < script->steps.size()) {
        if (window == nullptr) {
            return; // not created yet
        }
        std::function<void(HWND)> step = script->steps[script->next++];
        script->inStep = true;
        step(window);
        script->inStep = false;
        return;
    }
    if (window != nullptr && IsWindow(window) && ++script->idleTicks > 200) {
        ADD_FAILURE() << "the window stayed open after the last step";
        DestroyWindow(window);
    }
}
} // namespace dialog_driver_detail

// Runs `modal` (which opens a window of `className` and returns when it is gone) while the
// steps act on that window in order. Steps are not run re-entrantly: each one returns before
// the loop goes on.
class DialogDriver {
  public:
    DialogDriver(const wchar_t* className, std::vector<std::function<void(HWND)>> steps) {
        script_.className = className;
        script_.steps = std::move(steps);
    }
    template <typename Modal> void Run(Modal modal) {
        script_.timer = SetTimer(nullptr, 0, 15, dialog_driver_detail::RunNextStep);
        dialog_driver_detail::activeScripts.push_back(&script_);
        modal();
        KillTimer(nullptr, script_.timer);
        dialog_driver_detail::activeScripts.pop_back();
    }
    // Every step ran.
    bool Finished() const {
        return script_.next == script_.steps.size();
    }

  private:
    dialog_driver_detail::Script script_;
};
