#include "forms/list_export.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "forms/field_captions.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/super_grid.h"
#include "forms/ui_host.h"
#include "forms/vouch_list.h"

namespace quillon::forms {

namespace {

// Rows chosen from `shown`: those `marked` says, else the current row when it shows.
template <class Marked>
std::vector<int> chosen(const std::vector<int>& shown, int current, Marked marked) {
  std::vector<int> out;
  for (int r : shown) {
    if (marked(r)) out.push_back(r);
  }
  if (out.empty()) {
    for (int r : shown) {
      if (r == current) out.push_back(r);
    }
  }
  return out;
}

ListTable gridTable(const MsSuperGrid& grid, ListRows which) {
  ListTable t;
  std::vector<int> cols;
  for (int c = 1; c < grid.Cols(); ++c) {
    if (grid.ColWidth(c) == 0 || isInternalKey(grid.TextMatrix(c, 0))) continue;
    cols.push_back(c);
    t.captions.push_back(shownCaption(grid.TextMatrix(c, 0)));
  }
  std::vector<int> rows;
  for (int p = 1; p < grid.Rows(); ++p) {
    const int r = grid.rowOrder().rowAt(p);
    if (grid.RowHeight(r) != 0) rows.push_back(r);
  }
  if (which == ListRows::Chosen) {
    rows = chosen(rows, grid.Row(), [&](int r) { return grid.isMarked(r); });
  }
  for (int r : rows) {
    auto& line = t.rows.emplace_back();
    for (int c : cols) line.push_back(grid.TextMatrix(c, r));
  }
  return t;
}

ListTable vouchTable(const MarlinVouchList& list, ListRows which) {
  ListTable t;
  std::vector<int> cols;
  for (int c = 1; c < list.Cols(); ++c) {
    if (list.columns()[static_cast<std::size_t>(c - 1)].width == 0 ||
        isInternalKey(list.TextMatrix(0, c))) {
      continue;
    }
    cols.push_back(c);
    t.captions.push_back(shownCaption(list.TextMatrix(0, c)));
  }
  std::vector<int> rows;
  for (int p = 1; p < list.Rows(); ++p) rows.push_back(list.rowOrder().rowAt(p));
  if (which == ListRows::Chosen) {
    rows = chosen(rows, list.Row(), [&](int r) { return list.Marked(r); });
  }
  for (int r : rows) {
    auto& line = t.rows.emplace_back();
    for (int c : cols) line.push_back(list.TextMatrix(r, c));
  }
  return t;
}

ListTable listViewTable(const ListView& list, ListRows which) {
  ListTable t;
  std::vector<int> cols;
  for (int c = 1; c <= list.columnCount(); ++c) {
    if (list.column(c).width == 0 || isInternalKey(list.column(c).text)) continue;
    cols.push_back(c);
    t.captions.push_back(shownCaption(list.column(c).text));
  }
  std::vector<int> rows;
  for (int p = 1; p <= list.itemCount(); ++p) rows.push_back(list.rowOrder().rowAt(p));
  if (which == ListRows::Chosen) {
    const int current = list.SelectedItem() != nullptr ? list.SelectedItem()->Index() : 0;
    rows = chosen(rows, current, [&](int r) {
      const ListItem& item = list.item(r);
      return list.Checkboxes() ? item.Checked() : item.Selected();
    });
  }
  for (int r : rows) {
    auto& line = t.rows.emplace_back();
    for (int c : cols) line.push_back(list.cellText(r, c));
  }
  return t;
}

void csvField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

void tabField(std::string& out, const std::string& text) {
  for (char ch : text) out += (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch;
}

template <class Field>
std::string joined(const ListTable& table, char separator, Field field) {
  std::string out;
  const auto line = [&](const std::vector<std::string>& cells) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out += separator;
      field(out, cells[i]);
    }
    out += "\r\n";
  };
  line(table.captions);
  for (const auto& row : table.rows) line(row);
  return out;
}

std::string& clipboard() {
  static std::string text;
  return text;
}

std::function<void(const std::string&)>& clipboardSink() {
  static std::function<void(const std::string&)> sink;
  return sink;
}

}  // namespace

std::optional<ListTable> listTable(const Control& control, ListRows rows) {
  if (const auto* grid = dynamic_cast<const MsSuperGrid*>(&control)) return gridTable(*grid, rows);
  if (const auto* vouch = dynamic_cast<const MarlinVouchList*>(&control)) {
    return vouchTable(*vouch, rows);
  }
  if (const auto* list = dynamic_cast<const ListView*>(&control)) {
    return listViewTable(*list, rows);
  }
  return std::nullopt;
}

std::string csvText(const ListTable& table) {
  return "\xEF\xBB\xBF" + joined(table, ',', csvField);
}

std::string tabText(const ListTable& table) {
  return joined(table, '\t', tabField);
}

std::optional<std::string> writeCsvFile(const std::string& path, const ListTable& table) {
  const auto failed = [&](const std::string& what) {
    return "the list could not be exported to \"" + path + "\": " + what;
  };
  if (path.empty()) return failed("no file name");
  // Written beside the file and renamed over it, so a failure never leaves half a file.
  const std::string part = path + ".part";
  {
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    if (!out) return failed(std::strerror(errno));
    const std::string text = csvText(table);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::remove(part.c_str());
      return failed("writing failed");
    }
  }
  if (std::rename(part.c_str(), path.c_str()) != 0) {
    const std::string why = std::strerror(errno);
    std::remove(part.c_str());
    return failed(why);
  }
  return std::nullopt;
}

std::optional<std::size_t> exportListAsked(const Control& control) {
  const std::optional<ListTable> table = listTable(control, ListRows::All);
  if (!table) return std::nullopt;
  const Form* form = control.form();
  std::string title = form != nullptr ? form->Caption() : std::string();
  // The offered name is the form's caption, without what a file name cannot hold.
  std::string name = title.empty() ? control.Name() : title;
  for (char& c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
        c == '>' || c == '|') {
      c = '_';
    }
  }
  const auto path = currentUiHost().saveFileName({"导出", name + ".csv", "CSV (*.csv)"});
  if (!path) return std::nullopt;
  if (const auto error = writeCsvFile(*path, *table)) {
    MsgBox(*error, vbExclamation, title);
    return std::nullopt;
  }
  return table->rows.size();
}

void setClipboardText(std::string text) {
  clipboard() = std::move(text);
  if (clipboardSink()) clipboardSink()(clipboard());
}

const std::string& clipboardText() {
  return clipboard();
}

void setClipboardSink(std::function<void(const std::string&)> sink) {
  clipboardSink() = std::move(sink);
}

bool copyChosenRows(const Control& control) {
  const std::optional<ListTable> table = listTable(control, ListRows::Chosen);
  if (!table) return false;
  setClipboardText(tabText(*table));
  return true;
}

}  // namespace quillon::forms
