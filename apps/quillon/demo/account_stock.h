// The stock lines a person can try the current-stock reference on: every warehouse and item of an
// account database that has stock to take.
#pragma once

#include <string>
#include <vector>

namespace quillon::cli::demo {

struct StockedLine {
  std::string warehouse;
  std::string warehouseName;
  std::string item;
  std::string itemName;
};

// Warehouse and item pairs with at least one current-stock row above zero, ordered by warehouse
// then item; names are empty when the archives lack them. A file that is no account database
// throws std::runtime_error with the reason.
std::vector<StockedLine> stockedLines(const std::string& databasePath);

}  // namespace quillon::cli::demo
