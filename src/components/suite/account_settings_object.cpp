#include "components/suite/account_settings_object.h"

#include <array>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/vb_strings.h"
#include "components/suite/rows.h"
#include "sql/sql_text.h"

namespace quillon::components::suite {

using automation::Variant;

namespace {

enum class Kind { Digits, Format, Text, Option };

struct Known {
  std::string_view name;
  Kind kind;
  std::string_view fallback;  // default text; for formats the digits setting they follow
};

constexpr std::array<Known, 16> kKnown = {{
    {"QuanDecDgt", Kind::Digits, "2"},
    {"NumDecDgt", Kind::Digits, "2"},
    {"ExchRateDecDgt", Kind::Digits, "4"},
    {"FormatQuanDecString", Kind::Format, "QuanDecDgt"},
    {"FormatNumDecString", Kind::Format, "NumDecDgt"},
    {"FormatExchDecString", Kind::Format, "ExchRateDecDgt"},
    {"SysVersion", Kind::Text, "工业"},
    {"BatchOut", Kind::Text, "手工确定"},
    {"InOutTrace", Kind::Text, "手工确定"},
    {"OverDispOut", Kind::Option, "false"},
    {"OverOrder", Kind::Option, "false"},
    {"CheckWareInv", Kind::Option, "false"},
    {"bBOMSpreadNotByFree", Kind::Option, "false"},
    {"bOMInNeedOut", Kind::Option, "false"},
    {"bOMZGInstal", Kind::Option, "false"},
    {"bStockNegative", Kind::Option, "false"},
}};

const Known* findKnown(std::string_view name) {
  for (const auto& k : kKnown) {
    if (automation::equalsNoCase(k.name, name)) return &k;
  }
  return nullptr;
}

std::int32_t digitsOf(const std::string& text, std::string_view fallback) {
  auto n = automation::parseNumericText(text);
  if (!n || *n < 0 || *n > 15) n = automation::parseNumericText(fallback);
  return static_cast<std::int32_t>(*n);
}

std::string patternFor(std::int32_t digits) {
  return "##0." + std::string(static_cast<std::size_t>(digits), '0');
}

}  // namespace

bool optionIsOn(std::string_view text) {
  std::string t = automation::LCase(automation::Trim(text));
  return t == "true" || t == "1" || t == "-1" || t == "yes" || t == "是";
}

AccountSettingsObject::AccountSettingsObject(std::shared_ptr<ado::Connection> connection)
    : connection_(std::move(connection)) {}

std::optional<std::string> AccountSettingsObject::rawValue(std::string_view name) {
  Rows rows = queryRows(connection_->database(),
                        "SELECT cSysID, isnull(cValue, isnull(cDefault, '')) AS v FROM "
                        "accinformation WHERE cName = " +
                            sql::literal(name));
  if (rows.empty()) return std::nullopt;
  std::size_t pick = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (automation::equalsNoCase(rows.text(i, "cSysID"), "st")) {
      pick = i;
      break;
    }
  }
  return rows.text(pick, "v");
}

Variant AccountSettingsObject::setting(std::string_view name) {
  const Known* known = findKnown(name);
  std::optional<std::string> raw = rawValue(name);
  if (!known) {
    if (!raw) {
      throw automation::ComError::memberNotFound();
    }
    return Variant(*raw);
  }
  switch (known->kind) {
    case Kind::Digits:
      return Variant(digitsOf(raw.value_or(std::string(known->fallback)), known->fallback));
    case Kind::Format:
      if (raw && !automation::Trim(*raw).empty()) return Variant(*raw);
      return Variant(patternFor(setting(known->fallback).toLong()));
    case Kind::Text:
      if (raw && !raw->empty()) return Variant(*raw);
      return Variant(std::string(known->fallback));
    case Kind::Option:
      return Variant(optionIsOn(raw.value_or(std::string(known->fallback))));
  }
  return Variant();
}

const automation::MemberTable& AccountSettingsObject::memberTable() const {
  using automation::Args;
  using automation::in;
  static const automation::MemberTable table =
      automation::MemberBuilder<AccountSettingsObject>("AccountSettings")
          .property("Item", "Variant",
                    [](AccountSettingsObject& self, Args& a) -> Variant {
                      return self.setting(a.str(0));
                    },
                    nullptr, nullptr, {in("sName", "String")})
          .defaultMember("Item")
          .build();
  return table;
}

std::optional<Variant> AccountSettingsObject::invokeDynamic(std::string_view name,
                                                            automation::InvokeKind kind,
                                                            std::span<Variant> args) {
  using automation::InvokeKind;
  if (kind != InvokeKind::PropertyGet && kind != InvokeKind::Method) return std::nullopt;
  if (!args.empty()) return std::nullopt;
  if (!findKnown(name) && !rawValue(name)) return std::nullopt;
  return setting(name);
}

}  // namespace quillon::components::suite
