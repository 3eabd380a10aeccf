// The placeholder avatar inside the builder window: the anchor of every
// Test performance. It draws the balloon's tail over the avatar, and a press
// on it or a move of it ends its performance.
#pragma once

#include <windows.h>

#include "platform/Window_win.h"

namespace qx {

class PerformanceManager;

class PreviewPane : public Window {
public:
    explicit PreviewPane(PerformanceManager& manager) : manager_(manager) {}
    // Ends the pane's performance without repainting, then destroys the window.
    ~PreviewPane() override;

    virtual bool Create(int x, int y, int width, int height, HWND parent);

    // The avatar centred on white, then the tails. WM_PAINT and tests both come here.
    void Paint(HDC dc, const RECT& update);

    static const char* ClassName();

protected:
    Handled HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handled OnPaint(WPARAM, LPARAM);
    Handled OnPrintClient(WPARAM, LPARAM);
    Handled OnMove(WPARAM, LPARAM);
    Handled OnButtonDown(WPARAM, LPARAM);

    PerformanceManager& manager_;

    static const MessageRow<PreviewPane> kMessages[];
    static const HandlerTable<PreviewPane> kHandlers;
};

}  // namespace qx
