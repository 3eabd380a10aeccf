#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "authoring/GestureForm.h"
#include "gesture/GestureReader.h"
#include "tests/support/TestFiles.h"

namespace qx {
namespace {

using test::Bytes;

const Bytes kButton{'G', 'I', 'F', '8', '9', 'a', 1};
const Bytes kImage{'G', 'I', 'F', '8', '9', 'a', 2, 3};

// A form whose section files exist, in a directory of the test's own.
class FormFiles : public ::testing::Test {
protected:
    FormFiles() { std::filesystem::create_directory(folder_); }

    GestureForm ValidForm() const {
        return {.name = "Wave", .frameWidth = "40", .red = "", .green = "", .blue = "", .backToFrame = "300",
                .audioStartFrame = "7", .animationFile = image_, .buttonImageFile = button_, .audioFile = audio_};
    }

    test::TempDir dir_;
    const std::string image_ = dir_.Write("strip.gif", kImage);
    const std::string button_ = dir_.Write("button.gif", kButton);
    const std::string audio_ = dir_.Write("sound.wav", Bytes(30000, 'w'));
    const std::string big_ = dir_.Write("big.wav", Bytes(30001, 'w'));
    const std::string missing_ = dir_.PathOf("missing.gif");
    const std::string folder_ = dir_.PathOf("folder");
};

// Each refused row breaks one thing more than the rows below it fix, so
// only the first problem in the checking order may be reported. Colour and
// frame numbers are never checked, whatever the check boxes say.
TEST_F(FormFiles, ValidationReportsOnlyTheFirstProblemInOrder) {
    const std::string name254(254, 'n'), name255(255, 'n');
    // Name, frame width, picture, button and sound files, the problem reported.
    const std::tuple<std::string, std::string, std::string, std::string, std::string, std::optional<std::string>>
        cases[] = {
        {"", "0", missing_, missing_, missing_, "Displayed name must be specified"},
        {name255, "", missing_, missing_, missing_, "Displayed name must be shorter than 255 characters"},
        {name254, "256", missing_, missing_, missing_, "Frame width must be between 1 to 255"},
        {"W", "0", image_, button_, audio_, "Frame width must be between 1 to 255"},
        {"W", "1", missing_, missing_, missing_, "Can not open image file: '" + missing_ + "'"},
        {"W", "1", image_, missing_, big_, "Can not open palette button image file: '" + missing_ + "'"},
        {"W", "1", image_, button_, missing_, "Can not open audio file: '" + missing_ + "'"},
        {"W", "1", image_, button_, folder_, "Can not open audio file: '" + folder_ + "'"},
        {"W", "1", image_, button_, big_, "The audio file size can not be greater than 30000 bytes"},
        {name254, "255", image_, button_, audio_, std::nullopt},  // a sound of exactly 30000 bytes
        {"W", " +8px", image_, button_, "", std::nullopt},         // no sound; the width read as a number
    };
    for (const auto& [name, frameWidth, animation, button, audio, expected] : cases) {
        const GestureForm form{.name = name, .frameWidth = frameWidth, .red = "-7", .green = "", .blue = "",
                               .backToFrame = "9999", .audioStartFrame = "", .animationFile = animation,
                               .buttonImageFile = button, .audioFile = audio, .transparent = true, .imageLoop = true};
        EXPECT_EQ(ValidateGestureForm(form), expected) << expected.value_or("accepted");
    }
}

// The file is built from the form and its sections, or not at all, naming
// the section file that cannot be read.
TEST_F(FormFiles, BuildsTheFileOrNamesTheSectionFileThatCannotBeRead) {
    const Bytes audio{'R', 'I', 'F', 'F', 9};
    GestureForm form = ValidForm();
    form.imageLoop = true;
    form.audioOnce = true;
    for (const bool sound : {false, true}) {
        SCOPED_TRACE(sound ? "with sound" : "without sound");
        form.audioFile = sound ? dir_.Write("short.wav", audio) : "";
        Bytes bytes;
        ASSERT_EQ(BuildGestureFile(form, bytes), std::nullopt);
        GestureFileContents contents;
        ASSERT_EQ(ReadGestureFile(bytes, contents), GestureReadStatus::Ok);
        EXPECT_EQ(std::tuple(contents.settings, contents.button, contents.image, contents.audio),
                  std::tuple(FormSettings(form), kButton, kImage, sound ? audio : Bytes{}));
    }

    const std::tuple<std::string GestureForm::*, std::string, std::string> cases[] = {
        {&GestureForm::buttonImageFile, folder_, "Can not read file: '" + folder_ + "'"},
        {&GestureForm::animationFile, missing_, "Can not read file: '" + missing_ + "'"},
        {&GestureForm::audioFile, folder_, "Can not read file: '" + folder_ + "'"},
        {&GestureForm::audioFile, big_, "The audio file size can not be greater than 30000 bytes"},
    };
    for (const auto& [member, path, message] : cases) {
        GestureForm broken = ValidForm();
        broken.*member = path;
        Bytes bytes{1, 2, 3};
        EXPECT_EQ(BuildGestureFile(broken, bytes), message);
        EXPECT_TRUE(bytes.empty()) << message;
    }
}

}  // namespace
}  // namespace qx
