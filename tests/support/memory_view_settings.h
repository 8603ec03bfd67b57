// The user's view settings kept in memory for the length of a test, installed over the current
// store and put back after; and a host through which a person (not a script) works the forms.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "forms/view_settings.h"
#include "support/recording_ui_host.h"

namespace quillon::test_support {

class MemoryViewSettings final : public forms::ViewSettings {
 public:
  std::optional<std::string> read(std::string_view form, std::string_view item) override {
    const auto it = items.find(std::string(form) + "/" + std::string(item));
    if (it == items.end()) return std::nullopt;
    return it->second;
  }
  void write(std::string_view form, std::string_view item, std::string_view text) override {
    items[std::string(form) + "/" + std::string(item)] = std::string(text);
  }
  std::map<std::string, std::string> items;
};

// Installs `settings` for its life.
class ScopedViewSettings {
 public:
  explicit ScopedViewSettings(std::shared_ptr<forms::ViewSettings> settings)
      : previous_(forms::setViewSettings(std::move(settings))) {}
  ~ScopedViewSettings() { forms::setViewSettings(previous_); }
  ScopedViewSettings(const ScopedViewSettings&) = delete;
  ScopedViewSettings& operator=(const ScopedViewSettings&) = delete;

 private:
  std::shared_ptr<forms::ViewSettings> previous_;
};

class PersonUiHost final : public RecordingUiHost {
 public:
  bool remembersFilters() const override { return true; }
};

}  // namespace quillon::test_support
