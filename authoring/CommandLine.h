// The builder's command line: switches ("-..." or "/...") are ignored and
// the first other argument names a gesture file to open at start-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qx {

// Splits a Windows command line into arguments, program name first, by the
// usual rules: blanks separate, double quotes group, 2n backslashes before a
// quote give n backslashes and a quote, 2n+1 give n and a literal quote.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

// The first argument after the program name that is not a switch, or "".
std::string FileArgument(const std::vector<std::string>& arguments);

}  // namespace qx
