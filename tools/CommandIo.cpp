#include "tools/CommandIo.h"

#include <cstdio>
#include <filesystem>
#include <new>
#include <system_error>

#include "base/FileIo.h"
#include "base/ReplaceFile.h"

namespace qx::tool {

namespace {

// Larger than any gesture the readers take (three sections below 2 GB each
// would not fit in memory anyway); a bigger file is refused before reading.
constexpr std::uint64_t kMaxInputBytes = std::uint64_t{1} << 31;

}  // namespace

void PrintError(std::string_view message) {
    std::fprintf(stderr, "qxmtool: %.*s\n", static_cast<int>(message.size()), message.data());
}

std::optional<std::vector<std::uint8_t>> ReadInputFile(const std::string& path, std::string& whyNot) {
    std::vector<std::uint8_t> bytes;
    FileReadStatus status = FileReadStatus::TooLarge;
    try {
        status = ReadWholeFile(path, bytes, kMaxInputBytes);
    } catch (const std::bad_alloc&) {
    }
    switch (status) {
    case FileReadStatus::Ok: return bytes;
    case FileReadStatus::CannotOpen: {
        std::error_code ec;
        whyNot = std::filesystem::is_directory(path, ec) ? "is a directory, not a file"
                                                         : "cannot be opened (no such file, or not readable)";
        return std::nullopt;
    }
    case FileReadStatus::TooLarge: whyNot = "is too large"; return std::nullopt;
    case FileReadStatus::ReadFailed: whyNot = "could not be read"; return std::nullopt;
    }
    return std::nullopt;
}

std::string_view ReadFailureText(GestureReadStatus status) {
    switch (status) {
    case GestureReadStatus::Ok: return "is a gesture file";
    case GestureReadStatus::NotGesture: return "is not a gesture file (it does not begin with \"QXMG\")";
    case GestureReadStatus::Newer: return "is a gesture file of a newer version than \"0100\"";
    case GestureReadStatus::Truncated: return "is cut short (it ends before its last section is complete)";
    }
    return "cannot be read";
}

bool LoadGestureFile(const std::string& path, GestureFileContents& contents, std::vector<std::uint8_t>* fileBytes) {
    std::string whyNot;
    auto bytes = ReadInputFile(path, whyNot);
    if (!bytes) {
        PrintError(path + ": " + whyNot);
        return false;
    }
    const GestureReadStatus status = ReadGestureFile(*bytes, contents);
    if (status != GestureReadStatus::Ok) {
        PrintError(path + ": " + std::string(ReadFailureText(status)));
        return false;
    }
    if (fileBytes) *fileBytes = std::move(*bytes);
    return true;
}

std::optional<std::string> WriteFileWhole(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    switch (ReplaceFileWhole(path, bytes)) {
    case ReplaceResult::Replaced: return std::nullopt;
    case ReplaceResult::CannotCreate: return "cannot be created";
    case ReplaceResult::CannotWrite: return "could not be written completely";
    case ReplaceResult::CannotPlace: return "could not be written";
    }
    return "could not be written";
}

std::optional<int> ParseNumber(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483647LL) return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace qx::tool
