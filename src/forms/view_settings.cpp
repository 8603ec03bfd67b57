#include "forms/view_settings.h"

#include <utility>

namespace quillon::forms {

namespace {

std::shared_ptr<ViewSettings>& installed() {
  static std::shared_ptr<ViewSettings> settings;
  return settings;
}

}  // namespace

std::shared_ptr<ViewSettings> currentViewSettings() {
  return installed();
}

std::shared_ptr<ViewSettings> setViewSettings(std::shared_ptr<ViewSettings> settings) {
  return std::exchange(installed(), std::move(settings));
}

}  // namespace quillon::forms
