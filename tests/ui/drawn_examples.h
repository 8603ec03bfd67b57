// What the tests that run the example host scripts drawn share: the library's classes registered,
// an example's text, and a fresh demo account for a run.
#pragma once

#include <filesystem>
#include <string>

namespace quillon::ui::qt::testing {

// Registers every creatable class of the library and the suite once per process.
void registerEverything();

// The text of examples/<name> ("" when it cannot be read).
std::string readExample(const std::string& name);

// A scale-1 demo account (with its documents) at `path`, the folder made when missing.
void makeDemoAccount(const std::filesystem::path& path);

}  // namespace quillon::ui::qt::testing
