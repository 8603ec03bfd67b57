// ColumnWidths: the widths a list's table view gives its columns, the same for grids, voucher lists
// and list views. For each column, in this order:
//
//  1. a width of 0 hides it;
//  2. a width the person dragged it to, kept per user, form and list (forms/view_settings.h), as
//     long as the control still gives the column the width it had when he dragged it — unless the
//     control keeps such widths itself (a voucher list in its column set, keepWith);
//  3. a column with nothing to read in its first screenful (blank, or all zeros) is as narrow as
//     its caption (on two lines where that is narrower), whatever width it was given;
//  4. a width the form set (a design width, a column set's) stands, widened only where a date, a
//     number or an identifier (a code, a batch) of the first screenful would not fit; a caption
//     wider than it goes on two lines;
//  5. else it is as wide as its caption and the first screenful of its values need, within
//     bounds — dates, numbers, marks and identifiers are never cut.
//
// When the columns need more room than the list can get (the window as wide as the screen allows),
// captions wider than their values go on two lines, then long texts give up room, never below
// their caption nor, for identifiers, their values — unless nothing else is left to give; a column
// that tells rows apart (ColumnRule::whole) gives up room last of all.
//
// What the person drags is saved shortly after he lets go, and when the window goes.
#pragma once

#include <QHash>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QTableView;

namespace quillon::ui::qt {

class ControlTableModel;

// What the control says about one of its columns.
struct ColumnRule {
  int twips = 0;          // its width; 0 hides it
  bool set = false;       // the form set the width (else it is the control's default)
  bool button = false;    // its cells show a button at their right edge
  bool checkBox = false;  // its cells show a check box before their text
  // A column that tells rows apart (the number of the head a line came from): it gives up room
  // after every other column, identifiers included, and then only down to its caption.
  bool whole = false;
};

// A width the person gave a column, and the control's width for it at the time (0: its default).
struct KeptWidth {
  int twips = 0;
  int base = 0;
  friend bool operator==(const KeptWidth&, const KeptWidth&) = default;
};

class ColumnWidths {
 public:
  // Narrowest and widest a column sized to its content is drawn, in pixels.
  static constexpr int kMinPixels = 36;
  static constexpr int kMaxPixels = 320;

  ColumnWidths(QTableView& view, ControlTableModel& model, std::string form, std::string list);
  ~ColumnWidths();
  ColumnWidths(const ColumnWidths&) = delete;
  ColumnWidths& operator=(const ColumnWidths&) = delete;

  // Lays out every column of the model by the rules above, within `widest` pixels, the widest the
  // view can become (0: no bound).
  void apply(const std::function<ColumnRule(int col)>& ruleOf, int widest);
  // After cells changed without a new layout: whether a date, number or mark of the first screen
  // would now be cut (the columns want laying out again).
  bool valuesOutgrewColumns() const;
  // How many pixels wider than it is the view would have to be to show every shown column.
  int shortfall() const;
  // Writes what the person dragged, if anything is still unsaved.
  void flush();
  // Hands what the person drags to the control (column, width in twips) instead of keeping it.
  void keepWith(std::function<void(int col, int twips)> keep) { keep_ = std::move(keep); }

 private:
  void load();
  void resized(int col, int newSize);
  // What the view takes besides its columns: its frame, and a scroll bar when rows overflow.
  int shortfallChrome() const;
  QStringList firstScreenTexts(int col) const;
  int firstScreenRows() const;

  QTableView& view_;
  ControlTableModel& model_;
  std::string form_;
  std::string list_;
  bool loaded_ = false;
  bool applying_ = false;
  bool dirty_ = false;
  QHash<QString, KeptWidth> kept_;  // by caption
  std::function<void(int col, int twips)> keep_;
  QHash<int, int> handOver_;  // dragged widths (twips) by column, for keep_
  std::vector<ColumnRule> rules_;
  std::vector<char> mustFit_;  // by column: its values must show whole (see valuesOutgrewColumns)
  QTimer saveTimer_;
};

// The text a list's kept widths are saved as, and back; entries the text cannot give are skipped.
QString keptWidthsText(const QHash<QString, KeptWidth>& widths);
QHash<QString, KeptWidth> parseKeptWidths(const QString& text);

}  // namespace quillon::ui::qt
