#include "app/BuilderApp_win.h"

#include <windows.h>
#include <commctrl.h>

#include "app/BuilderDialog_win.h"
#include "authoring/CommandLine.h"

namespace qx {

int BuilderApp::Run(const std::vector<std::string>& arguments) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    BuilderDialog builder;
    const std::string file = FileArgument(arguments);
    if (!file.empty()) builder.model.commandLineFile = file;
    builder.RunModal(nullptr);
    return 0;
}

}  // namespace qx
