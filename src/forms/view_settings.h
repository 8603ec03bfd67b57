// ViewSettings: what the drawn windows keep of the way a person arranged them — where a window
// stood and how large it was, the widths he dragged a list's columns to — for the user of the
// session and the form. Items are texts by form name and item name; what they hold is the
// renderer's business. Without a store nothing is kept (headless runs never arrange anything).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::forms {

class ViewSettings {
 public:
  virtual ~ViewSettings() = default;
  virtual std::optional<std::string> read(std::string_view form, std::string_view item) = 0;
  virtual void write(std::string_view form, std::string_view item, std::string_view text) = 0;
  // Writes several items of a form together; a store that can keeps them in one write.
  using Item = std::pair<std::string, std::string>;  // item name, text
  virtual void writeAll(std::string_view form, const std::vector<Item>& items) {
    for (const auto& [item, text] : items) write(form, item, text);
  }
};

// The current store; null when none is installed.
std::shared_ptr<ViewSettings> currentViewSettings();
// Installs a store (null: none) and returns the previous one.
std::shared_ptr<ViewSettings> setViewSettings(std::shared_ptr<ViewSettings> settings);

}  // namespace quillon::forms
