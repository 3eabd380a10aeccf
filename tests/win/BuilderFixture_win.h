// A real builder window, created modeless from its template and driven with
// the messages a user's actions produce.
#pragma once

#include <memory>

#include "TestSupport_win.h"
#include "app/BuilderDialog_win.h"
#include "platform/Controls_win.h"

namespace qx::test {

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

    std::unique_ptr<BuilderDialog> builder;
};

}  // namespace qx::test
