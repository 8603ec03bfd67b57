#include "dialogs/frmReturnInvSet/return_inv_set_queries.h"

#include "automation/vb_strings.h"
#include "dialogs/frmReturnInvSet/return_inv_set_messages.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::return_inv_set {

std::string classCodeOfKey(std::string_view key, bool root) {
  if (root || key.empty()) return {};
  return std::string(key.substr(1));
}

namespace {

std::string classCondition(std::string_view classCode, std::string_view hostWhere,
                           std::string_view joiner) {
  const bool host = !automation::Trim(hostWhere).empty();
  if (classCode.empty()) return host ? std::string(hostWhere) : std::string();
  std::string condition = "cInvCCode like " + sql::literal(std::string(classCode) + "%");
  if (host) condition += std::string(joiner) + "(" + std::string(hostWhere) + ")";
  return condition;
}

}  // namespace

std::string listCondition(std::string_view classCode, std::string_view hostWhere) {
  return classCondition(classCode, hostWhere, " and ");
}

std::string checkCondition(std::string_view classCode, std::string_view hostWhere) {
  return classCondition(classCode, hostWhere, " AND ");
}

std::string listOrder(bool descending) {
  return descending ? " order by cInvCode desc" : "";
}

std::string tempTableName(std::string_view identifier) {
  // The identifier is the account's (its cAccId, else the file's or the server database's name)
  // and the year: outside text, which becomes one plain name whatever it holds.
  return "tempdb.." +
         sql::identifier("tmp" + automation::Replace(std::string(identifier), ".", "_") + "tmp");
}

std::string tempTableBatch(std::string_view name, const std::vector<std::string>& codes) {
  const std::string n(name);
  std::string batch = "if exists (select * from tempdb..sysobjects where id=object_id(" +
                      sql::literal(n) + ")) drop table " + n + " create table " + n +
                      "(id nvarchar(255))";
  for (const auto& code : codes) {
    batch += " insert into " + n + "(id) values(" + sql::literal(code) + ") ";
  }
  return batch;
}

std::string chosenCondition(std::string_view name, std::string_view orderCaption) {
  std::string condition = " cInvCode in (select id from " + std::string(name) + ")";
  if (orderCaption.find(kAscending) != std::string_view::npos) {
    condition += " order by cInvCode  desc ";
  } else if (orderCaption.find(kDescending) != std::string_view::npos) {
    condition += " order by cInvCode  ";
  }
  return condition;
}

}  // namespace quillon::dialogs::return_inv_set
