// After Browse or a drop sets the animation or palette-button file: the
// picture is looked at as the player will see it, and a repaired copy or a
// strip is offered when that is what the author needs.
#include <windows.h>
#include <commdlg.h>

#include <new>

#include "app/BuilderDialog_win.h"
#include "authoring/PictureOffer.h"
#include "base/FileIo.h"
#include "base/ReplaceFile.h"
#include "image/PictureRepair.h"
#include "platform/Controls_win.h"
#include "platform/Seams_win.h"

namespace qx {
namespace {

// Larger pictures are left to the specified flow: the offer needs the whole file in memory.
constexpr std::uint64_t kMaxOfferBytes = std::uint64_t{256} << 20;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool ReplaceWithCopy(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    try {
        return ReplaceFileWhole(path, bytes) == ReplaceResult::Replaced;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH + 1] = "";
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full ? path : std::string(full);
}

}  // namespace

bool BuilderDialog::TakePictureCopy(const PictureOffer& offer, HWND edit) {
    // An existing file of the copy's name is never touched, and the copy
    // appears whole or not at all.
    if (WriteNewFileWhole(offer.copyPath, offer.bytes) != ReplaceResult::Replaced) {
        ShowMessage(hwnd(), "Can not write output file: '" + offer.copyPath + "'");
        return false;
    }
    SetText(edit, offer.copyPath);
    return true;
}

void BuilderDialog::OfferPictureFix(HWND edit) try {
    const std::string path = WindowText(edit);
    std::vector<std::uint8_t> bytes;
    if (path.empty() || ReadWholeFile(path, bytes, kMaxOfferBytes) != FileReadStatus::Ok) return;
    const PictureRole role = edit == controls.animationFile ? PictureRole::Animation : PictureRole::Button;
    const PictureOffer offer = OfferForPicture(path, bytes, role, Exists);
    switch (offer.kind) {
    case OfferKind::None: return;
    case OfferKind::Message: ShowMessage(hwnd(), offer.text); return;
    case OfferKind::Repair:
        if (ShowMessage(hwnd(), offer.text, MB_YESNO) == IDYES) TakePictureCopy(offer, edit);
        return;
    case OfferKind::Strip:
        if (ShowMessage(hwnd(), offer.text, MB_YESNO) != IDYES || !TakePictureCopy(offer, edit)) return;
        SetText(controls.frameWidth, std::to_string(offer.frameWidth));
        if (offer.transparent) {
            SetCheck(controls.transparent, true);
            SyncTransparentColour();
            SetText(controls.red, std::to_string(offer.transparent->red));
            SetText(controls.green, std::to_string(offer.transparent->green));
            SetText(controls.blue, std::to_string(offer.transparent->blue));
        }
        return;
    }
} catch (const std::bad_alloc&) {
    // A picture too large to look at in memory is left to the specified
    // flow, as one too large to be read at all.
}

std::vector<RepairablePicture> BuilderDialog::RepairablePictures() const {
    std::vector<RepairablePicture> found;
    for (HWND edit : {controls.animationFile, controls.buttonImageFile}) {
        std::vector<std::uint8_t> bytes;
        const std::string& path = edit == controls.animationFile ? model.animationFile : model.buttonImageFile;
        if (path.empty() || ReadWholeFile(path, bytes, kMaxOfferBytes) != FileReadStatus::Ok) continue;
        PictureDiagnosis diagnosis = DiagnosePicture(bytes);
        if (diagnosis.verdict == PictureVerdict::Repairable) found.push_back({edit, path, std::move(diagnosis.repaired)});
    }
    return found;
}

void BuilderDialog::RepairPictures() {
    std::vector<RepairablePicture> pictures;
    try {
        pictures = RepairablePictures();
    } catch (const std::bad_alloc&) {
        // Nothing is repaired: Check Gesture named what it could.
        return;
    }
    for (const RepairablePicture& picture : pictures) {
        const bool animation = picture.edit == controls.animationFile;
        const std::string& source = picture.source;

        // A section of an opened gesture is named after the gesture.
        std::string suggested;
        if (!model.tempDirectory.empty() && source.rfind(model.tempDirectory + "\\", 0) == 0) {
            const std::string stem = model.fileTitle.substr(0, model.fileTitle.find_last_of('.'));
            suggested = stem + (animation ? "-fixed.gif" : "-button-fixed.gif");
        } else {
            suggested = CopyPathBeside(source, "-fixed", Exists);
            suggested = suggested.substr(suggested.find_last_of("\\/") + 1);
        }
        const auto choice = FileDialogs().Ask(hwnd(), {true, "GIF files (*.gif)|*.gif||", ".gif",
                                                       OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                                                       suggested});
        if (!choice) continue;
        if (lstrcmpiA(FullPath(choice->path).c_str(), FullPath(source).c_str()) == 0) {
            ShowMessage(hwnd(), "Error: Can not save a file over itself: " + choice->path);
            continue;
        }
        if (!ReplaceWithCopy(choice->path, picture.repaired)) {
            ShowMessage(hwnd(), "Can not write output file: '" + choice->path + "'");
            continue;
        }
        SetText(picture.edit, choice->path);
    }
}

}  // namespace qx
