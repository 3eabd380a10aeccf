#include "playback/Performance_win.h"

#include <algorithm>
#include <string_view>

#include "gesture/Gesture.h"
#include "platform/Controls_win.h"
#include "playback/BalloonGeometry.h"
#include "playback/PerformanceManager_win.h"
#include "playback/TextWrap.h"

namespace qx {
namespace {

constexpr char kBalloonClassName[] = "QxSpeechBalloon";

Size ClientSize(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return {client.right, client.bottom};
}

}  // namespace

const MessageRow<BalloonWindow> BalloonWindow::kMessages[] = {
    {WM_LBUTTONDOWN, &BalloonWindow::OnButtonDown},
    {WM_MBUTTONDOWN, &BalloonWindow::OnButtonDown},
    {WM_RBUTTONDOWN, &BalloonWindow::OnButtonDown},
};
const HandlerTable<BalloonWindow> BalloonWindow::kHandlers{kMessages, {}, {}};

const MessageRow<Performance> Performance::kMessages[] = {
    {WM_PAINT, &Performance::OnPaint},
    {WM_PRINTCLIENT, &Performance::OnPrintClient},
};
const HandlerTable<Performance> Performance::kHandlers{kMessages, {}, {}};

// Destroying the window here, while the object is still a whole balloon,
// keeps its last messages away from a half-destroyed one.
BalloonWindow::~BalloonWindow() { DestroyNow(); }

const char* BalloonWindow::ClassName() { return kBalloonClassName; }

bool BalloonWindow::CreateBalloonWindow(HWND parent) {
    WNDCLASSEXA prototype{};
    prototype.style = CS_HREDRAW | CS_VREDRAW;
    prototype.lpszClassName = kBalloonClassName;
    if (!RegisterWindowClass(prototype)) return false;
    return CreateWindowObject(WS_EX_TOOLWINDOW, kBalloonClassName, "", WS_CHILD, 0, 0, 0, 0, parent) != nullptr;
}

void BalloonWindow::Place(const Rect& bounds, const Rect& anchorRect, HWND anchor, BalloonSide preferred) {
    // The balloon being placed is still hidden, so it never hides a corner
    // from WindowFromPoint.
    const auto anchorVisibleAt = [anchor](Point p) { return WindowFromPoint(POINT{p.x, p.y}) == anchor; };
    const Placement placement = PlaceBalloon(bounds, anchorRect, {width_, height_}, preferred, anchorVisibleAt);
    side_ = placement.side;
    if (side_ == BalloonSide::NoSide) return;
    MoveWindow(hwnd(), placement.position.x, placement.position.y, width_, height_, TRUE);
    SetWindowPos(hwnd(), HWND_TOP, placement.position.x, placement.position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void BalloonWindow::DrawOutline(HDC dc) {
    SelectGuard pen(dc, GetStockObject(BLACK_PEN));
    for (const Segment& segment : OutlineSegments(side_, ClientSize(hwnd()))) {
        MoveToEx(dc, segment.from.x, segment.from.y, nullptr);
        LineTo(dc, segment.to.x, segment.to.y);
    }
}

Handled BalloonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Dispatch(*this, kHandlers, message, wParam, lParam);
}

Handled BalloonWindow::OnButtonDown(WPARAM, LPARAM) {
    // Remove destroys the window and deletes this object: nothing of it may
    // be touched afterwards.
    manager_.Remove(this);
    return {true, 0};
}

Performance::~Performance() {
    DestroyNow();
    font_.Reset();
    image_.Release();
    text_.clear();
}

bool Performance::CreateBalloon(HWND parent) {
    if (!CreateBalloonWindow(parent)) return false;
    LOGFONTA logical{};
    {
        WindowDC dc(hwnd());
        // A positive height asks for the cell height: 11 pixels for 8 points at 96 dots per inch.
        logical.lfHeight = MulDiv(fontSize_, GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
    }
    logical.lfClipPrecision = CLIP_LH_ANGLES | CLIP_STROKE_PRECIS;
    logical.lfPitchAndFamily = FF_SWISS;
    font_.Reset(CreateFontIndirectA(&logical));
    return true;
}

void Performance::LayoutText(const std::string& text) {
    WindowDC dc(hwnd());
    SelectGuard font(dc.get(), font_ ? static_cast<HGDIOBJ>(font_.get()) : GetCurrentObject(dc.get(), OBJ_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    const auto measure = [&](std::string_view line) {
        SIZE extent{};
        GetTextExtentPoint32A(dc.get(), line.data(), static_cast<int>(line.size()), &extent);
        // An empty line measures no height, yet it takes a line in the balloon.
        if (line.empty()) extent.cy = metrics.tmHeight;
        return Size{extent.cx, extent.cy};
    };
    TextLayout layout = qx::LayoutText(text, measure);
    text_ = std::move(layout.text);
    width_ = layout.size.width;
    height_ = layout.size.height;
}

void Performance::Setup(const Rect& bounds, const Rect& anchorRect, HWND anchor, const std::string& text,
                        const Gesture* gesture, BalloonSide preferred) {
    // A frame width of 0 has no frames to step through: such a gesture
    // performs as text only, without its sound.
    hasAnimation_ = gesture != nullptr && PerformsAnimation(gesture->frameWidth);
    hasText_ = !text.empty();
    if (hasText_) LayoutText(text);
    if (hasAnimation_) {
        // A picture that does not decode leaves the strip 0 x 0; the
        // performance goes on and finishes on its first tick.
        image_.Load(gesture->imageData.data(), gesture->imageData.size());
        stripWidth_ = image_.Width();
        stripHeight_ = image_.Height();
        stepper_ = FrameStepper(AnimationSettingsOf(*gesture), stripWidth_);
        if (stepper_.Has(PF_TRANSPARENT)) image_.SetTransparency(true, gesture->transparentColour);
        if (stepper_.Has(PF_AUDIO)) manager_.SetSound(this, gesture->audioData.data(), gesture->audioData.size());
    }
    const Size size =
        BalloonWindowSize({width_, height_}, hasAnimation_ ? stepper_.FrameWidth() : 0, stripHeight_);
    width_ = size.width;
    height_ = size.height;
    Place(bounds, anchorRect, anchor, preferred);
    CheckSound();
}

void Performance::CheckSound() {
    if (stepper_.CheckSound()) manager_.PlaySound(this);
}

void Performance::Advance() {
    const StepResult step = stepper_.Advance();
    if (step.frameChanged) {
        const RECT frameArea = ToRECT(FrameUpdateRect(stepper_.FrameWidth(), stripHeight_));
        InvalidateRect(hwnd(), &frameArea, FALSE);
    }
    if (step.playSound) manager_.PlaySound(this);
}

void Performance::Paint(HDC dc, const RECT& update) {
    const Size client = ClientSize(hwnd());
    const int frameWidth = hasAnimation_ ? stepper_.FrameWidth() : 0;
    if (!IsFrameOnlyUpdate(ToRect(update), hasAnimation_, frameWidth, stripHeight_)) {
        const RECT all{0, 0, client.width, client.height};
        const OwnedBrush fill(CreateSolidBrush(colour_));
        FillRect(dc, &all, fill.get());
        if (hasText_) {
            SelectGuard font(dc, font_ ? static_cast<HGDIOBJ>(font_.get()) : GetCurrentObject(dc, OBJ_FONT));
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, colour_);
            SetBkMode(dc, TRANSPARENT);
            RECT textRect = ToRECT(TextRect(client, hasAnimation_, frameWidth));
            DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect, DT_NOPREFIX);
        }
    }
    if (hasAnimation_ && stripWidth_ > 0 && stripHeight_ > 0) {
        // The whole strip goes into a fresh off-screen bitmap over the
        // balloon colour (transparent pixels keep it), and one frame is
        // copied out. The bitmap reaches at least to the end of the frame
        // copied, so a strip narrower than a frame shows the colour beyond it.
        const FrameCopy copy = FrameCopyFor(stepper_.CurrentFrame(), frameWidth, stripHeight_);
        const int offscreenWidth = std::max(stripWidth_, copy.source.x + frameWidth);
        MemoryDC memory(dc);
        OwnedBitmap strip(CreateCompatibleBitmap(dc, offscreenWidth, stripHeight_));
        if (memory && strip) {
            SelectGuard select(memory.get(), strip.get());
            const RECT all{0, 0, offscreenWidth, stripHeight_};
            const OwnedBrush fill(CreateSolidBrush(colour_));
            FillRect(memory.get(), &all, fill.get());
            const RECT stripRect{0, 0, stripWidth_, stripHeight_};
            image_.Draw(memory.get(), stripRect);
            BitBlt(dc, copy.destination.left, copy.destination.top, copy.destination.Width(),
                   copy.destination.Height(), memory.get(), copy.source.x, copy.source.y, SRCCOPY);
        }
    }
    DrawOutline(dc);
}

Handled Performance::OnPaint(WPARAM, LPARAM) {
    PaintDC paint(hwnd());
    Paint(paint.get(), paint.Update());
    return {true, 0};
}

Handled Performance::OnPrintClient(WPARAM wParam, LPARAM) { return PrintClient(*this, wParam); }

Handled Performance::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Handled answer = Dispatch(*this, kHandlers, message, wParam, lParam);
    if (answer.handled) return answer;
    return BalloonWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace qx
