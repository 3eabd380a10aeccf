#include "platform/Seams_win.h"

#include <windows.h>
#include <commdlg.h>
#include <mmsystem.h>

#include "platform/FileDialogText.h"
#include "platform/Window_win.h"
#include "resources/resource.h"

namespace qx {
namespace {

class RealMessageBox final : public MessageBoxSeam {
public:
    int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) override {
        return MessageBoxA(owner, text.c_str(), caption.c_str(), type);
    }
};

class RealFileDialogs final : public FileDialogSeam {
public:
    std::optional<FileChoice> Ask(HWND owner, const FileDialogRequest& request) override {
        const std::string filter = DialogFilter(request.filter);
        char path[MAX_PATH] = "";
        char title[MAX_PATH] = "";
        request.fileName.copy(path, sizeof path - 1);
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = path;
        ofn.nMaxFile = sizeof path;
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof title;
        // The default extension is given without its dot.
        const std::string extension =
            request.defaultExtension.starts_with('.') ? request.defaultExtension.substr(1) : request.defaultExtension;
        ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        ofn.Flags = request.flags;
        const BOOL ok = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        if (!ok) return std::nullopt;
        return FileChoice{path, title};
    }
};

class RealSound final : public SoundSeam {
public:
    bool Play(const void* bytes, std::size_t) override {
        return sndPlaySoundA(static_cast<const char*>(bytes), SND_ASYNC | SND_NODEFAULT | SND_MEMORY) != FALSE;
    }
    void Stop() override { sndPlaySoundA(nullptr, SND_ASYNC); }
};

RealMessageBox realMessageBox;
RealFileDialogs realFileDialogs;
RealSound realSound;
MessageBoxSeam* messageBoxSeam = &realMessageBox;
FileDialogSeam* fileDialogSeam = &realFileDialogs;
SoundSeam* soundSeam = &realSound;

}  // namespace

void InstallMessageBoxSeam(MessageBoxSeam* seam) { messageBoxSeam = seam ? seam : &realMessageBox; }
void InstallFileDialogSeam(FileDialogSeam* seam) { fileDialogSeam = seam ? seam : &realFileDialogs; }
void InstallSoundSeam(SoundSeam* seam) { soundSeam = seam ? seam : &realSound; }

FileDialogSeam& FileDialogs() { return *fileDialogSeam; }
SoundSeam& Sound() { return *soundSeam; }

std::string ApplicationTitle() {
    char text[256] = "";
    const int length = LoadStringA(ModuleInstance(), IDS_APP_TITLE, text, sizeof text);
    return std::string(text, length > 0 ? length : 0);
}

int ShowMessage(HWND owner, const std::string& text, UINT buttons) {
    UINT type = buttons;
    const UINT buttonSet = buttons & MB_TYPEMASK;
    const bool plain = buttonSet == MB_OK || buttonSet == MB_OKCANCEL || buttonSet == MB_YESNO ||
                       buttonSet == MB_YESNOCANCEL;
    if ((buttons & MB_ICONMASK) == 0 && plain) type |= MB_ICONEXCLAMATION;
    return messageBoxSeam->Show(owner, text, ApplicationTitle(), type);
}

}  // namespace qx
