// What the qxmtool commands share: reading inputs with messages that name
// the file and say what is wrong with it, and writing outputs so that a
// failure never leaves a partial file behind.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gesture/GestureReader.h"

namespace qx::tool {

// Exit statuses shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an input or output could not be used
inline constexpr int kExitUsage = 2;   // the command line itself is wrong

// Prints "qxmtool: " + message to stderr.
void PrintError(std::string_view message);

// A file's bytes, or nothing with why not ("no such file or not readable",
// "is a directory" ...).
std::optional<std::vector<std::uint8_t>> ReadInputFile(const std::string& path, std::string& whyNot);

// Why a gesture file could not be read, as a phrase: "is not a gesture file
// (it does not begin with \"QXMG\")" and so on.
std::string_view ReadFailureText(GestureReadStatus status);

// Reads a whole gesture file; on failure prints "qxmtool: PATH: why" and
// returns false.
bool LoadGestureFile(const std::string& path, GestureFileContents& contents,
                     std::vector<std::uint8_t>* fileBytes = nullptr);

// Writes bytes to a new file beside path and moves it over path only when it
// is complete, so path is either the whole new file or as it was before.
// On failure, the reason, and nothing is left behind.
std::optional<std::string> WriteFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A decimal number: an optional sign and digits only, within the int range.
std::optional<int> ParseNumber(std::string_view text);

}  // namespace qx::tool
