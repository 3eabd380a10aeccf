#include <windows.h>

#include "app/BuilderApp_win.h"
#include "authoring/CommandLine.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return qx::BuilderApp::Run(qx::SplitCommandLine(GetCommandLineA()));
}
