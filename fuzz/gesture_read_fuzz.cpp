// The builder's reader on arbitrary bytes: whatever it accepts must survive
// being written back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <span>

#include "gesture/GestureFormat.h"
#include "gesture/GestureReader.h"

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qx::GestureFileContents contents;
    contents.settings.name = "untouched";
    const qx::GestureReadStatus status = qx::ReadGestureFile(std::span(data, size), contents);
    if (status != qx::GestureReadStatus::Ok) {
        Require(contents.settings.name == "untouched" && contents.button.empty());
        return 0;
    }
    Require(((contents.settings.flags & qx::GF_AUDIO) != 0) || contents.audio.empty());

    const auto rewritten =
        qx::WriteGestureFile(contents.settings, contents.button, contents.image, contents.audio);
    Require(rewritten.size() <= size);
    qx::GestureFileContents again;
    Require(qx::ReadGestureFile(rewritten, again) == qx::GestureReadStatus::Ok);
    Require(again.settings == contents.settings);
    Require(again.button == contents.button && again.image == contents.image && again.audio == contents.audio);
    return 0;
}
