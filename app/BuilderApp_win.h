// Start-up: the application runs the builder window modally and ends with it.
#pragma once

#include <string>
#include <vector>

namespace qx {

class BuilderApp {
public:
    // Runs the program with its arguments (program name first); returns the
    // process exit code.
    static int Run(const std::vector<std::string>& arguments);
};

}  // namespace qx
