#include "authoring/BuilderModel.h"

namespace qx {

FormEnabling EnablingAfter(FormChange change, const FormChecks& checks, const FormEnabling& before) {
    FormEnabling after = before;
    switch (change) {
    case FormChange::Reset:
        after = FormEnabling{};
        break;
    case FormChange::Transparent:
        after.colour = checks.transparent;
        break;
    case FormChange::ImageLoop:
        after.backToFrame = checks.imageLoop;
        after.audioOnce = checks.imageLoop && checks.soundNamed;
        break;
    case FormChange::AudioFile:
        after.audioStartFrame = checks.soundNamed;
        after.audioOnce = checks.imageLoop && checks.soundNamed;
        break;
    case FormChange::Opened:
        after.colour = checks.transparent;
        after.backToFrame = checks.imageLoop;
        after.audioOnce = checks.soundNamed;
        break;
    }
    return after;
}

std::string BuilderModel::TempGesturePath() const { return TempPath(std::string(kTempGestureBaseName) + ".qxm"); }

std::vector<std::string> BuilderModel::TempFiles() const {
    return {TempPath(kTempAnimationName), TempPath(kTempButtonImageName), TempPath(kTempAudioName),
            TempGesturePath()};
}

void BuilderModel::MakeUntitled() {
    fileTitle = "[Untitled]";
    untitled = 1;
    dirty = 0;
}

void BuilderModel::MakeTitled(const std::string& path, const std::string& title) {
    filePath = path;
    fileTitle = title;
    untitled = 0;
    dirty = 0;
}

bool BuilderModel::ConfirmDiscard(const std::function<SaveAnswer()>& ask, const std::function<bool()>& save) const {
    if (!dirty) return true;
    switch (ask()) {
    case SaveAnswer::Yes:
        return save();
    case SaveAnswer::No:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

}  // namespace qx
