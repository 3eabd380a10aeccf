// The builder's form model: what the builder window knows about the gesture
// being edited besides its controls' contents (the files its sections come
// from, where it was saved, whether it has unsaved changes), the rules that
// enable the form's dependent fields, and the decision of the question asked
// before unsaved work is dropped. The window holds one and reads and writes
// it; everything here is decided without a window.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qx {

// The three temporary section files of an opened gesture and the temporary
// gesture of Test, all in the model's tempDirectory.
inline constexpr const char* kTempAnimationName = "~tempqxm.gif";
inline constexpr const char* kTempButtonImageName = "~tempqxmb.gif";
inline constexpr const char* kTempAudioName = "~tempqxm.wav";
inline constexpr const char* kTempGestureBaseName = "~tempqxm";

// What the form's enabling depends on.
struct FormChecks {
    bool transparent = false;
    bool imageLoop = false;
    bool soundNamed = false;  // the audio file edit is not empty
};

// Which dependent fields are enabled.
struct FormEnabling {
    bool colour = false;  // red, green and blue
    bool backToFrame = false;
    bool audioOnce = false;
    bool audioStartFrame = false;

    bool operator==(const FormEnabling&) const = default;
};

// What just happened to the form.
enum class FormChange {
    Reset,        // New: every field emptied, every box cleared
    Transparent,  // the transparent box clicked
    ImageLoop,    // the loop box clicked
    AudioFile,    // the audio file edit changed
    Opened,       // a gesture file filled the form
};

// The enabling after a change, from the checks as they are now and the
// enabling before it; a field a change does not concern keeps its state.
// Opening leaves the start-frame edit as it was (the audio edit is filled
// while loading, which its update handler ignores) and enables "audio once"
// whenever the gesture has a sound, looping or not.
FormEnabling EnablingAfter(FormChange change, const FormChecks& checks, const FormEnabling& before);

// The answers to "Save changes to gesture?".
enum class SaveAnswer { Yes, No, Cancel };

struct BuilderModel {
    // The path members: the files the form's sections come from, and the
    // gesture file the form was opened from or saved to.
    std::string animationFile;
    std::string audioFile;
    std::string buttonImageFile;
    std::string filePath;
    std::string fileTitle = "[Untitled]";
    std::string titleSuffix = " - Quixmoor Gesture";
    std::string tempDirectory;
    std::string paletteDirectory = "c:\\temp";
    // A gesture named on the command line, opened once the window is up.
    std::string commandLineFile;
    int untitled = 1;
    int dirty = 0;
    // While set, text set into the path edits leaves the path members alone.
    int loading = 0;

    std::string Caption() const { return fileTitle + titleSuffix; }
    // The temporary file path for a name: tempDirectory + "\" + name.
    std::string TempPath(const std::string& name) const { return tempDirectory + "\\" + name; }
    std::string TempGesturePath() const;
    // Every temporary file the builder may have made.
    std::vector<std::string> TempFiles() const;

    // New: nothing is named, nothing is unsaved.
    void MakeUntitled();
    // The form now stands for the gesture file at path, saved.
    void MakeTitled(const std::string& path, const std::string& title);

    // Whether the unsaved work may be dropped: true at once when nothing is
    // unsaved; otherwise ask() is asked, and Yes saves first and lets the work
    // go only when save() succeeded, No lets it go, Cancel keeps it.
    bool ConfirmDiscard(const std::function<SaveAnswer()>& ask, const std::function<bool()>& save) const;
};

}  // namespace qx
