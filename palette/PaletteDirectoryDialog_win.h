// "Directory for Palette": asks which directory the palette shows. Only an
// empty entry is refused; anything else is taken exactly as typed, since a
// directory that does not exist simply gives an empty palette.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Window_win.h"
#include "resources/resource.h"

namespace qx {

class PaletteDirectoryDialog : public Dialog {
public:
    static constexpr int kDialogId = IDD_PALETTE_DIRECTORY;

    PaletteDirectoryDialog() : Dialog(kDialogId) {}
    ~PaletteDirectoryDialog() override;

    // Shown when the dialog opens.
    void SetDirectory(const std::string& text) { directory_ = text; }
    // After OK, the text the user accepted; otherwise what SetDirectory set.
    std::string GetDirectory() const { return directory_; }

protected:
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handled OnInitDialog(WPARAM, LPARAM);
    void OnOk();
    void OnCancel();

    std::string directory_;
    HWND edit_ = nullptr;

    static const MessageRow<PaletteDirectoryDialog> kMessages[];
    static const CommandRow<PaletteDirectoryDialog> kCommands[];
    static const HandlerTable<PaletteDirectoryDialog> kHandlers;
};

}  // namespace qx
