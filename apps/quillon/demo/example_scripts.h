// The example host scripts the demo window offers, and the part of one a person plays by hand.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon::cli::demo {

// The *.qhs files of `dir`, sorted by name; none when the folder is missing.
std::vector<std::filesystem::path> exampleScripts(const std::filesystem::path& dir);

// The whole file; nullopt when it cannot be read.
std::optional<std::string> readScriptFile(const std::filesystem::path& path);

// What a script says it does: the comment lines it starts with, without their "#" and the blank
// after it, one per line ("" when it starts with no comment). The first of them is its title.
std::string scriptComment(const std::string& script);
std::string scriptTitle(const std::string& script);

// The host lines of a script, for a person to do the dialog work: on-blocks, queued answers and
// expectations are blanked (line numbers stay, so the transcript still names the right lines),
// except those about $error, which decide whether an error raised by the line before stops the
// script.
std::string hostLinesOnly(const std::string& script);

}  // namespace quillon::cli::demo
