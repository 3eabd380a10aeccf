#include "app/BuilderDialog_win.h"

#include <cstdio>

#include <shellapi.h>

#include "app/Accelerators_win.h"
#include "authoring/BuilderLayout.h"
#include "platform/Controls_win.h"
#include "palette/PaletteWindow_win.h"
#include "platform/Gdi_win.h"
#include "playback/PerformanceManager_win.h"
#include "playback/PreviewPane_win.h"

namespace qx {
namespace {

// A directory of this run's own inside the user's temporary directory, so
// that two builders never share section files and no write needs rights to
// the Windows directory.
std::string CreatePrivateTempDirectory() {
    char base[MAX_PATH + 1] = "";
    const DWORD length = GetTempPathA(sizeof base, base);
    std::string root(base, length > 0 && length < sizeof base ? length : 0);
    if (!root.empty() && root.back() == '\\') root.pop_back();
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "\\qxbuilder-%lu-%u", GetCurrentProcessId(), attempt);
        const std::string candidate = root + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) return candidate;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    return root;
}

void DeleteTempFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return;
    std::fclose(file);
    DeleteFileA(path.c_str());
}

}  // namespace

const MessageRow<BuilderDialog> BuilderDialog::kMessages[] = {
    {WM_INITDIALOG, &BuilderDialog::OnInitDialog},
    {WM_CLOSE, &BuilderDialog::OnClose},
    {WM_PAINT, &BuilderDialog::OnPaint},
    {WM_QUERYDRAGICON, &BuilderDialog::OnQueryDragIcon},
    {WM_TIMER, &BuilderDialog::OnTimer},
    {WM_DROPFILES, &BuilderDialog::OnDropFiles},
};

const CommandRow<BuilderDialog> BuilderDialog::kCommands[] = {
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
    // Escape and every other Cancel take the close path, so unsaved work is
    // never dropped without the question.
    {IDCANCEL, &BuilderDialog::RequestClose},
    {ID_TOOLS_CHECK, &BuilderDialog::CheckGestureCommand},
    // The keyboard shortcuts arrive with notice code 1.
    {MAKEWPARAM(ID_FILE_NEW, 1), &BuilderDialog::FileNew},
    {MAKEWPARAM(ID_FILE_OPEN, 1), &BuilderDialog::FileOpen},
    {MAKEWPARAM(ID_FILE_SAVE, 1), &BuilderDialog::FileSaveCommand},
    {MAKEWPARAM(ID_TOOLS_TEST, 1), &BuilderDialog::TestGesture},
    {MAKEWPARAM(ID_TOOLS_SHOW_PALETTE, 1), &BuilderDialog::ShowPalette},
};

const NoticeRow<BuilderDialog> BuilderDialog::kNotices[] = {
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

const HandlerTable<BuilderDialog> BuilderDialog::kHandlers{kMessages, kCommands, kNotices};

BuilderDialog::BuilderDialog() : Dialog(kDialogId) {
    appIcon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_APP));
    tempDirectory = CreatePrivateTempDirectory();
}

BuilderDialog::~BuilderDialog() {
    DeleteTempFile(TempPath(kTempAnimationName));
    DeleteTempFile(TempPath(kTempButtonImageName));
    DeleteTempFile(TempPath(kTempAudioName));
    DeleteTempFile(TempPath(std::string(kTempGestureBaseName) + ".qxm"));
    RemoveDirectoryA(tempDirectory.c_str());  // only when empty: never takes anything else with it
    previewPane.reset();
    if (performanceManager) {
        performanceManager->Shutdown();
        performanceManager.reset();
    }
    paletteWindow.reset();
    DestroyNow();
}

Handled BuilderDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(*this, kHandlers, message, wParam, lParam);
}

std::string BuilderDialog::TempPath(const std::string& name) const { return tempDirectory + "\\" + name; }

void BuilderDialog::SetCaption() { SetText(hwnd(), fileTitle + titleSuffix); }

void BuilderDialog::BindControls() {
    controls.buttonImageFile = Item(IDC_BUTTON_IMAGE_FILE);
    controls.audioOnce = Item(IDC_AUDIO_ONCE);
    controls.backToFrame = Item(IDC_BACK_TO_FRAME);
    controls.audioStartFrame = Item(IDC_AUDIO_START_FRAME);
    controls.imageReverse = Item(IDC_IMAGE_REVERSE);
    controls.imageLoop = Item(IDC_IMAGE_LOOP);
    controls.displayedName = Item(IDC_DISPLAYED_NAME);
    controls.frameWidth = Item(IDC_FRAME_WIDTH);
    controls.audioFile = Item(IDC_AUDIO_FILE);
    controls.animationFile = Item(IDC_ANIMATION_FILE);
    controls.red = Item(IDC_RED);
    controls.green = Item(IDC_GREEN);
    controls.blue = Item(IDC_BLUE);
    controls.transparent = Item(IDC_TRANSPARENT);
}

Handled BuilderDialog::OnInitDialog(WPARAM, LPARAM) {
    BindControls();
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));
    ResetForm();
    performanceManager = std::make_unique<PerformanceManager>(hwnd());
    previewPaneOrigin = PreviewPanePosition(ScreenRect(Item(IDC_PREVIEW_PLACE)), ScreenRect(hwnd()),
                                            GetSystemMetrics(SM_CYCAPTION));
    previewPane = std::make_unique<PreviewPane>(*performanceManager);
    previewPane->Create(previewPaneOrigin.x, previewPaneOrigin.y, kPreviewPaneSize.width, kPreviewPaneSize.height,
                        hwnd());
    DragAcceptFiles(hwnd(), TRUE);
    accelerators = std::make_unique<BuilderAccelerators>(hwnd());
    if (!commandLineFile.empty()) PostMessageA(hwnd(), WM_COMMAND, ID_FILE_OPEN, 0);
    return {true, TRUE};
}

void BuilderDialog::RequestClose() {
    if (ConfirmDiscard()) End(IDCANCEL);
}

Handled BuilderDialog::OnClose(WPARAM, LPARAM) {
    RequestClose();
    return {true, 0};
}

Handled BuilderDialog::OnPaint(WPARAM, LPARAM) {
    if (!IsIconic(hwnd())) return kDefault;
    PaintDC paint(hwnd());
    SendMessageA(hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.get()), 0);
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.get(), x, y, appIcon);
    return {true, 0};
}

Handled BuilderDialog::OnQueryDragIcon(WPARAM, LPARAM) { return {true, reinterpret_cast<LRESULT>(appIcon)}; }

Handled BuilderDialog::OnTimer(WPARAM wParam, LPARAM) {
    if (performanceManager) performanceManager->Tick(wParam);
    return kDefault;
}

}  // namespace qx
