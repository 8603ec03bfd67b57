#include "ui/qt/application.h"

#include <QApplication>
#include <QFont>
#include <cstdlib>

namespace quillon::ui::qt {

namespace {

bool envSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool hasDisplay() {
  return envSet("DISPLAY") || envSet("WAYLAND_DISPLAY") || envSet("QT_QPA_PLATFORM");
}

QtApplication::QtApplication() {
  if (QApplication::instance() != nullptr) return;
  if (!hasDisplay()) qputenv("QT_QPA_PLATFORM", "offscreen");
  owned_ = std::make_unique<QApplication>(argc_, argv_);
  QApplication::setApplicationName(QStringLiteral("Quillon"));
  // The dialogs speak Chinese: prefer a font with the glyphs over whatever Qt would pick first.
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                    QStringLiteral("WenQuanYi Micro Hei"), font.family()});
  font.setPointSize(9);
  QApplication::setFont(font);
}

QtApplication::~QtApplication() = default;

bool QtApplication::offscreen() const {
  return QApplication::platformName() == QLatin1String("offscreen");
}

}  // namespace quillon::ui::qt
