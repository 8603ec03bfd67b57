#include "components/suite/define_items.h"

#include "ado/connection.h"
#include "automation/vb_strings.h"
#include "components/suite/component_errors.h"
#include "components/suite/rows.h"
#include "components/suite/session_objects.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Args;
using automation::in;
using automation::Variant;

std::optional<DefineItem> DefineItemServiceObject::lookup(std::string_view key) {
  if (!context_) raise(kErrNoSession, "DefineItemService的会话上下文尚未设置");
  const std::string k = automation::Trim(key);
  if (k.empty()) return std::nullopt;
  Rows rows =
      queryRows(sessionConnection(*context_).database(),
                "SELECT cKey, cName, cType, iLength, cSource FROM DefineItem WHERE cKey = " +
                    sql::literal(k) + " AND bInUse = 1");
  if (rows.empty()) return std::nullopt;
  DefineItem item;
  item.key = rows.text(0, "cKey");
  item.name = rows.text(0, "cName");
  item.type = rows.text(0, "cType");
  const Variant& length = rows.at(0, "iLength");
  item.length = length.isNull() ? 0 : length.toLong();
  item.source = rows.text(0, "cSource");
  return item;
}

bool DefineItemServiceObject::getDefine(std::string_view key, DefineItemService& target) {
  auto item = lookup(key);
  const bool defined = item.has_value();
  target.assign(std::move(item));
  return defined;
}

const automation::MemberTable& DefineItemServiceObject::memberTable() const {
  using Self = DefineItemServiceObject;
  auto text = [](std::string DefineItem::*member) {
    return [member](Self& self, Args&) -> Variant {
      return Variant(self.definition() ? (*self.definition()).*member : std::string());
    };
  };
  auto setContext = [](Self& self, Args& a) -> Variant {
    self.setContext(automation::toObjectAs<SessionContext>(a.value()));
    return {};
  };
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("DefineItemService")
          .property("Login", "SessionContext", nullptr, nullptr, setContext)
          .property("Context", "SessionContext", nullptr, nullptr, setContext)
          .method("GetDefine", {in("sKey", "String"), in("oTarget", "DefineItemService")},
                  "Boolean",
                  [](Self& self, Args& a) -> Variant {
                    auto target = a.objectAs<DefineItemService>(1);
                    if (!target) {
                      throw automation::ComError::objectNotSet();
                    }
                    return Variant(self.getDefine(a.str(0), *target));
                  })
          .getter("Key", "String", text(&DefineItem::key))
          .getter("Name", "String", text(&DefineItem::name))
          .getter("Type", "String", text(&DefineItem::type))
          .getter("Source", "String", text(&DefineItem::source))
          .getter("Length", "Long",
                  [](Self& self, Args&) -> Variant {
                    return Variant(static_cast<std::int32_t>(
                        self.definition() ? self.definition()->length : 0));
                  })
          .getter(
              "Defined", "Boolean",
              [](Self& self, Args&) -> Variant { return Variant(self.definition().has_value()); })
          .build();
  return table;
}

}  // namespace quillon::components::suite
