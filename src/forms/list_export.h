// What a list or grid shows, taken out of it as a person sees it: the shown columns under their
// captions (a field name under its Chinese caption, internal row keys left out) and the shown
// rows (in the order shown), each cell as it is drawn (numbers in their formats). The same table
// goes to a CSV file (UTF-8 with a byte-order mark, so a spreadsheet opens the Chinese captions as
// they are) and to the clipboard (tab-separated, as spreadsheets paste it).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/constants.h"

namespace quillon::forms {

class Control;

struct ListTable {
  std::vector<std::string> captions;
  std::vector<std::vector<std::string>> rows;
};

enum class ListRows {
  All,     // every row that shows
  Chosen,  // the marked (checked) rows that show, else the current row
};

// The table of a MsSuperGrid, MarlinVouchList or ListView (the mark column left out, hidden
// columns and rows too); nothing for any other control.
std::optional<ListTable> listTable(const Control& control, ListRows rows);

// "\xEF\xBB\xBF", then the captions and the rows, fields separated by "," and lines by CRLF; a
// field holding ",", a quote or a line break is quoted, its quotes doubled.
std::string csvText(const ListTable& table);
// The captions and the rows, fields separated by tabs and lines by CRLF; a tab or line break in a
// cell becomes a space, so every cell stays in its place when pasted.
std::string tabText(const ListTable& table);

// Writes csvText(table) to `path`, replacing the file. The error text when the file cannot be
// written (the file is then left as it was or removed, never half written).
std::optional<std::string> writeCsvFile(const std::string& path, const ListTable& table);

// The list's export from its pop-up menu: the host asks where to save (a save-file question
// offering the form's caption as the file name), then the shown rows are written there as CSV.
// A write that fails says why in a message box and leaves no file behind. The rows written, or
// nothing when the person cancelled, the write failed or the control is not a list.
std::optional<std::size_t> exportListAsked(const Control& control);

// The caption the export entry of the lists' pop-up menus shows.
inline constexpr const char* kExportMenuCaption = "导出…";

// The clipboard the lists copy to with Ctrl+C. The text is kept here (a headless host reads it
// back) and handed to the sink a windowed host sets (its platform clipboard).
void setClipboardText(std::string text);
const std::string& clipboardText();
void setClipboardSink(std::function<void(const std::string&)> sink);

// Ctrl+C, the key a list copies its chosen rows on.
inline bool isCopyKey(int keyCode, int shift) {
  return keyCode == 'C' && shift == vbCtrlMask;
}

// Ctrl+C on a list: the chosen rows, tab-separated with their captions, to the clipboard. False
// for a control that is not a list.
bool copyChosenRows(const Control& control);

}  // namespace quillon::forms
