#include "TestSupport_win.h"

#include <cstdio>

namespace qx::test {

int ScriptedMessageBox::Show(HWND, const std::string& text, const std::string& caption, UINT type) {
    shown.push_back({text, caption, type});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (type & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
}

std::vector<std::string> ScriptedMessageBox::Texts() const {
    std::vector<std::string> texts;
    for (const auto& m : shown) texts.push_back(m.text);
    return texts;
}

std::optional<FileChoice> ScriptedFileDialogs::Ask(HWND, const FileDialogRequest& request) {
    asked.push_back(request);
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedFileDialogs::Choose(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    answers.push_back(FileChoice{path, slash == std::string::npos ? path : path.substr(slash + 1)});
}

bool RecordingSound::Play(const void* bytes, std::size_t length) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    played.emplace_back(p, p + length);
    return true;
}

void SeamTest::SetUp() {
    InstallMessageBoxSeam(&messages);
    InstallFileDialogSeam(&files);
    InstallSoundSeam(&sound);
}

void SeamTest::TearDown() {
    InstallMessageBoxSeam(nullptr);
    InstallFileDialogSeam(nullptr);
    InstallSoundSeam(nullptr);
}

void Pump(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (true) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        const LONG left = static_cast<LONG>(end - GetTickCount());
        if (left <= 0) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
    }
}

ScratchDirectory::ScratchDirectory() {
    char base[MAX_PATH + 1] = "";
    GetTempPathA(sizeof base, base);
    static unsigned counter = 0;
    char name[80];
    std::snprintf(name, sizeof name, "qxtest-%lu-%u", GetCurrentProcessId(), counter++);
    path_ = std::string(base) + name;
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    WIN32_FIND_DATAA found;
    const std::string pattern = path_ + "\\*";
    HANDLE find = FindFirstFileA(pattern.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path_ + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryA(full.c_str());
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(path_.c_str());
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
    return bytes;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

Canvas::Canvas(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void Canvas::Fill(COLORREF colour) {
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i) bits_[i] = Rgb(colour);
}

unsigned Canvas::At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
}

Pixels Canvas::Snapshot() const {
    GdiFlush();
    Pixels pixels;
    pixels.width = width_;
    pixels.height = height_;
    pixels.rgb.assign(bits_, bits_ + static_cast<std::size_t>(width_) * height_);
    for (auto& p : pixels.rgb) p &= 0xFFFFFF;
    return pixels;
}

Pixels CaptureClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    Canvas canvas(client.right, client.bottom);
    PrintWindow(hwnd, canvas.dc(), PW_CLIENTONLY);
    return canvas.Snapshot();
}

}  // namespace qx::test
