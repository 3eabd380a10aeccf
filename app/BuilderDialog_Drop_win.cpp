// Files dropped on the builder window: a gesture opens (after the question
// about unsaved changes); a picture dropped on the animation or palette
// button edit, or a sound on the audio edit, is taken as if chosen with
// that field's Browse button.
#include <windows.h>
#include <shellapi.h>

#include "app/BuilderDialog_win.h"
#include "base/TextCase.h"
#include "platform/Controls_win.h"

namespace qx {
namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    const std::string lower = LowerCase(text);
    const std::string tail = suffix;
    return lower.size() >= tail.size() && lower.compare(lower.size() - tail.size(), tail.size(), tail) == 0;
}

bool Under(HWND control, HWND parent, POINT client) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return PtInRect(&r, client) != FALSE;
}

}  // namespace

Handled BuilderDialog::OnDropFiles(WPARAM wParam, LPARAM) {
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    std::string path;
    POINT point{};
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
        path.resize(length + 1);
        DragQueryFileA(drop, 0, path.data(), length + 1);
        path.resize(length);
        DragQueryPoint(drop, &point);
    }
    DragFinish(drop);
    if (path.empty()) return {true, 0};

    if (EndsWith(path, ".qxm")) {
        if (!HasTempDirectory("Can not open a gesture.") || !ConfirmDiscard()) return {true, 0};
        const auto slash = path.find_last_of('\\');
        OpenGestureFile(path, slash == std::string::npos ? path : path.substr(slash + 1));
        return {true, 0};
    }
    HWND target = nullptr;
    if (EndsWith(path, ".gif")) {
        if (Under(controls.animationFile, hwnd(), point)) target = controls.animationFile;
        if (Under(controls.buttonImageFile, hwnd(), point)) target = controls.buttonImageFile;
    } else if (EndsWith(path, ".wav") && Under(controls.audioFile, hwnd(), point)) {
        target = controls.audioFile;
    }
    if (target) {
        SetText(target, path);
        model.dirty = 1;
        if (target != controls.audioFile) OfferPictureFix(target);
    }
    return {true, 0};
}

}  // namespace qx
