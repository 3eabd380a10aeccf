#include "app/Accelerators_win.h"

#include "platform/Window_win.h"
#include "resources/resource.h"

namespace qx {
namespace {

// One builder window per program, so one hook and one table at a time.
const BuilderAccelerators* active = nullptr;

}  // namespace

BuilderAccelerators::BuilderAccelerators(HWND window)
    : window_(window), table_(LoadAcceleratorsA(ModuleInstance(), MAKEINTRESOURCEA(IDR_ACCELERATORS))) {
    hook_ = SetWindowsHookExA(WH_MSGFILTER, &BuilderAccelerators::FilterHook, nullptr, GetCurrentThreadId());
    active = this;
}

BuilderAccelerators::~BuilderAccelerators() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (active == this) active = nullptr;
}

bool BuilderAccelerators::Translate(MSG& message) const {
    if (!table_ || !window_) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    return TranslateAcceleratorA(window_, table_, &message) != 0;
}

LRESULT CALLBACK BuilderAccelerators::FilterHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && active && active->Translate(*reinterpret_cast<MSG*>(lParam))) return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace qx
