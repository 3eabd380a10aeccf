// The builder's keyboard shortcuts. The builder runs in the platform's modal
// dialog loop, which translates no accelerators; a message-filter hook on the
// thread gives each keystroke to the accelerator table first.
#pragma once

#include <windows.h>

namespace qx {

class BuilderAccelerators {
public:
    // Shortcuts reach `window` while this object lives.
    explicit BuilderAccelerators(HWND window);
    BuilderAccelerators(const BuilderAccelerators&) = delete;
    BuilderAccelerators& operator=(const BuilderAccelerators&) = delete;
    ~BuilderAccelerators();

    // Translates a keystroke meant for the window or one of its controls into
    // its command; true when it did.
    bool Translate(MSG& message) const;

private:
    static LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam);

    HWND window_;
    HACCEL table_;
    HHOOK hook_ = nullptr;
};

}  // namespace qx
