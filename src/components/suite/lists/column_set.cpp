#include "components/suite/lists/column_set.h"

#include <algorithm>

#include "ado/connection.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/account_settings_object.h"
#include "components/suite/component_errors.h"
#include "components/suite/rows.h"
#include "forms/ui_host.h"
#include "forms/vouch_list.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;
using sql::literal;

namespace {

const char* knownTable(std::string_view name) {
  for (const char* t : kColumnSetTables) {
    if (automation::equalsNoCase(t, name)) return t;
  }
  return nullptr;
}

// The account's display format of a field's number format.
std::string displayFormat(AccountSettings& settings, const std::string& format) {
  if (automation::equalsNoCase(format, "quantity")) return settings.text("FormatQuanDecString");
  if (automation::equalsNoCase(format, "number")) return settings.text("FormatNumDecString");
  if (automation::equalsNoCase(format, "exchrate")) return settings.text("FormatExchDecString");
  return {};
}

// Keys and captions end at "," and ";" in a definition text.
std::string definitionPart(std::string text) {
  std::replace(text.begin(), text.end(), ',', ' ');
  std::replace(text.begin(), text.end(), ';', ' ');
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

}  // namespace

std::vector<ColumnSetField> applyEditedDefinitions(const std::vector<ColumnSetField>& fields,
                                                   std::string_view edited) {
  const std::vector<forms::VouchColumn> columns = forms::parseColumnDefinitions(edited);
  std::vector<bool> taken(fields.size(), false);
  std::vector<ColumnSetField> out;
  for (const forms::VouchColumn& c : columns) {
    auto it = std::find_if(fields.begin(), fields.end(), [&](const ColumnSetField& f) {
      return automation::equalsNoCase(f.name, c.key);
    });
    if (it == fields.end()) {
      raise(kErrBadArgument, "栏目设置中没有字段[" + c.key + "]");
    }
    const auto index = static_cast<std::size_t>(it - fields.begin());
    if (taken[index]) raise(kErrBadArgument, "栏目设置中字段[" + c.key + "]重复");
    taken[index] = true;
    ColumnSetField f = *it;
    if (!c.caption.empty()) f.caption = c.caption;
    f.visible = c.width > 0;
    // A hidden field keeps its width for when it is shown again.
    if (c.width > 0) f.width = c.width;
    out.push_back(std::move(f));
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (taken[i]) continue;
    ColumnSetField f = fields[i];
    f.visible = false;
    out.push_back(std::move(f));
  }
  return out;
}

void ColumnSetObject::initialise(std::string_view firstText, std::string_view secondText,
                                 std::shared_ptr<ado::Connection> connection) {
  if (!connection || !connection->isOpen()) raise(kErrBadArgument, "栏目设置的数据库连接未打开");
  user_ = std::string(firstText);
  accountKey_ = std::string(secondText);
  connection_ = std::move(connection);
  table_.clear();
  fields_.clear();
  ownSet_ = false;
}

std::vector<ColumnSetField> ColumnSetObject::read(const std::string& table,
                                                  const std::string& user) const {
  Rows rows = queryRows(connection_->database(),
                        "SELECT cFieldName, cFieldExpr, cCaption, iWidth, bVisible, cFormat FROM "
                        "ColumnSet WHERE cTableName = " +
                            literal(table) + " AND cUser_Id = " + literal(user) +
                            " ORDER BY iOrder, cFieldName");
  std::vector<ColumnSetField> fields;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ColumnSetField f;
    f.name = rows.text(i, "cFieldName");
    f.expr = rows.text(i, "cFieldExpr");
    f.caption = rows.text(i, "cCaption");
    f.width = rows.at(i, "iWidth").isNull() ? 1000 : rows.at(i, "iWidth").toLong();
    f.visible = rows.at(i, "bVisible").toBool() && f.width > 0;
    f.format = rows.text(i, "cFormat");
    fields.push_back(std::move(f));
  }
  return fields;
}

void ColumnSetObject::bind(std::string_view tableName) {
  if (!connection_) raise(kErrBadArgument, "栏目设置尚未初始化");
  const char* table = knownTable(tableName);
  if (table == nullptr) raise(kErrBadArgument, "没有表[" + std::string(tableName) + "]的栏目设置");
  bool own = !user_.empty();
  std::vector<ColumnSetField> fields;
  if (own) fields = read(table, user_);
  if (fields.empty()) {
    own = false;
    fields = read(table, "");
  }
  if (fields.empty()) raise(kErrBadArgument, "表[" + std::string(table) + "]没有定义栏目");
  table_ = table;
  fields_ = std::move(fields);
  ownSet_ = own;
}

void ColumnSetObject::requireBound() const {
  if (table_.empty()) raise(kErrBadArgument, "栏目设置尚未绑定表");
}

std::string ColumnSetObject::fieldList() const {
  requireBound();
  std::string list;
  for (const ColumnSetField& f : fields_) {
    if (!list.empty()) list += ",";
    list += f.expr + " AS " + f.name;
  }
  return list;
}

std::string ColumnSetObject::columnDefinitions() {
  requireBound();
  AccountSettingsObject settings(connection_);
  std::string text;
  for (const ColumnSetField& f : fields_) {
    if (!text.empty()) text += ";";
    text += definitionPart(f.name) + "," + definitionPart(f.caption) + "," +
            std::to_string(f.visible ? f.width : 0);
    const std::string format = displayFormat(settings, f.format);
    if (!format.empty()) text += "," + definitionPart(format);
  }
  return text;
}

bool ColumnSetObject::showSettings() {
  requireBound();
  forms::ColumnSettingsRequest request;
  request.title = "栏目设置";
  request.definitions = columnDefinitions();
  const std::optional<std::string> edited = forms::currentUiHost().columnSettings(request);
  if (!edited) return false;
  if (user_.empty()) raise(kErrBadArgument, "没有登录用户，不能保存栏目设置");
  save(applyEditedDefinitions(fields_, *edited));
  bind(table_);
  return true;
}

void ColumnSetObject::keepWidth(std::string_view field, int width) {
  requireBound();
  if (user_.empty() || width < 1) return;
  auto it = std::find_if(fields_.begin(), fields_.end(), [&](const ColumnSetField& f) {
    return automation::equalsNoCase(f.name, field);
  });
  if (it == fields_.end() || !it->visible || it->width == width) return;
  std::vector<ColumnSetField> fields = fields_;
  fields[static_cast<std::size_t>(it - fields_.begin())].width = width;
  save(fields);
  fields_ = std::move(fields);
  ownSet_ = true;
}

void ColumnSetObject::save(const std::vector<ColumnSetField>& fields) {
  sql::Database& db = connection_->database();
  const bool own = !connection_->inTransaction();
  if (own) connection_->beginTrans();
  try {
    db.execute("DELETE FROM ColumnSet WHERE cTableName = " + literal(table_) +
               " AND cUser_Id = " + literal(user_));
    int order = 1;
    for (const ColumnSetField& f : fields) {
      db.execute(
          "INSERT INTO ColumnSet (cTableName, cUser_Id, cFieldName, cFieldExpr, cCaption, iOrder, "
          "iWidth, bVisible, cFormat) VALUES (" +
          literal(table_) + ", " + literal(user_) + ", " + literal(f.name) + ", " +
          literal(f.expr) + ", " + literal(f.caption) + ", " + std::to_string(order++) +
          ", " + std::to_string(f.width) + ", " + (f.visible ? "1" : "0") + ", " +
          (f.format.empty() ? std::string("NULL") : literal(f.format)) + ")");
    }
    if (own) connection_->commitTrans();
  } catch (...) {
    if (own && connection_->inTransaction()) connection_->rollbackTrans();
    throw;
  }
}

const automation::MemberTable& ColumnSetObject::memberTable() const {
  using automation::in;
  using Self = ColumnSetObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("MarlinColSet")
          .method(
              "Init",
              {in("sFirst", "String"), in("sSecond", "String"), in("oConnection", "Object")}, "",
              [](Self& self, Args& a) -> Variant {
                self.initialise(a.str(0), a.str(1), automation::toObjectAs<ado::Connection>(a[2]));
                return {};
              })
          .method("Bind", {in("sTable", "String")}, "",
                  [](Self& self, Args& a) -> Variant {
                    self.bind(a.str(0));
                    return {};
                  })
          .getter("TableName", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.tableName()); })
          .getter("FieldList", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.fieldList()); })
          .getter("ColumnDefinitions", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.columnDefinitions()); })
          .method("ShowSettings", {}, "Boolean",
                  [](Self& self, Args&) -> Variant { return Variant(self.showSettings()); })
          .build();
  return table;
}

}  // namespace quillon::components::suite
