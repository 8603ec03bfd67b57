// Chinese words the demo generator builds names from: item nouns and specifications, company
// name parts, regions and personal names.
#pragma once

#include <span>
#include <string_view>

namespace quillon::db::words {

std::span<const std::string_view> materialNouns();
std::span<const std::string_view> materialPrefixes();
std::span<const std::string_view> companyCores();
std::span<const std::string_view> companyTrades();
std::span<const std::string_view> regions();
std::span<const std::string_view> surnames();
std::span<const std::string_view> givenNames();
std::span<const std::string_view> banks();
std::span<const std::string_view> streets();

}  // namespace quillon::db::words
