#include "ui/qt/column_widths.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <memory>
#include <utility>

#include "forms/view_settings.h"
#include "ui/qt/cell_display.h"
#include "ui/qt/grid_models.h"
#include "ui/qt/qt_text.h"

namespace quillon::ui::qt {

namespace {

// The "…" button a cell of a button column shows at its right edge, and a list's check box.
constexpr int kButtonPixels = 20;
constexpr int kCheckBoxPixels = 20;
constexpr int kSaveDelayMs = 600;
constexpr int kMaxSampleRows = 200;
// A text this wide is short: a code, a batch, a unit; longer ones give up room first.
constexpr int kShortText = 96;

// Nothing a person needs room to read: blank, or a zero amount (pieces of an item kept by weight).
bool blankOrZero(const QString& text) {
  const QString v = text.trimmed();
  if (v.isEmpty()) return true;
  if (!isNumberText(v)) return false;
  for (const QChar ch : v) {
    if (ch.isDigit() && ch != u'0') return false;
  }
  return true;
}

int extraOf(const ColumnRule& rule) {
  return (rule.button ? kButtonPixels : 0) + (rule.checkBox ? kCheckBoxPixels : 0);
}

QString escaped(const QString& caption) {
  QString out;
  for (const QChar ch : caption) {
    switch (ch.unicode()) {
      case u'%':
        out += QStringLiteral("%25");
        break;
      case u';':
        out += QStringLiteral("%3B");
        break;
      case u'=':
        out += QStringLiteral("%3D");
        break;
      default:
        out += ch;
    }
  }
  return out;
}

QString unescaped(const QString& text) {
  QString out = text;
  out.replace(QStringLiteral("%3B"), QStringLiteral(";"));
  out.replace(QStringLiteral("%3D"), QStringLiteral("="));
  out.replace(QStringLiteral("%25"), QStringLiteral("%"));
  return out;
}

}  // namespace

QString keptWidthsText(const QHash<QString, KeptWidth>& widths) {
  QStringList captions = widths.keys();
  captions.sort();
  QStringList entries;
  for (const QString& caption : captions) {
    const KeptWidth& w = widths.value(caption);
    entries.push_back(escaped(caption) + u'=' + QString::number(w.twips) + u'/' +
                      QString::number(w.base));
  }
  return entries.join(u';');
}

QHash<QString, KeptWidth> parseKeptWidths(const QString& text) {
  QHash<QString, KeptWidth> widths;
  for (const QString& entry : text.split(u';', Qt::SkipEmptyParts)) {
    const qsizetype equals = entry.lastIndexOf(u'=');
    if (equals <= 0) continue;
    const QStringList numbers = entry.mid(equals + 1).split(u'/');
    if (numbers.size() != 2) continue;
    bool twipsOk = false;
    bool baseOk = false;
    const int twips = numbers[0].toInt(&twipsOk);
    const int base = numbers[1].toInt(&baseOk);
    if (!twipsOk || !baseOk || twips <= 0 || base < 0) continue;
    widths.insert(unescaped(entry.left(equals)), KeptWidth{twips, base});
  }
  return widths;
}

ColumnWidths::ColumnWidths(QTableView& view, ControlTableModel& model, std::string form,
                           std::string list)
    : view_(view), model_(model), form_(std::move(form)), list_(std::move(list)) {
  saveTimer_.setSingleShot(true);
  saveTimer_.setInterval(kSaveDelayMs);
  QObject::connect(&saveTimer_, &QTimer::timeout, &view_, [this] { flush(); });
  QObject::connect(view_.horizontalHeader(), &QHeaderView::sectionResized, &view_,
                   [this](int col, int, int newSize) { resized(col, newSize); });
}

ColumnWidths::~ColumnWidths() {
  try {
    flush();
  } catch (...) {
    // A layout that cannot be kept is only lost; the window goes either way.
  }
}

void ColumnWidths::load() {
  if (loaded_) return;
  loaded_ = true;
  const auto settings = forms::currentViewSettings();
  if (!settings) return;
  if (const auto text = settings->read(form_, list_)) kept_ = parseKeptWidths(toQString(*text));
}

int ColumnWidths::firstScreenRows() const {
  const int rowHeight = std::max(view_.verticalHeader()->defaultSectionSize(), 1);
  const int height = view_.viewport()->height();
  const int rows = height > rowHeight ? height / rowHeight + 1 : 20;
  return std::clamp(rows, 1, kMaxSampleRows);
}

QStringList ColumnWidths::firstScreenTexts(int col) const {
  QStringList texts;
  const int rows = std::min(model_.rowCount(), firstScreenRows());
  for (int r = 0; r < rows; ++r) {
    if (view_.isRowHidden(r)) continue;
    texts.push_back(model_.data(model_.index(r, col), Qt::DisplayRole).toString());
  }
  return texts;
}

void ColumnWidths::apply(const std::function<ColumnRule(int col)>& ruleOf, int widest) {
  load();
  applying_ = true;
  const int cols = model_.columnCount();
  rules_.assign(static_cast<std::size_t>(std::max(cols, 0)), ColumnRule{});
  mustFit_.assign(rules_.size(), 0);
  const QFontMetrics cellFont(view_.font());
  const QFontMetrics headerFont(view_.horizontalHeader()->font());

  // What each shown column would like, and what it could give up.
  struct Plan {
    int col = 0;
    int width = 0;
    bool sized = false;  // sized to its content (neither kept nor set)
    bool text = false;   // holds text (dates, numbers and marks are never cut)
    bool ident = false;  // identifiers (codes, batches) are never cut either
    int given = 0;       // the width the form set, in pixels (0: none)
    int values = 0;      // what its values need
    int header = 0;      // what its caption needs on one line
    int twoLines = 0;    // and on two
    bool empty = false;  // nothing to show in the first screen
    bool whole = false;  // tells rows apart: gives up room last (ColumnRule::whole)
  };
  std::vector<Plan> plans;
  int total = 0;
  for (int c = 0; c < cols; ++c) {
    const ColumnRule rule = ruleOf(c);
    rules_[static_cast<std::size_t>(c)] = rule;
    model_.setTwoLineCaption(c, false);
    if (rule.twips <= 0 || model_.internalKey(c)) {
      if (!view_.isColumnHidden(c)) view_.setColumnHidden(c, true);
      continue;
    }
    if (view_.isColumnHidden(c)) view_.setColumnHidden(c, false);
    Plan plan;
    plan.col = c;
    const QString caption = model_.drawnCaption(c);
    const int base = rule.set ? rule.twips : 0;
    const auto kept = keep_ ? kept_.constEnd() : kept_.constFind(model_.captionOf(c));
    if (kept != kept_.constEnd() && kept->base == base) {
      plan.width = std::max(toPixels(kept->twips), 4);
    } else {
      plan.text = model_.look(c).kind == CellKind::Text;
      plan.ident = plan.text && model_.look(c).identifier;
      const int extra = extraOf(rule);
      const QStringList texts = firstScreenTexts(c);
      plan.empty = std::all_of(texts.begin(), texts.end(),
                               [](const QString& t) { return t.trimmed().isEmpty(); });
      const bool blank = std::all_of(texts.begin(), texts.end(), blankOrZero);
      plan.values = neededWidth(cellFont, headerFont, QString(), texts) + extra;
      plan.header = neededWidth(cellFont, headerFont, caption, {});
      plan.twoLines = neededWidth(cellFont, headerFont, twoLineCaption(caption), {});
      if (!plan.text || plan.ident || blank) mustFit_[static_cast<std::size_t>(c)] = 1;
      if (blank) {
        // Nothing to read in it: as narrow as its caption (on two lines, where that is narrower)
        // and its zeros allow, whatever width it was given.
        const bool wrap = plan.twoLines < plan.header;
        int least = std::max(wrap ? plan.twoLines : plan.header, kMinPixels);
        // A width the form set narrower than that stands.
        if (rule.set) least = std::min(least, std::max(toPixels(rule.twips), 4));
        plan.width = std::max(least, plan.values);
        if (wrap && plan.width < plan.header) model_.setTwoLineCaption(c, true);
      } else if (rule.set) {
        plan.width = std::max(toPixels(rule.twips), 4);
        if (!plan.text || plan.ident) plan.width = std::max(plan.width, plan.values);
        // Widened for its values, an identifier may give up that room again like a sized text.
        plan.sized = plan.ident;
        plan.given = std::max(toPixels(rule.twips), 4);
        if (plan.header > plan.width && plan.twoLines < plan.header) {
          model_.setTwoLineCaption(c, true);
        }
      } else {
        plan.sized = true;
        plan.whole = rule.whole;
        plan.width = std::max(plan.header, plan.values);
        if (plan.text && !plan.ident) plan.width = std::min(plan.width, kMaxPixels);
        plan.width = std::max(plan.width, kMinPixels);
      }
    }
    total += plan.width;
    plans.push_back(plan);
  }

  // More than the list can ever show: captions wider than their values go on two lines, then long
  // texts give up room (never below their caption) until the columns fit.
  const int chrome = shortfallChrome();
  if (widest > 0 && total + chrome > widest) {
    std::vector<Plan*> wrappable;
    for (Plan& p : plans) {
      if (p.sized && p.header > p.values && p.twoLines < p.header) wrappable.push_back(&p);
    }
    const auto gain = [](const Plan* p) {
      return p->width - std::max({p->values, p->twoLines, kMinPixels});
    };
    std::stable_sort(wrappable.begin(), wrappable.end(),
                     [&](const Plan* a, const Plan* b) { return gain(a) > gain(b); });
    for (Plan* p : wrappable) {
      if (total + chrome <= widest) break;
      const int narrower = std::max({p->values, p->twoLines, kMinPixels});
      total -= p->width - narrower;
      p->width = narrower;
      p->header = p->twoLines;
      model_.setTwoLineCaption(p->col, true);
    }
    // Texts give up room in turns, each in proportion to what it can spare: long ones down to
    // a short text's width, then columns with nothing to show down to the narrowest (their
    // caption stays in the tool tip), then every text down to its caption.
    int over = total + chrome - widest;
    const auto giveUp = [&](const std::function<int(const Plan&)>& floorOf) {
      if (over <= 0) return;
      int spare = 0;
      for (const Plan& p : plans) {
        if (p.sized && p.text) spare += std::max(p.width - floorOf(p), 0);
      }
      if (spare <= 0) return;
      const int take = std::min(over, spare);
      int taken = 0;
      for (Plan& p : plans) {
        if (!p.sized || !p.text) continue;
        const int room = std::max(p.width - floorOf(p), 0);
        const int cut =
            std::min(static_cast<int>(static_cast<long long>(take) * room / spare), room);
        p.width -= cut;
        taken += cut;
      }
      // What rounding left of the shares, a pixel from each text that still has room.
      for (Plan& p : plans) {
        if (taken >= take) break;
        if (p.sized && p.text && p.width > floorOf(p)) {
          --p.width;
          ++taken;
        }
      }
      over -= taken;
    };
    // An identifier keeps room for its values whatever else gives up room.
    const auto atLeastCaption = [](const Plan& p) {
      return std::max({p.header, kMinPixels, p.ident ? p.values : 0});
    };
    // A column that tells rows apart keeps its room until every other has given up its own.
    const auto unlessWhole = [](const std::function<int(const Plan&)>& floorOf) {
      return [floorOf](const Plan& p) { return p.whole ? p.width : floorOf(p); };
    };
    giveUp(unlessWhole([&](const Plan& p) {
      return std::max(atLeastCaption(p), std::min(p.values, kShortText));
    }));
    giveUp(unlessWhole([&](const Plan& p) {
      return p.empty && !p.ident ? std::max(p.values, kMinPixels) : p.width;
    }));
    giveUp(unlessWhole(atLeastCaption));
    // Still too wide for the screen: identifiers give up their room last, down to the width the
    // form gave them or their caption, so the amounts stay in view.
    giveUp(unlessWhole([](const Plan& p) {
      if (!p.ident) return std::max(p.header, kMinPixels);
      return p.given > 0 ? p.given : std::max(p.header, kMinPixels);
    }));
    giveUp([](const Plan& p) { return std::max(p.header, kMinPixels); });
  }
  for (const Plan& p : plans) {
    if (view_.columnWidth(p.col) != p.width) view_.setColumnWidth(p.col, p.width);
  }
  applying_ = false;
}

bool ColumnWidths::valuesOutgrewColumns() const {
  const QFontMetrics cellFont(view_.font());
  const QFontMetrics headerFont(view_.horizontalHeader()->font());
  const int cols = std::min(model_.columnCount(), static_cast<int>(rules_.size()));
  for (int c = 0; c < cols; ++c) {
    const ColumnRule& rule = rules_[static_cast<std::size_t>(c)];
    const ColumnLook& look = model_.look(c);
    // Texts other than identifiers may be cut; a column laid out blank must fit what it got since.
    const bool mayCut = look.kind == CellKind::Text && !look.identifier;
    if (rule.twips <= 0 || view_.isColumnHidden(c) ||
        (mayCut && mustFit_[static_cast<std::size_t>(c)] == 0)) {
      continue;
    }
    const int base = rule.set ? rule.twips : 0;
    const auto kept = keep_ ? kept_.constEnd() : kept_.constFind(model_.captionOf(c));
    if (kept != kept_.constEnd() && kept->base == base) continue;
    const int values =
        neededWidth(cellFont, headerFont, QString(), firstScreenTexts(c)) + extraOf(rule);
    if (values > view_.columnWidth(c)) return true;
  }
  return false;
}

int ColumnWidths::shortfallChrome() const {
  // The frame as the style draws it (a view not shown yet may not know its own), and a pixel or
  // two of the viewport's margins.
  const int frame =
      std::max(view_.frameWidth(),
               view_.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &view_));
  int chrome = 2 * frame + 2;
  if (view_.verticalHeader()->length() > view_.viewport()->height()) {
    chrome += view_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view_);
  }
  return chrome;
}

int ColumnWidths::shortfall() const {
  int total = 0;
  for (int c = 0; c < model_.columnCount(); ++c) {
    if (!view_.isColumnHidden(c)) total += view_.columnWidth(c);
  }
  if (total == 0) return 0;
  return std::max(total + shortfallChrome() - view_.width(), 0);
}

void ColumnWidths::resized(int col, int newSize) {
  if (applying_ || col < 0 || col >= static_cast<int>(rules_.size()) || newSize <= 0) return;
  const ColumnRule& rule = rules_[static_cast<std::size_t>(col)];
  if (rule.twips <= 0) return;
  if (keep_) {
    handOver_.insert(col, toTwips(newSize));
  } else {
    kept_.insert(model_.captionOf(col), KeptWidth{toTwips(newSize), rule.set ? rule.twips : 0});
  }
  dirty_ = true;
  saveTimer_.start();
}

void ColumnWidths::flush() {
  if (!dirty_) return;
  dirty_ = false;
  saveTimer_.stop();
  if (keep_) {
    const QHash<int, int> widths = std::exchange(handOver_, {});
    for (auto it = widths.constBegin(); it != widths.constEnd(); ++it) keep_(it.key(), it.value());
    return;
  }
  if (const auto settings = forms::currentViewSettings()) {
    settings->write(form_, list_, toStd(keptWidthsText(kept_)));
  }
}

}  // namespace quillon::ui::qt
