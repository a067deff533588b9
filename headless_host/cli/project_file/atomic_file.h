// Files written whole or not at all, so that a failed run leaves no
// partial output behind.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace knotwell::project_file {

// Writes `text` under a temporary name in the file's folder and renames it
// into place. Returns a message for the user when that failed (the folder
// missing or unwritable, the disk full); nothing is left behind then.
std::optional<std::string> WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

}  // namespace knotwell::project_file
