// The Windows packages as a user gets them: the .msi installed and removed
// with msiexec, the file type it registers for gestures, and the
// programs of the zip. scripts/test-package runs this in a Wine prefix of its
// own with QX_MSI (the installer), QX_ZIP_DIR (the unpacked zip's folder) and
// QX_VERSION set.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/BuilderProcess_e2e.h"

namespace qx::e2e {
namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Runs a command line to its end; its exit code, or -1 if it did not start
// or run out its time.
long RunToEnd(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return static_cast<long>(code);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The default value of HKCU\Software\Classes\KEY ("" if none): where a
// per-user install registers a file type, and what Windows merges into
// HKEY_CLASSES_ROOT for the user.
// (Wine's HKEY_CLASSES_ROOT does not see these, so the test reads them here.)
std::string ClassValue(const std::string& key) {
    const std::string path = "Software\\Classes\\" + key;
    char text[1024] = "";
    DWORD size = sizeof text;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS
               ? text
               : "";
}

// A folder of the user's profile (CSIDL_LOCAL_APPDATA, CSIDL_PROGRAMS).
std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// The version the executable's version resource (US English, Unicode)
// gives it ("" if none).
std::string FileVersion(const std::string& exe) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    char* text = nullptr;
    UINT length = 0;
    if (block.empty() || !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\FileVersion", reinterpret_cast<void**>(&text),
                        &length))
        return "";
    return text;
}

// A run stopped half-way leaves the package installed in the prefix: the
// next run removes it first.
TEST(Installer, InstallsForTheUserOpensGesturesAndUninstallsWithoutATrace) {
    const std::string msi = Env("QX_MSI"), uninstall = "msiexec /x \"" + msi + "\" /qn";
    ASSERT_TRUE(Exists(msi)) << "QX_MSI: " << msi;
    const std::string directory = ShellFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\QX Gestures Builder";
    const std::string shortcut = ShellFolder(CSIDL_PROGRAMS) + "\\QX Gestures Builder.lnk";
    if (Exists(directory)) RunToEnd(uninstall);
    ASSERT_FALSE(Exists(directory)) << "installed before the test";
    ASSERT_EQ(RunToEnd("msiexec /i \"" + msi + "\" /qn"), 0);

    const std::string exe = directory + "\\qxbuilder.exe";
    for (const char* name : {"qxbuilder.exe", "qxmtool.exe", "README.txt", "samples\\wave.qxm"})
        EXPECT_TRUE(Exists(directory + "\\" + name)) << name;
    EXPECT_EQ(FileVersion(exe), Env("QX_VERSION"));
    EXPECT_TRUE(Exists(shortcut));

    // Explorer opens a gesture with the registered command, the name quoted
    // whole whatever spaces it has.
    const std::string progId = ClassValue(".qxm");
    ASSERT_NE(progId, "");
    EXPECT_EQ(ClassValue(progId + "\\shell\\open\\command"), "\"" + exe + "\" \"%1\"");
    EXPECT_EQ(ClassValue(progId + "\\DefaultIcon"), exe + ",-" + std::to_string(IDI_PALETTE));

    ASSERT_EQ(RunToEnd(uninstall), 0);
    EXPECT_FALSE(Exists(directory) || Exists(shortcut));
    const std::string keys[] = {"Software\\Classes\\.qxm", "Software\\Classes\\" + progId,
                                "Software\\QX Gestures Builder"};
    for (const std::string& key : keys) {
        HKEY left = nullptr;
        EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &left), ERROR_SUCCESS) << key;
    }
}

TEST(Zip, HoldsTheVersionedProgramsAndTheSamplesTheToolReads) {
    const std::string directory = Env("QX_ZIP_DIR");
    ASSERT_TRUE(Exists(directory + "\\README.txt")) << "QX_ZIP_DIR: " << directory;
    const std::string tool = directory + "\\qxmtool.exe";
    EXPECT_EQ(FileVersion(tool), Env("QX_VERSION"));
    for (const char* sample : {"wave", "bow", "applause"})
        EXPECT_EQ(RunToEnd("\"" + tool + "\" info \"" + directory + "\\samples\\" + sample + ".qxm\""), 0) << sample;
}

}  // namespace
}  // namespace qx::e2e
