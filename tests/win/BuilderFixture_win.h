// A real builder window, created modeless from its template and driven with
// the messages a user's actions produce.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "TestSupport_win.h"
#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"

namespace qx::test {

// A file of the test data, copied into a directory (so that the copies the
// builder makes beside it land there too); its new path.
inline std::string CopyTestData(const std::string& name, const std::string& directory) {
    std::string source = std::string("Z:") + QX_TEST_DATA + "/" + name;
    std::replace(source.begin(), source.end(), '/', '\\');
    const std::string target = directory + "\\" + name.substr(name.find_last_of('/') + 1);
    EXPECT_TRUE(CopyFileA(source.c_str(), target.c_str(), FALSE)) << source;
    return target;
}

class BuilderTest : public SeamTest {
protected:
    void SetUp() override {
        SeamTest::SetUp();
        builder = std::make_unique<BuilderDialog>();
        BeforeCreate();
        ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
    }
    void TearDown() override {
        builder.reset();
        SeamTest::TearDown();
    }
    virtual void BeforeCreate() {}
    // A second window in place of the first, which is destroyed.
    void Recreate() {
        builder = std::make_unique<BuilderDialog>();
        ASSERT_NE(builder->CreateModeless(nullptr), nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(builder->hwnd(), id); }
    void Type(int id, const std::string& text) const { SetWindowTextA(Item(id), text.c_str()); }
    std::string Text(int id) const { return WindowText(Item(id)); }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    void Command(WPARAM id) const { SendMessageA(builder->hwnd(), WM_COMMAND, id, 0); }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(int id, bool on) const {
        if (Checked(id) != on) Click(id);
    }
    std::string Caption() const { return WindowText(builder->hwnd()); }
    // One file dropped at a client point, in a handle as the shell makes it.
    void Drop(const std::string& path, POINT at) const {
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + path.size() + 2);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
        drop->pFiles = sizeof(DROPFILES);
        drop->pt = at;
        std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), path.c_str(), path.size() + 1);
        GlobalUnlock(memory);
        SendMessageA(builder->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    std::unique_ptr<BuilderDialog> builder;
};

}  // namespace qx::test
