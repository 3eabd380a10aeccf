#include "playback/PerformanceManager_win.h"

#include <algorithm>
#include <utility>

#include "platform/Controls_win.h"
#include "platform/Gdi_win.h"
#include "platform/Seams_win.h"
#include "playback/BalloonGeometry.h"

namespace qx {
namespace {

// The parent's client area in screen coordinates.
Rect ClientBounds(HWND parent) {
    RECT client{};
    GetClientRect(parent, &client);
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    return {client.left + origin.x, client.top + origin.y, client.right + origin.x, client.bottom + origin.y};
}

}  // namespace

PerformanceManager::~PerformanceManager() { Shutdown(); }

void PerformanceManager::Start(HWND anchor, HWND parent, int baseTicks, COLORREF colour, int fontSize,
                               const std::string& text, const Gesture* gesture) {
    if (text.empty() && !gesture) return;
    StopForAnchor(anchor, false);
    if (entries_.empty()) {
        // An empty list may still have the timer running until its next
        // tick; setting it again only restarts its period.
        timerId_ = SetTimer(owner_, kAnimationTimerId, kAnimationTimerPeriodMs, nullptr);
        if (timerId_ == 0) return;
    }

    auto performance = std::make_unique<Performance>(*this, fontSize);
    performance->SetColour(colour);
    if (!performance->CreateBalloon(parent)) return;

    const Rect anchorRect = ScreenRect(anchor);
    const Rect bounds = ClientBounds(parent);
    const BalloonSide preferred = ChooseSide(bounds, anchor);
    performance->Setup(bounds, anchorRect, anchor, text, gesture, preferred);
    if (performance->Side() == BalloonSide::NoSide) {
        performance->DestroyBalloon();
        if (soundOwner_ == performance.get()) StopSound();
        return;
    }

    InvalidateRect(anchor, nullptr, FALSE);
    const int duration = PerformanceDuration(baseTicks, text.size());
    const BalloonSide side = performance->Side();
    entries_.push_back(std::make_unique<PerformanceEntry>(
        PerformanceEntry{anchor, std::move(performance), PerformanceClock(duration), side}));
}

PerformanceManager::Ended PerformanceManager::End(std::size_t index) {
    std::unique_ptr<PerformanceEntry> entry = std::move(entries_[index]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    const bool ownedSound = soundOwner_ != nullptr && soundOwner_ == entry->performance.get();
    entry->performance->DestroyBalloon();
    entry->performance.reset();
    return {entry->anchor, ownedSound};
}

void PerformanceManager::Tick(UINT_PTR timerId) {
    if (timerId_ == 0 || timerId != timerId_) return;
    for (std::size_t i = 0; i < entries_.size();) {
        PerformanceEntry& entry = *entries_[i];
        if (entry.clock.Tick()) {
            ++i;
            entry.performance->Advance();
            continue;
        }
        InvalidateRect(entry.anchor, nullptr, TRUE);
        if (End(i).ownedSound) StopSound();
    }
    if (entries_.empty()) {
        KillTimer(owner_, timerId_);
        timerId_ = 0;
    }
}

void PerformanceManager::StopForAnchor(HWND anchor, bool noRepaint) {
    const auto found = std::find_if(entries_.begin(), entries_.end(),
                                    [anchor](const auto& entry) { return entry->anchor == anchor; });
    if (found == entries_.end()) return;
    const Ended ended = End(static_cast<std::size_t>(found - entries_.begin()));
    if (!noRepaint) InvalidateRect(ended.anchor, nullptr, TRUE);
    if (ended.ownedSound) StopSound();
}

void PerformanceManager::Remove(const BalloonWindow* balloon) {
    if (soundOwner_ != nullptr && soundOwner_ == balloon) StopSound();
    const auto found = std::find_if(entries_.begin(), entries_.end(), [balloon](const auto& entry) {
        return static_cast<const BalloonWindow*>(entry->performance.get()) == balloon;
    });
    if (found == entries_.end()) return;
    const Ended ended = End(static_cast<std::size_t>(found - entries_.begin()));
    InvalidateRect(ended.anchor, nullptr, TRUE);
}

void PerformanceManager::Shutdown() {
    while (!entries_.empty()) End(0);
    StopSound();
}

void PerformanceManager::SetSound(const Performance* owner, const std::uint8_t* bytes, std::size_t length) {
    StopSound();
    soundBuffer_.emplace(bytes, bytes + length);
    soundOwner_ = owner;
}

void PerformanceManager::PlaySound(const Performance* performance) {
    if (performance == nullptr || performance != soundOwner_ || !soundBuffer_) return;
    Sound().Stop();
    Sound().Play(soundBuffer_->data(), soundBuffer_->size());
}

void PerformanceManager::StopSound() {
    if (!soundBuffer_) return;
    // The platform plays straight from the buffer: stop before freeing it.
    Sound().Stop();
    soundBuffer_.reset();
    soundOwner_ = nullptr;
}

BalloonSide PerformanceManager::ChooseSide(const Rect& bounds, HWND anchor) const {
    std::vector<Rect> others;
    others.reserve(entries_.size());
    for (const auto& entry : entries_) others.push_back(ScreenRect(entry->performance->hwnd()));
    return qx::ChooseSide(bounds, ScreenRect(anchor), others);
}

void PerformanceManager::DrawTails(HWND anchor, HDC dc) const {
    RECT client{};
    GetClientRect(anchor, &client);
    for (const auto& entry : entries_) {
        if (entry->anchor != anchor) continue;
        const Tail tail = TailFor(entry->side, {client.right, client.bottom});
        POINT polygon[4];
        for (std::size_t i = 0; i < tail.polygon.size(); ++i) polygon[i] = {tail.polygon[i].x, tail.polygon[i].y};
        const OwnedRegion region(CreatePolygonRgn(polygon, 4, ALTERNATE));
        const OwnedBrush brush(CreateSolidBrush(entry->performance->Colour()));
        if (region && brush) FillRgn(dc, region.get(), brush.get());
        SelectGuard pen(dc, GetStockObject(BLACK_PEN));
        MoveToEx(dc, tail.line[0].x, tail.line[0].y, nullptr);
        LineTo(dc, tail.line[1].x, tail.line[1].y);
        LineTo(dc, tail.line[2].x, tail.line[2].y);
    }
}

}  // namespace qx
