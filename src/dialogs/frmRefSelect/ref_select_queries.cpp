#include "dialogs/frmRefSelect/ref_select_queries.h"

#include <algorithm>

#include "automation/names.h"
#include "dialogs/frmRefSelect/ref_select_messages.h"

namespace quillon::dialogs::ref_select {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

ColumnNames columnNamesFor(std::string_view refFrom, std::int32_t refType) {
  if (refFrom == kStocktaking) return {"账面数量", "账面件数", "盘点数量", "盘点件数"};
  if (refType == kRefReturn) return {"结存数量", "结存件数", "退回数量", "退回件数"};
  return {"结存数量", "结存件数", "出库数量", "出库件数"};
}

ColumnOffsets offsetsFor(std::int32_t refType, std::string_view refFrom) {
  const bool stocktaking = refFrom == kStocktaking;
  if (refType == kRefReturn) return {15, 17, 14, 16};
  if (refType == kRefTrace)
    return stocktaking ? ColumnOffsets{13, 15, 12, 14} : ColumnOffsets{13, 19, 12, 18};
  return stocktaking ? ColumnOffsets{5, 7, 4, 6} : ColumnOffsets{5, 11, 4, 10};
}

std::string allocationSort(std::int32_t refType, std::string_view rule) {
  if (refType == kRefBatch) {
    if (rule == "批号先进先出") return "批号";
    if (rule == "近效期先出") return "失效日期";
  } else if (refType == kRefTrace) {
    if (rule == "先进先出") return "入库日期,入库系统编号";
    if (rule == "后进先出") return "入库日期 Desc ,入库系统编号 Desc";
  }
  return {};
}

std::vector<std::string> sortFields(std::string_view sortText) {
  std::vector<std::string> names;
  while (!sortText.empty()) {
    const std::size_t comma = sortText.find(',');
    std::string_view part = trimmed(sortText.substr(0, comma));
    const std::size_t blank = part.find(' ');
    if (blank != std::string_view::npos) part = part.substr(0, blank);
    if (!part.empty()) names.emplace_back(part);
    if (comma == std::string_view::npos) break;
    sortText.remove_prefix(comma + 1);
  }
  return names;
}

std::optional<std::string> layoutProblem(const std::vector<std::string>& fieldNames,
                                         std::string_view refFrom, std::int32_t refType,
                                         bool checkPlaces) {
  const ColumnNames names = columnNamesFor(refFrom, refType);
  const ColumnOffsets offsets = offsetsFor(refType, refFrom);
  const std::pair<const std::string*, int> wanted[] = {{&names.stock, offsets.stock},
                                                       {&names.stockNum, offsets.stockNum},
                                                       {&names.thisQty, offsets.thisQty},
                                                       {&names.thisNum, offsets.thisNum}};
  const auto count = static_cast<int>(fieldNames.size());
  for (const auto& [name, offset] : wanted) {
    const std::string& field = *name;
    const auto it = std::find_if(fieldNames.begin(), fieldNames.end(), [&](const std::string& f) {
      return automation::sameName(f, field);
    });
    if (it == fieldNames.end()) return missingFieldMessage(field);
    if (!checkPlaces) continue;
    // Grid column count - offset is field index count - offset (0-based).
    const int at = count - offset;
    if (at < 0 || !automation::sameName(fieldNames[static_cast<std::size_t>(at)], *name)) {
      return misplacedFieldMessage(field, offset);
    }
  }
  return std::nullopt;
}

}  // namespace quillon::dialogs::ref_select
