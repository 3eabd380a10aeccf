#include "app/BuilderDialog_win.h"

#include <cstdio>
#include <optional>
#include <string>

#include <shellapi.h>

#include "app/Accelerators_win.h"
#include "authoring/BuilderLayout.h"
#include "platform/Controls_win.h"
#include "palette/PaletteWindow_win.h"
#include "platform/Gdi_win.h"
#include "platform/Seams_win.h"
#include "playback/PerformanceManager_win.h"
#include "playback/PreviewPane_win.h"

namespace qx {
namespace {

// The system's sentence for an error code, or its number.
std::string SystemErrorText(DWORD error) {
    char text[512] = "";
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' ')) --length;
    if (length == 0) return "Error " + std::to_string(error) + ".";
    return std::string(text, length);
}

// A directory of this run's own inside the user's temporary directory, so
// that two builders never share section files and no write needs rights to
// the Windows directory. Nothing, with the reason in problem, when none can
// be made: the builder never writes into or removes a directory it did not
// make.
std::optional<std::string> CreatePrivateTempDirectory(std::string& problem) {
    char base[MAX_PATH + 1] = "";
    const DWORD length = GetTempPathA(sizeof base, base);
    if (length == 0 || length >= sizeof base) {
        problem = "The system names no temporary directory.";
        return std::nullopt;
    }
    std::string root(base, length);
    if (root.back() == '\\') root.pop_back();
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "\\qxbuilder-%lu-%u", GetCurrentProcessId(), attempt);
        const std::string candidate = root + name;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) return candidate;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) {
            problem = "Can not create a temporary directory in " + root + "\n" + SystemErrorText(error);
            return std::nullopt;
        }
    }
    problem = "Can not create a temporary directory in " + root + "\nEvery name tried is taken.";
    return std::nullopt;
}

void DeleteTempFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return;
    std::fclose(file);
    DeleteFileA(path.c_str());
}

}  // namespace

BuilderDialog::BuilderDialog() : TableDispatch(kDialogId) {
    appIcon = LoadIconA(ModuleInstance(), MAKEINTRESOURCEA(IDI_APP));
    model.tempDirectory = CreatePrivateTempDirectory(tempDirectoryProblem).value_or(std::string());
}

BuilderDialog::~BuilderDialog() {
    if (!model.tempDirectory.empty()) {
        for (const std::string& path : model.TempFiles()) DeleteTempFile(path);
        RemoveDirectoryA(model.tempDirectory.c_str());  // only when empty: never takes anything else with it
    }
    previewPane.reset();
    if (performanceManager) {
        performanceManager->Shutdown();
        performanceManager.reset();
    }
    paletteWindow.reset();
    DestroyNow();
}

void BuilderDialog::SetCaption() { SetText(hwnd(), model.Caption()); }

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
    if (!tempDirectoryProblem.empty()) ShowMessage(hwnd(), tempDirectoryProblem + "\nOpen and Test are not available.");
    if (!model.commandLineFile.empty()) PostMessageA(hwnd(), WM_COMMAND, ID_FILE_OPEN, 0);
    return {true, TRUE};
}

void BuilderDialog::OutOfMemory() {
    ShowMessage(hwnd(), "Not enough memory to finish with\n" + (model.filePath.empty() ? model.fileTitle : model.filePath));
}

bool BuilderDialog::HasTempDirectory(const char* refusal) {
    if (!model.tempDirectory.empty()) return true;
    ShowMessage(hwnd(), std::string(refusal) + "\nThere is no temporary directory to work in.");
    return false;
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
