// The voucher lists (MarlinVouchList) of the dialogs whose columns come from a column set: filling
// one from the set's definition text and a recordset with number formats per field, the display
// formats of its numeric user-defined columns, and what a dialog reads of its marked rows.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon::ado {
class Recordset;
}
namespace quillon::components {
class MarlinColSet;
}
namespace quillon::forms {
class MarlinVouchList;
}

namespace quillon::module {

// How many rows a dialog's list reads before it is first drawn when the rest may load while it is
// shown (forms::listsGrowWhileShown): a few screens. 0 where lists never grow: every recordset is
// read whole, as headless and scripted runs need. For ado::ProgressiveOpens around the opening
// of a list's recordset.
std::size_t ShownListFirstRows();
inline constexpr std::size_t kShownListFirstRows = 200;

// A field (by name, without regard to case) and the Format pattern of its numbers.
using VouchFieldFormats = std::vector<std::pair<std::string, std::string>>;

// A field (by name, without regard to case) and how its text is shown (a code as its name).
using VouchFieldTexts =
    std::vector<std::pair<std::string, std::function<std::string(std::string_view)>>>;

// Resets the list to no rows and no columns and gives it `definitions`; its numeric user-defined
// columns get `defineFormat` when it is not empty (FormatDefineColumns). With a recordset, fills
// its rows from the recordset's view (its Filter applied): the numbers of a column with a format
// are shown in it, those of `formats`' fields in theirs (these win); Null shows empty, a text that
// is no number as stored; `texts`' fields show their text as their function turns it. Marks start
// cleared. The rows are bound, not copied: a recordset still loading is drawn as it comes.
void FillVouchList(forms::MarlinVouchList& list, std::string_view definitions,
                   const ado::Recordset* rs, const VouchFieldFormats& formats = {},
                   const std::string& defineFormat = {}, const VouchFieldTexts& texts = {});

// Whether a column key is a numeric user-defined field: cdefine, cinvdefine or cvendefine
// followed by a number, or tdqtyd.
bool IsNumericDefineField(std::string_view key);
// Gives every numeric user-defined column of the list `format` (the list's column format).
void FormatDefineColumns(forms::MarlinVouchList& list, const std::string& format);

// The data rows (from 1) that carry the mark, in list order.
std::vector<int> MarkedRows(const forms::MarlinVouchList& list);
// A row's text in the column of `key`; "" without such a column.
std::string VouchCell(const forms::MarlinVouchList& list, int row, std::string_view key);
// The texts of `key`'s column in the marked rows, in list order.
std::vector<std::string> MarkedCells(const forms::MarlinVouchList& list, std::string_view key);
// Marks or unmarks every data row, from code (no events).
void MarkAllRows(forms::MarlinVouchList& list, bool on);

// The widths a person drags the list's columns to are kept in the user's own column set, where
// the list's next layout reads them (and its settings dialog shows them).
void KeepColumnWidths(forms::MarlinVouchList& list,
                      const std::shared_ptr<components::MarlinColSet>& columnSet);

}  // namespace quillon::module
