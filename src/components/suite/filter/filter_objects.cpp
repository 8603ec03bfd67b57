#include "components/suite/filter/filter_objects.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/class_registry.h"
#include "components/suite/component_errors.h"
#include "components/suite/filter/filter_where.h"
#include "forms/ui_host.h"
#include "sql/sql_text.h"

namespace quillon::components {

void registerFilterClasses(automation::ClassRegistry& registry) {
  registry.add<suite::FilterContextObject>(std::string(kFilterContextProgId),
                                           "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B020}");
  registry.add<suite::FilterDialogObject>(std::string(kFilterDialogProgId),
                                          "{5C1E8A20-3B71-4F0D-9E62-1A7D40C8B021}");
}

}  // namespace quillon::components

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

std::string unknownFilterText(const std::string& filterName) {
  return "过滤[" + filterName + "]不存在";
}

void FilterContextObject::init(std::string subsystem, std::shared_ptr<MarlinLogin> login,
                               std::shared_ptr<ado::Connection> connection,
                               std::string accountKey) {
  subsystem_ = std::move(subsystem);
  login_ = std::move(login);
  connection_ = std::move(connection);
  accountKey_ = std::move(accountKey);
}

int FilterDialogObject::showFilter(FilterContext& context, const std::string& filterName,
                                   const std::string& subsystem,
                                   std::shared_ptr<ado::Connection> connection) {
  if (!connection) connection = context.connection();
  if (!connection || !connection->isOpen()) throw automation::ComError::objectNotSet();
  auto def = connection->execute(
      "SELECT cCaption FROM FilterDef WHERE cSysID = " + sql::literal(subsystem) +
      " AND cFilterName = " + sql::literal(filterName));
  if (!def || !def->isOpen() || def->eof()) raise(kErrBadArgument, unknownFilterText(filterName));
  result_.reset();
  forms::FilterRequest request{filterName, subsystem, {}};
  auto items = connection->execute(
      "SELECT cFieldName, cCaption, cDataType, cOperator, bRange FROM FilterItem WHERE cSysID = " +
      sql::literal(subsystem) + " AND cFilterName = " + sql::literal(filterName) +
      " ORDER BY iOrder");
  const auto text = [&](const char* column) {
    const Variant v = items->value(column);
    return v.isNull() ? std::string() : v.toString();
  };
  for (; items && items->isOpen() && !items->eof(); items->moveNext()) {
    const Variant range = items->value("bRange");
    request.fields.push_back({text("cFieldName"), text("cCaption"), text("cDataType"),
                              text("cOperator"), !range.isNull() && range.toBool()});
  }
  const forms::FilterResult answer = forms::currentUiHost().filterDialog(request);
  if (answer.code != 1) return answer.code;
  // The WHERE text is made here, from the values, so a host only ever hands back what was typed.
  result_ = std::make_shared<FilterOutcomeObject>(
      filterWhereText(request.fields, answer.values, answer.where));
  return answer.code;
}

// ---- late-bound members

const automation::MemberTable& FilterContextObject::memberTable() const {
  using Self = FilterContextObject;
  using automation::in;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("FilterContext")
          .property(
              "Flag", "Boolean", [](Self& self, Args&) -> Variant { return Variant(self.flag()); },
              [](Self& self, Args& a) -> Variant {
                self.setFlag(a.value().toBool());
                return {};
              })
          .method("Init",
                  {in("sSubId", "String"), in("oLogin", "Object"), in("oConn", "Connection"),
                   in("sAccountKey", "String")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    self.init(a.str(0), a.objectAs<MarlinLogin>(1), a.objectAs<ado::Connection>(2),
                              a.str(3));
                    return {};
                  })
          .getter("SubId", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.subsystem()); })
          .build();
  return table;
}

const automation::MemberTable& FilterOutcomeObject::memberTable() const {
  using Self = FilterOutcomeObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("FilterResult")
          .getter("WhereText", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.whereText()); })
          .defaultMember("WhereText")
          .build();
  return table;
}

const automation::MemberTable& FilterDialogObject::memberTable() const {
  using Self = FilterDialogObject;
  using automation::in;
  using automation::opt;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("FilterDialog")
          .method("ShowFilter",
                  {in("oContext", "FilterContext"), in("sFilterName", "String"),
                   in("sSubId", "String"), opt("oConn", "Connection")},
                  "Long",
                  [](Self& self, Args& a) -> Variant {
                    auto context = a.objectAs<FilterContext>(0);
                    if (!context) throw automation::ComError::objectNotSet();
                    return Variant(static_cast<std::int32_t>(self.showFilter(
                        *context, a.str(1), a.str(2), a.objectAs<ado::Connection>(3))));
                  })
          .method("GetResult", {}, "FilterResult",
                  [](Self& self, Args&) -> Variant {
                    return Variant(automation::ObjectPtr(self.result()));
                  })
          .method("Terminate", {}, "",
                  [](Self& self, Args&) -> Variant {
                    self.terminate();
                    return {};
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
