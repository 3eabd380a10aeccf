// The builder window: a modal dialog on template 102 holding the gesture
// being edited as a form, with its commands.
//
// Each part of the class has a file named BuilderDialog_PART_win.cpp: the
// form (fields, enabling rules, change tracking) in _Form, the File and
// Browse commands in _Commands, saving in _Save, opening in _Open, section
// export in _Export, Test in _Test, Show Palette in _Palette, Check Gesture
// in _Check, dropped files in _Drop, and the offers for pictures the player
// refuses in _Pictures.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

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

class BuilderDialog : public Dialog {
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
    // repair cures; their edits.
    std::vector<HWND> RepairablePictures() const;
    // Check Gesture's repair: each repairable picture is saved repaired where
    // the author chooses, and the form points at the copy.
    void RepairPictures();

    // Asks to close: through ConfirmDiscard, then the end of the modal run.
    void RequestClose();

    // The temporary file path for a name: tempDirectory + "\" + name.
    std::string TempPath(const std::string& name) const;
    void SetCaption();

    Controls controls;
    std::string titleSuffix = " - Quixmoor Gesture";
    std::string fileTitle = "[Untitled]";
    std::string tempDirectory;
    std::string filePath;
    std::string paletteDirectory = "c:\\temp";
    std::string commandLineFile;
    std::string animationFile;
    std::string audioFile;
    std::string buttonImageFile;
    HICON appIcon = nullptr;
    std::unique_ptr<PreviewPane> previewPane;
    std::unique_ptr<PerformanceManager> performanceManager;
    Point previewPaneOrigin;  // client coordinates, from PreviewPanePosition
    int balloonColourIndex = 0;
    int untitled = 1;
    int dirty = 0;
    int loading = 0;
    std::unique_ptr<PaletteWindow> paletteWindow;

protected:
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
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

    static const MessageRow<BuilderDialog> kMessages[];
    static const CommandRow<BuilderDialog> kCommands[];
    static const NoticeRow<BuilderDialog> kNotices[];
    static const HandlerTable<BuilderDialog> kHandlers;
};

// The three temporary section files and the temporary gesture of Test.
inline constexpr const char* kTempAnimationName = "~tempqxm.gif";
inline constexpr const char* kTempButtonImageName = "~tempqxmb.gif";
inline constexpr const char* kTempAudioName = "~tempqxm.wav";
inline constexpr const char* kTempGestureBaseName = "~tempqxm";

}  // namespace qx
