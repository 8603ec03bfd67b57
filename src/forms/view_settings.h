// ViewSettings: what the drawn windows keep of the way a person arranged them — where a window
// stood and how large it was, the widths he dragged a list's columns to — for the user of the
// session and the form. Items are texts by form name and item name; what they hold is the
// renderer's business. Without a store nothing is kept (headless runs never arrange anything).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quillon::forms {

class ViewSettings {
 public:
  virtual ~ViewSettings() = default;
  virtual std::optional<std::string> read(std::string_view form, std::string_view item) = 0;
  virtual void write(std::string_view form, std::string_view item, std::string_view text) = 0;
};

// The current store; null when none is installed.
std::shared_ptr<ViewSettings> currentViewSettings();
// Installs a store (null: none) and returns the previous one.
std::shared_ptr<ViewSettings> setViewSettings(std::shared_ptr<ViewSettings> settings);

}  // namespace quillon::forms
