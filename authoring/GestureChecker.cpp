#include "authoring/GestureChecker.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "base/FileIo.h"
#include "gesture/WaveInfo.h"
#include "image/GifBlocks.h"
#include "image/PackedDib.h"
#include "image/Picture.h"
#include "image/PictureRepair.h"
#include "playback/Duration.h"
#include "playback/TestRehearsal.h"

namespace qx {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kButtonSide = 20;
constexpr std::uint32_t kTickMs = kAnimationTimerPeriodMs;

std::string Num(long long value) { return std::to_string(value); }

std::string Seconds(std::uint32_t ms) {
    char text[32];
    const std::uint32_t hundredths = (ms + 5) / 10;
    std::snprintf(text, sizeof text, "%u.%02u s", hundredths / 100, hundredths % 100);
    return text;
}

std::string ColourText(const GestureSettings& s) {
    // Appended piece by piece: GCC 12 warns (-Wrestrict) on a literal + string chain here.
    std::string text = "(";
    text += Num(s.red);
    text += ", ";
    text += Num(s.green);
    text += ", ";
    text += Num(s.blue);
    text += ")";
    return text;
}

std::string Plural(long long n, const char* one, const char* many) { return Num(n) + " " + (n == 1 ? one : many); }

// --- pictures -------------------------------------------------------------

constexpr char kRepairOffer[] = " A repaired copy shows: Check Gesture offers one (or `qxmtool repair`).";

// Why a picture does not show, the rest of a sentence starting with its name,
// and after that sentence the offer of a repaired copy when one would show.
struct NotShown {
    std::string why;
    std::string offer;
};

struct Picture {
    std::optional<DibBlock> block;
    InfoHeader header;
    int width = 0;
    int height = 0;
};

Picture Decode(std::span<const std::uint8_t> bytes, std::size_t maxBytes, NotShown& notShown) {
    Picture picture;
    PictureResult result = DecodePicture(bytes.data(), bytes.size(), maxBytes);
    if (!result.block || result.block->size() < kInfoHeaderSize) {
        const PictureDiagnosis diagnosis = DiagnosePicture(bytes, maxBytes);
        notShown.why = diagnosis.reason;
        if (diagnosis.verdict == PictureVerdict::Repairable) notShown.offer = kRepairOffer;
        return picture;
    }
    picture.block = std::move(result.block);
    picture.header = ReadInfoHeader(picture.block->data());
    picture.width = picture.header.width;
    picture.height = std::abs(picture.header.height);
    return picture;
}

// How many pixels of each colour (0x00BBGGRR, as the transparent colour is
// compared) the columns 0 to columns - 1 of a decoded picture hold.
std::unordered_map<std::uint32_t, std::uint64_t> ColourUse(const Picture& picture, int columns) {
    std::unordered_map<std::uint32_t, std::uint64_t> use;
    const DibBlock& block = *picture.block;
    const InfoHeader& h = picture.header;
    const int bits = h.bitCount;
    const std::size_t stride = DibStride(h.width, bits);
    const std::size_t rows = RowsOffset(h);
    const std::uint8_t* table = block.data() + kInfoHeaderSize;
    const std::uint32_t entries = std::min<std::uint32_t>(h.clrUsed, kMaxColourEntries);
    columns = std::min(columns, picture.width);
    auto tableColour = [&](std::uint32_t index) -> std::uint32_t {
        if (index >= entries) return 0;
        const std::uint8_t* e = table + 4 * index;
        return e[2] | e[1] << 8 | e[0] << 16;
    };
    std::uint64_t indexUse[256] = {};
    for (int y = 0; y < picture.height; ++y) {
        const std::size_t start = rows + static_cast<std::size_t>(y) * stride;
        if (start + stride > block.size()) break;
        const std::uint8_t* row = block.data() + start;
        for (int x = 0; x < columns; ++x) {
            switch (bits) {
            case 1: ++indexUse[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: ++indexUse[(x % 2 ? row[x / 2] : row[x / 2] >> 4) & 0x0F]; break;
            case 8: ++indexUse[row[x]]; break;
            case 16: {
                const unsigned v = row[2 * x] | row[2 * x + 1] << 8;
                const std::uint32_t r = ((v >> 10) & 31) * 255 / 31, g = ((v >> 5) & 31) * 255 / 31,
                                    b = (v & 31) * 255 / 31;
                ++use[r | g << 8 | b << 16];
                break;
            }
            case 24:
            case 32: {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * (bits / 8);
                ++use[p[2] | p[1] << 8 | static_cast<std::uint32_t>(p[0]) << 16];
                break;
            }
            default: break;
            }
        }
    }
    for (std::uint32_t i = 0; i < 256; ++i) {
        if (indexUse[i]) use[tableColour(i)] += indexUse[i];
    }
    return use;
}

// --- the checks -----------------------------------------------------------

class Checker {
public:
    Checker(const CheckInput& input, std::size_t maxPictureBytes)
        : in_(input), s_(input.settings), maxPictureBytes_(maxPictureBytes) {}

    std::vector<Finding> Run() {
        findings_ = in_.problems;
        CheckName();
        CheckStrip();
        CheckButton();
        CheckSound();
        return std::move(findings_);
    }

private:
    void Add(Severity severity, std::string text) { findings_.push_back({severity, std::move(text)}); }

    bool Has(std::uint8_t flag) const { return (s_.flags & flag) != 0; }

    void CheckName() {
        if (s_.name.empty() && !in_.fromForm) {
            Add(Severity::Warning,
                "The gesture has no displayed name; the builder will not save it again without one.");
        }
    }

    void CheckStrip() {
        const int frameWidth = s_.frameWidth;
        if (in_.frameWidthUsable) {
            if (frameWidth == 0) {
                Add(Severity::Error,
                    "The frame width is 0: the gesture performs as its text alone, with no animation and no sound.");
                return;
            }
            if (frameWidth > 255) {
                Add(Severity::Warning, "The frame width " + Num(frameWidth) +
                                           " is above 255; the builder will not save the gesture again with it.");
            }
        }
        if (!in_.image) return;

        NotShown notShown;
        strip_ = Decode(*in_.image, maxPictureBytes_, notShown);
        if (!strip_.block) {
            Add(Severity::Error, "The animation strip " + notShown.why + "; no animation shows." + notShown.offer);
        }
        // An animation shows only its first image, also once repaired.
        const int images = WalkGif(*in_.image).images;
        if ((strip_.block || !notShown.offer.empty()) && images > 1) {
            Add(Severity::Warning, "The animation strip is an animated GIF of " + Num(images) +
                                       " pictures, and only the first one shows: the frames must stand "
                                       "side by side in one picture.");
        }
        if (!in_.frameWidthUsable) {
            if (strip_.block) {
                Add(Severity::Info,
                    "The animation strip is " + Num(strip_.width) + " x " + Num(strip_.height) + " pixels.");
            }
            return;
        }

        frameCount_ = strip_.width / frameWidth;
        int shownColumns = strip_.width;
        if (strip_.block) {
            if (frameCount_ == 0) {
                Add(Severity::Error, "The frame width (" + Num(frameWidth) + " pixels) is wider than the strip (" +
                                         Num(strip_.width) +
                                         " pixels): there is no whole frame, nothing but the "
                                         "first frame area shows, and the animation stops on the first tick.");
            } else {
                shownColumns = frameCount_ * frameWidth;
                Add(Severity::Info, Plural(frameCount_, "frame", "frames") + " of " + Num(frameWidth) + " x " +
                                        Num(strip_.height) + " pixels (the strip is " + Num(strip_.width) + " x " +
                                        Num(strip_.height) + ").");
                const int leftOver = strip_.width - shownColumns;
                if (leftOver > 0) {
                    Add(Severity::Warning, "The strip is " + Num(strip_.width) +
                                               " pixels wide, which is not a whole number of " + Num(frameWidth) +
                                               "-pixel frames: the " + Plural(leftOver, "column", "columns") +
                                               " right of the last whole frame never show.");
                }
            }
        }
        if (Has(GF_IMAGE_LOOP) && frameCount_ > 0 && s_.backToFrame >= frameCount_) {
            Add(Severity::Error, "The loop goes back to frame " + Num(s_.backToFrame) + ", but the frames are " +
                                     FrameRange() + ": the animation stops at its end instead of looping.");
        }
        if (Has(GF_AUDIO) && s_.audioStartFrame >= frameCount_ && !(frameCount_ == 0 && s_.audioStartFrame == 0)) {
            soundNeverStarts_ = true;
            Add(Severity::Error,
                "The sound starts on frame " + Num(s_.audioStartFrame) + ", but " +
                    (frameCount_ > 0 ? "the frames are " + FrameRange() : std::string("there are no frames")) +
                    ": the sound never plays.");
        }
        if (strip_.block && Has(GF_TRANSPARENT)) CheckTransparency(shownColumns);
        if (strip_.block && frameCount_ > 0) DescribeTest();
    }

    std::string FrameRange() const {
        return frameCount_ == 1 ? std::string("only frame 0") : "numbered 0 to " + Num(frameCount_ - 1);
    }

    void CheckTransparency(int shownColumns) {
        const std::uint32_t colour = s_.red | s_.green << 8 | static_cast<std::uint32_t>(s_.blue) << 16;
        const auto use = ColourUse(strip_, shownColumns);
        const auto found = use.find(colour);
        if (found == use.end()) {
            Add(Severity::Warning,
                "No pixel of the frames has the transparent colour " + ColourText(s_) + ": transparency does nothing.");
        } else if (use.size() == 1) {
            Add(Severity::Error, "Every pixel of the frames has the transparent colour " + ColourText(s_) +
                                     ": the animation is invisible.");
        }
    }

    void DescribeTest() {
        test_ = SimulateTest(s_, strip_.width, TestTicks());
        std::string order;
        const std::size_t shown =
            test_->finishedTick < 0 ? test_->frames.size() : static_cast<std::size_t>(test_->finishedTick);
        for (std::size_t i = 0; i < shown; ++i) {
            if (i) order += ' ';
            order += Num(test_->frames[i]);
        }
        std::string text = "A Test (" + Num(TestTicks()) + " ticks) shows frames " + order;
        if (test_->finishedTick >= 0) {
            text += ", then stays on frame " + Num(test_->frames.back()) + " from tick " + Num(test_->finishedTick);
        }
        Add(Severity::Info, text + ".");
    }

    void CheckButton() {
        if (!in_.button) return;
        NotShown notShown;
        const Picture button = Decode(*in_.button, maxPictureBytes_, notShown);
        if (!button.block) {
            Add(Severity::Error,
                "The palette button " + notShown.why + "; the palette shows an empty button." + notShown.offer);
        } else if (button.width != kButtonSide || button.height != kButtonSide) {
            Add(Severity::Warning, "The palette button is " + Num(button.width) + " x " + Num(button.height) +
                                       " pixels; the palette squeezes or stretches it into 20 x 20.");
        }
    }

    void CheckSound() {
        if (!Has(GF_AUDIO) || !in_.audio) return;
        const Bytes& audio = *in_.audio;
        if (audio.size() > kMaxAudioBytes && !in_.fromForm) {
            Add(Severity::Warning, "The sound is " + Num(static_cast<long long>(audio.size())) +
                                       " bytes; the builder will not save a gesture with a sound over 30000 bytes.");
        }
        if (audio.empty()) {
            Add(Severity::Error, "The sound is empty: nothing plays.");
            return;
        }
        const WaveInfo wave = ReadWaveInfo(audio);
        switch (wave.status) {
        case WaveStatus::NotWave:
            Add(Severity::Error,
                "The sound is not a WAVE file (it does not begin with \"RIFF\" and \"WAVE\"): "
                "it will not play.");
            return;
        case WaveStatus::NoFormat:
            Add(Severity::Error, "The sound's WAVE file has no format chunk: it will not play.");
            return;
        case WaveStatus::NoData:
            Add(Severity::Error, "The sound's WAVE file has no data chunk: it will not play.");
            return;
        case WaveStatus::Truncated:
            if (wave.hasData) {
                Add(Severity::Error, "The sound's WAVE file is cut short: its data should be " +
                                         Num(wave.dataDeclared) + " bytes but only " + Num(wave.dataPresent) +
                                         " are there, so it may not play at all.");
            } else {
                Add(Severity::Error, "The sound's WAVE file is cut short before its sample data: it will not play.");
                return;
            }
            break;
        case WaveStatus::Ok: break;
        }
        if (!wave.hasFormat) return;
        std::string text = "Sound: " + WaveFormatName(wave.formatTag) + ", " +
                           Plural(wave.channels, "channel", "channels") + ", " + Num(wave.sampleRate) + " Hz";
        if (wave.bitsPerSample) text += ", " + Num(wave.bitsPerSample) + " bits";
        text += ", " + Seconds(wave.DurationMs()) + " (" + Num(static_cast<long long>(audio.size())) +
                " of at most 30000 bytes).";
        Add(Severity::Info, text);
        if (wave.channels == 0 || wave.sampleRate == 0 || wave.byteRate == 0 || wave.blockAlign == 0) {
            Add(Severity::Error, "The sound's header states no channels, rate or sample size: it will not play.");
            return;
        }
        if (wave.formatTag != kWavePcm) {
            Add(Severity::Warning, "The sound is " + WaveFormatName(wave.formatTag) +
                                       ", which plays only where the system has a codec for it; PCM plays everywhere.");
        }
        DescribeSoundStarts(wave.DurationMs());
    }

    void DescribeSoundStarts(std::uint32_t durationMs) {
        if (!test_ || soundNeverStarts_) return;
        const std::vector<int>& ticks = test_->soundTicks;
        if (ticks.empty()) {
            Add(Severity::Info, "A Test ends before frame " + Num(s_.audioStartFrame) +
                                    " comes up, so the sound does not play in a Test.");
            return;
        }
        std::string list;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            list += (i ? ", " : "") + Num(ticks[i]) + (ticks[i] == 0 ? " (as the balloon opens)" : "");
        }
        Add(Severity::Info, ticks.size() == 1
                                ? "In a Test the sound starts on tick " + list + "."
                                : "In a Test the sound starts " + Num(static_cast<long long>(ticks.size())) +
                                      " times, on ticks " + list + ".");
        int shortest = 0;
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            const int gap = ticks[i] - ticks[i - 1];
            if (shortest == 0 || gap < shortest) shortest = gap;
        }
        const std::uint32_t gapMs = static_cast<std::uint32_t>(shortest) * kTickMs;
        if (shortest == 0 || durationMs <= gapMs) return;
        const std::string cut = "so only its first " + Seconds(gapMs) + " of " + Seconds(durationMs) +
                                " is heard; tick \"Start Audio Only Once\" to hear it whole, once.";
        if (shortest == 1) {
            Add(Severity::Warning,
                "The sound restarts on every tick while frame " + Num(s_.audioStartFrame) + " stays shown, " + cut);
        } else {
            Add(Severity::Warning, "The loop brings frame " + Num(s_.audioStartFrame) + " back every " + Num(shortest) +
                                       " ticks and restarts the sound each time, " + cut);
        }
    }

    const CheckInput& in_;
    const GestureSettings& s_;
    std::size_t maxPictureBytes_;
    std::vector<Finding> findings_;
    Picture strip_;
    int frameCount_ = 0;
    bool soundNeverStarts_ = false;
    std::optional<TestRun> test_;
};

std::optional<Bytes> ReadSection(const std::string& path, const std::string& cannotOpen,
                                 std::vector<Finding>& problems) {
    Bytes bytes;
    if (ReadWholeFile(path, bytes, kMaxSectionLength) == FileReadStatus::Ok) return bytes;
    const Finding finding{Severity::Error, cannotOpen + "'" + path + "'"};
    if (std::find(problems.begin(), problems.end(), finding) == problems.end()) problems.push_back(finding);
    return std::nullopt;
}

}  // namespace

std::string_view ToString(Severity severity) {
    switch (severity) {
    case Severity::Info: return "info";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "info";
}

CheckInput CheckInputFromContents(const GestureFileContents& contents) {
    CheckInput input;
    input.settings = contents.settings;
    input.button = contents.button;
    input.image = contents.image;
    if (contents.settings.flags & GF_AUDIO) input.audio = contents.audio;
    return input;
}

CheckInput CheckInputFromForm(const GestureForm& form) {
    CheckInput input;
    input.fromForm = true;
    input.settings = FormSettings(form);
    const int frameWidth = FormNumber(form.frameWidth);
    input.frameWidthUsable = frameWidth >= 1 && frameWidth <= 255;
    if (auto message = ValidateGestureForm(form)) input.problems.push_back({Severity::Error, *message});
    // The validation stops at the first file it cannot open; the others are
    // still worth checking, and a second unreadable one worth naming.
    input.image = ReadSection(form.animationFile, "Can not open image file: ", input.problems);
    input.button = ReadSection(form.buttonImageFile, "Can not open palette button image file: ", input.problems);
    if (!form.audioFile.empty()) {
        input.audio = ReadSection(form.audioFile, "Can not open audio file: ", input.problems);
    }
    return input;
}

std::vector<Finding> CheckGesture(const CheckInput& input, std::size_t maxPictureBytes) {
    return Checker(input, maxPictureBytes).Run();
}

std::vector<Finding> CheckGestureBytes(std::span<const std::uint8_t> fileBytes, std::size_t maxPictureBytes) {
    GestureFileContents contents;
    switch (ReadGestureFile(fileBytes, contents)) {
    case GestureReadStatus::Ok: return CheckGesture(CheckInputFromContents(contents), maxPictureBytes);
    case GestureReadStatus::NotGesture:
        return {{Severity::Error, fileBytes.empty() ? "The file is empty: it is not a gesture file."
                                                    : "This is not a gesture file: it does not begin with \"QXMG\"."}};
    case GestureReadStatus::Newer:
        return {{Severity::Error, "The gesture file is of a newer version than \"0100\"; it is not read."}};
    case GestureReadStatus::Truncated:
        return {{Severity::Error, "The gesture file is cut short: it ends before its last section is complete."}};
    }
    return {};
}

std::string FormatFindings(const std::vector<Finding>& findings, std::string_view indent) {
    std::string text;
    for (const Finding& f : findings) {
        text += indent;
        text += ToString(f.severity);
        text += ": ";
        text += f.text;
        text += '\n';
    }
    return text;
}

Severity WorstSeverity(const std::vector<Finding>& findings) {
    Severity worst = Severity::Info;
    for (const Finding& f : findings) worst = std::max(worst, f.severity);
    return worst;
}

}  // namespace qx
