// What blocks or sounds goes through one small interface each: the message
// box, the open/save file dialogs and sound playback. The program installs
// the real Win32 implementations; tests install scripted ones.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

namespace qx {

class MessageBoxSeam {
public:
    virtual ~MessageBoxSeam() = default;
    virtual int Show(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;
};

struct FileDialogRequest {
    bool save = false;
    std::string filter;  // "description|pattern||"
    std::string defaultExtension;  // with its dot, as ".qxm"
    DWORD flags = 0;
    std::string fileName = {};  // the name the dialog starts with, if any
};

struct FileChoice {
    std::string path;  // full path
    std::string fileName;  // name with extension
};

class FileDialogSeam {
public:
    virtual ~FileDialogSeam() = default;
    // Returns the choice, or nothing when the user cancelled.
    virtual std::optional<FileChoice> Ask(HWND owner, const FileDialogRequest& request) = 0;
};

class SoundSeam {
public:
    virtual ~SoundSeam() = default;
    // Plays a WAVE image from memory, asynchronously; the bytes must stay
    // alive until Stop.
    virtual bool Play(const void* bytes, std::size_t length) = 0;
    virtual void Stop() = 0;
};

// Installs a seam (null restores the real one). The caller keeps ownership.
void InstallMessageBoxSeam(MessageBoxSeam* seam);
void InstallFileDialogSeam(FileDialogSeam* seam);
void InstallSoundSeam(SoundSeam* seam);

FileDialogSeam& FileDialogs();
SoundSeam& Sound();

// The application title, string resource 57344.
std::string ApplicationTitle();

// The program's one message-box routine: the application title as caption
// and, for the plain button sets, the exclamation icon.
int ShowMessage(HWND owner, const std::string& text, UINT buttons = MB_OK);

}  // namespace qx
