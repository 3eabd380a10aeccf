// The builder window: a modal dialog on template 102 holding the gesture
// being edited as a form, with its commands. What it knows besides its
// controls (the path members, change tracking, the enabling rules) is its
// BuilderModel.
//
// Each part of the class has a file named BuilderDialog_PART_win.cpp: the
// form (fields, enabling, change tracking) in _Form, the File and
// Browse commands in _Commands, saving in _Save, opening in _Open, section
// export in _Export, Test in _Test, Show Palette in _Palette, Check Gesture
// in _Check, dropped files in _Drop, and the offers for pictures the player
// refuses in _Pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "authoring/BuilderModel.h"
#include "authoring/GestureForm.h"
#include "base/Geometry.h"
#include "platform/Window_win.h"
#include "resources/resource.h"

namespace qx {

class PerformanceManager;
class PreviewPane;
class PaletteWindow;
class BuilderAccelerators;
struct PictureOffer;

// A picture of the form the player refuses and a repair cures: its edit,
// the file the form names, and the repaired bytes.
struct RepairablePicture {
    HWND edit = nullptr;
    std::string source;
    std::vector<std::uint8_t> repaired;
};

class BuilderDialog : public TableDialog<BuilderDialog> {
public:
    static constexpr int kDialogId = IDD_BUILDER;

    BuilderDialog();
    ~BuilderDialog() override;

    // The form's controls, bound by id once the window exists.
    struct Controls {
        HWND buttonImageFile = nullptr;  // edit 1021
        HWND audioOnce = nullptr;  // check box 1016
        HWND backToFrame = nullptr;  // edit 1014
        HWND audioStartFrame = nullptr;  // edit 1015
        HWND imageReverse = nullptr;  // check box 1011
        HWND imageLoop = nullptr;  // check box 1010
        HWND displayedName = nullptr;  // edit 1004
        HWND frameWidth = nullptr;  // edit 1012
        HWND audioFile = nullptr;  // edit 1002
        HWND animationFile = nullptr;  // edit 1001
        HWND red = nullptr;  // edit 1006
        HWND green = nullptr;  // edit 1007
        HWND blue = nullptr;  // edit 1008
        HWND transparent = nullptr;  // check box 1005
    };

    // Form and change tracking.
    bool ConfirmDiscard();
    void ResetForm();
    void SyncTransparentColour();
    void SyncImageLoop();
    void OnAudioFileUpdate();
    void OnAnimationFileUpdate();
    void OnButtonImageFileUpdate();
    void MarkDirty();
    // Enables the form's dependent fields as the model's rules say after a change.
    void ApplyEnabling(FormChange change);

    // Commands.
    void FileNew();
    void FileOpen();
    bool FileSave();
    bool FileSaveAs();
    void TestGesture();
    // The next colour of the Test balloons' six-colour cycle.
    COLORREF NextBalloonColour();
    void ShowPalette();
    // Check Gesture: the checker's findings on the form, in a dialog.
    void CheckGestureCommand();
    std::string CheckReport() const;
    void ShowAbout();
    void FileExit();
    void BrowseAnimation();
    void BrowseAudio();
    void BrowseButtonImage();
    void ExportAnimation();
    void ExportButtonImage();
    void ExportAudio();

    bool SaveGesture(const std::string& path, bool askOverwrite, bool validateOnly);
    // The form as saving reads it: the edits, the check boxes and the path members.
    GestureForm ReadForm() const;
    void OpenGesture();
    // Opening once the file is chosen: path and its file name as chosen.
    void OpenGestureFile(const std::string& path, const std::string& fileName);
    void ExportSection(std::string sourcePath, std::string description, std::string extension);
    // After Browse or a drop set the animation or button edit: offers a
    // repaired copy or a strip when the player would not show the picture.
    void OfferPictureFix(HWND edit);
    // Writes an offer's copy beside the picture and points the edit at it;
    // a copy that cannot be written is reported and nothing changes.
    bool TakePictureCopy(const PictureOffer& offer, HWND edit);
    // The form's pictures (animation, button) the player refuses and a
    // repair cures.
    std::vector<RepairablePicture> RepairablePictures() const;
    // Check Gesture's repair: each repairable picture is saved repaired where
    // the author chooses, and the form points at the copy.
    void RepairPictures();

    // Asks to close: through ConfirmDiscard, then the end of the modal run.
    void RequestClose();

    // Open and Test write their sections into the private temporary
    // directory; without one they say so and refuse.
    bool HasTempDirectory(const char* refusal);

    // Memory ran out in a command: it is given up, and the message names
    // the gesture being edited.
    void OutOfMemory() override;

    void SetCaption();

    Controls controls;
    BuilderModel model;
    HICON appIcon = nullptr;
    std::unique_ptr<PreviewPane> previewPane;
    std::unique_ptr<PerformanceManager> performanceManager;
    Point previewPaneOrigin;  // client coordinates, from PreviewPanePosition
    int balloonColourIndex = 0;
    std::unique_ptr<PaletteWindow> paletteWindow;
    // Why no private temporary directory could be made; said once, when the
    // window opens. Empty when there is one.
    std::string tempDirectoryProblem;

private:
    friend TableDialog<BuilderDialog>;

    Handled OnInitDialog(WPARAM, LPARAM);
    Handled OnClose(WPARAM, LPARAM);
    Handled OnPaint(WPARAM, LPARAM);
    Handled OnQueryDragIcon(WPARAM, LPARAM);
    Handled OnTimer(WPARAM, LPARAM);
    Handled OnDropFiles(WPARAM, LPARAM);
    void BindControls();
    void Browse(const char* filter, const char* defaultExtension, HWND edit);

    void FileSaveCommand() { FileSave(); }
    void FileSaveAsCommand() { FileSaveAs(); }

    std::unique_ptr<BuilderAccelerators> accelerators;

    static constexpr MessageRow<BuilderDialog> kMessages[] = {
        {WM_INITDIALOG, &BuilderDialog::OnInitDialog},
        {WM_CLOSE, &BuilderDialog::OnClose},
        {WM_PAINT, &BuilderDialog::OnPaint},
        {WM_QUERYDRAGICON, &BuilderDialog::OnQueryDragIcon},
        {WM_TIMER, &BuilderDialog::OnTimer},
        {WM_DROPFILES, &BuilderDialog::OnDropFiles},
    };

    static constexpr CommandRow<BuilderDialog> kCommands[] = {
        {ID_FILE_NEW, &BuilderDialog::FileNew},
        {ID_FILE_OPEN, &BuilderDialog::FileOpen},
        {ID_FILE_SAVE, &BuilderDialog::FileSaveCommand},
        {ID_FILE_SAVE_AS, &BuilderDialog::FileSaveAsCommand},
        {ID_TOOLS_TEST, &BuilderDialog::TestGesture},
        {ID_TOOLS_SHOW_PALETTE, &BuilderDialog::ShowPalette},
        {ID_FILE_SAVE_ANIMATION, &BuilderDialog::ExportAnimation},
        {ID_FILE_SAVE_BUTTON, &BuilderDialog::ExportButtonImage},
        {ID_FILE_SAVE_AUDIO, &BuilderDialog::ExportAudio},
        {ID_APP_ABOUT, &BuilderDialog::ShowAbout},
        {ID_APP_EXIT, &BuilderDialog::FileExit},
        // Escape and every other Cancel take the close path, so unsaved work
        // is never dropped without the question.
        {IDCANCEL, &BuilderDialog::RequestClose},
        {ID_TOOLS_CHECK, &BuilderDialog::CheckGestureCommand},
        // The keyboard shortcuts arrive with notice code 1.
        {MAKEWPARAM(ID_FILE_NEW, 1), &BuilderDialog::FileNew},
        {MAKEWPARAM(ID_FILE_OPEN, 1), &BuilderDialog::FileOpen},
        {MAKEWPARAM(ID_FILE_SAVE, 1), &BuilderDialog::FileSaveCommand},
        {MAKEWPARAM(ID_TOOLS_TEST, 1), &BuilderDialog::TestGesture},
        {MAKEWPARAM(ID_TOOLS_SHOW_PALETTE, 1), &BuilderDialog::ShowPalette},
    };

    static constexpr NoticeRow<BuilderDialog> kNotices[] = {
        {IDC_TRANSPARENT, BN_CLICKED, &BuilderDialog::SyncTransparentColour},
        {IDC_IMAGE_LOOP, BN_CLICKED, &BuilderDialog::SyncImageLoop},
        {IDC_IMAGE_REVERSE, BN_CLICKED, &BuilderDialog::MarkDirty},
        {IDC_AUDIO_ONCE, BN_CLICKED, &BuilderDialog::MarkDirty},
        {IDC_AUDIO_FILE, EN_UPDATE, &BuilderDialog::OnAudioFileUpdate},
        {IDC_ANIMATION_FILE, EN_UPDATE, &BuilderDialog::OnAnimationFileUpdate},
        {IDC_BUTTON_IMAGE_FILE, EN_UPDATE, &BuilderDialog::OnButtonImageFileUpdate},
        {IDC_DISPLAYED_NAME, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_FRAME_WIDTH, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_RED, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_GREEN, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_BLUE, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_BACK_TO_FRAME, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_AUDIO_START_FRAME, EN_UPDATE, &BuilderDialog::MarkDirty},
        {IDC_TEST, BN_CLICKED, &BuilderDialog::TestGesture},
        {IDC_PALETTE, BN_CLICKED, &BuilderDialog::ShowPalette},
        {IDC_BROWSE_ANIMATION, BN_CLICKED, &BuilderDialog::BrowseAnimation},
        {IDC_BROWSE_AUDIO, BN_CLICKED, &BuilderDialog::BrowseAudio},
        {IDC_BROWSE_BUTTON_IMAGE, BN_CLICKED, &BuilderDialog::BrowseButtonImage},
    };

    static constexpr HandlerTable<BuilderDialog> kHandlers{kMessages, kCommands, kNotices};
};

}  // namespace qx
