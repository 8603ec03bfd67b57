#include "components/suite/suite_utility_object.h"

#include <array>

#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "automation/numeric_text.h"
#include "automation/text_compare.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"

namespace quillon::components {

std::shared_ptr<SuiteUtility> suiteUtility() {
  // Module state: the one utility object of the process, and with it the error-information
  // object every trapped error is recorded in.
  static const std::shared_ptr<SuiteUtility> instance =
      std::make_shared<suite::SuiteUtilityObject>();
  return instance;
}

}  // namespace quillon::components

namespace quillon::components::suite {

using automation::Args;
using automation::in;
using automation::ObjectPtr;
using automation::Variant;

namespace {

// Field objects stand for their value, as they do in the platform's expressions.
Variant plainValue(const Variant& v) {
  if (v.isObject() && !v.isNothing()) return v.asObject()->value();
  return v;
}

// A snapshot of a recordset's rows between the two conversion operations.
class RecordsetStream final : public automation::Object {
 public:
  explicit RecordsetStream(std::shared_ptr<ado::Recordset> rows) : rows_(std::move(rows)) {}

  const std::shared_ptr<ado::Recordset>& rows() const { return rows_; }

  const automation::MemberTable& memberTable() const override {
    static const automation::MemberTable table =
        automation::MemberBuilder<RecordsetStream>("RecordsetStream")
            .getter("RecordCount", "Long",
                    [](RecordsetStream& self, Args&) -> Variant {
                      return Variant(self.rows_->recordCount());
                    })
            .build();
    return table;
  }

 private:
  std::shared_ptr<ado::Recordset> rows_;
};

std::shared_ptr<ado::Recordset> clientSide(std::shared_ptr<ado::Recordset> rs) {
  rs->setCursorLocation(ado::adUseClient);
  rs->setCursorType(ado::adOpenStatic);
  rs->setLockType(ado::adLockBatchOptimistic);
  if (rs->recordCount() > 0) rs->moveFirst();
  return rs;
}

}  // namespace

int decimalPlacesOf(std::string_view pattern) {
  // Only the first section counts ("#,##0.00;-#,##0.00").
  pattern = pattern.substr(0, pattern.find(';'));
  auto point = pattern.find('.');
  if (point == std::string_view::npos) return 0;
  int places = 0;
  for (char c : pattern.substr(point + 1)) {
    if (c == '0' || c == '#') ++places;
  }
  return places;
}

SuiteUtilityObject::SuiteUtilityObject() : errorInfo_(std::make_shared<automation::ErrorInfo>()) {}

bool SuiteUtilityObject::isEmptyValue(const Variant& value) {
  if (value.isEmpty() || value.isNull() || value.isMissing() || value.isNothing()) return true;
  if (value.isObject()) return isEmptyValue(plainValue(value));
  if (value.isString()) return automation::Trim(value.asString()).empty();
  return false;
}

bool SuiteUtilityObject::isNumericValue(const Variant& value) {
  Variant v = plainValue(value);
  if (v.isNull() || v.isMissing() || v.isObject() || v.isArray()) return false;
  return automation::IsNumeric(v);
}

double SuiteUtilityObject::fieldToNumber(const Variant& value) {
  Variant v = plainValue(value);
  if (isEmptyValue(v)) return 0.0;
  if (v.isString()) {
    auto n = automation::parseNumericText(automation::Replace(v.asString(), ",", ""));
    if (!n) throw automation::ComError::typeMismatch();
    return *n;
  }
  if (v.type() == automation::VarType::Date) return v.asDate().serial;
  return v.toDouble();
}

double SuiteUtilityObject::roundByFormat(double value, std::string_view pattern) {
  int places = decimalPlacesOf(pattern);
  std::string canonical =
      places > 0 ? "0." + std::string(static_cast<std::size_t>(places), '0') : "0";
  auto n = automation::parseNumericText(automation::formatNumber(value, canonical));
  return n ? *n : value;
}

std::shared_ptr<ado::Recordset> SuiteUtilityObject::copyStructure(ado::Recordset& source) {
  return clientSide(source.copyStructure());
}

std::shared_ptr<ado::Recordset> SuiteUtilityObject::copyWithRows(ado::Recordset& source) {
  return clientSide(source.copyWithRows());
}

ObjectPtr SuiteUtilityObject::toStream(ado::Recordset& source) {
  return std::make_shared<RecordsetStream>(source.copyWithRows());
}

std::shared_ptr<ado::Recordset> SuiteUtilityObject::fromStream(const ObjectPtr& stream) {
  auto* snapshot = dynamic_cast<RecordsetStream*>(stream.get());
  if (snapshot == nullptr) throw automation::ComError::typeMismatch();
  return clientSide(snapshot->rows()->copyWithRows());
}

std::shared_ptr<ado::Recordset> SuiteUtilityObject::throughStream(
    std::shared_ptr<ado::Recordset> source) {
  if (!source) throw automation::ComError::objectNotSet();
  if (source.use_count() == 1 && source->rowsAsRead()) {
    source->setActiveConnection(nullptr);
    return clientSide(std::move(source));
  }
  return fromStream(toStream(*source));
}

int SuiteUtilityObject::toolbarImage(std::string_view key) {
  static constexpr std::array<std::pair<std::string_view, int>, 4> kImages = {
      {{"tlbok", 1201}, {"tlbauto", 1202}, {"tlbhelp", 1203}, {"tlbexit", 1204}}};
  for (const auto& [name, id] : kImages) {
    if (automation::equalsNoCase(name, key)) return id;
  }
  return 0;
}

std::string SuiteUtilityObject::lastLookupError() {
  return errorInfo_->lookupMessage();
}

const automation::MemberTable& SuiteUtilityObject::memberTable() const {
  using Self = SuiteUtilityObject;
  auto recordsetArg = [](Args& a, std::size_t i) -> ado::Recordset& {
    auto rs = a.objectAs<ado::Recordset>(i);
    if (!rs) {
      throw automation::ComError::objectNotSet();
    }
    return *rs;
  };
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("SuiteUtility")
          .getter("ErrInfo", "ErrorInfo",
                  [](Self& self, Args&) -> Variant { return Variant(ObjectPtr(self.errorInfo())); })
          .method("IsEmptyValue", {in("vValue", "Variant")}, "Boolean",
                  [](Self& self, Args& a) -> Variant { return Variant(self.isEmptyValue(a[0])); })
          .method("IsNumericValue", {in("vValue", "Variant")}, "Boolean",
                  [](Self& self, Args& a) -> Variant { return Variant(self.isNumericValue(a[0])); })
          .method("FieldToNumber", {in("vValue", "Variant")}, "Double",
                  [](Self& self, Args& a) -> Variant { return Variant(self.fieldToNumber(a[0])); })
          .method("RoundByFormat", {in("dValue", "Double"), in("sFormat", "String")}, "Double",
                  [](Self& self, Args& a) -> Variant {
                    return Variant(self.roundByFormat(self.fieldToNumber(a[0]), a.str(1)));
                  })
          .method("CopyRecordsetStructure", {in("rsSource", "Recordset")}, "Recordset",
                  [recordsetArg](Self& self, Args& a) -> Variant {
                    return Variant(ObjectPtr(self.copyStructure(recordsetArg(a, 0))));
                  })
          .method("CopyRecordset", {in("rsSource", "Recordset")}, "Recordset",
                  [recordsetArg](Self& self, Args& a) -> Variant {
                    return Variant(ObjectPtr(self.copyWithRows(recordsetArg(a, 0))));
                  })
          .method("RecordsetToStream", {in("rsSource", "Recordset")}, "Object",
                  [recordsetArg](Self& self, Args& a) -> Variant {
                    return Variant(self.toStream(recordsetArg(a, 0)));
                  })
          .method("StreamToRecordset", {in("oStream", "Object")}, "Recordset",
                  [](Self& self, Args& a) -> Variant {
                    auto stream = a.object(0);
                    if (!stream) {
                      throw automation::ComError::objectNotSet();
                    }
                    return Variant(ObjectPtr(self.fromStream(stream)));
                  })
          .method("ToolbarImage", {in("sKey", "String")}, "Long",
                  [](Self& self, Args& a) -> Variant {
                    return Variant(static_cast<std::int32_t>(self.toolbarImage(a.str(0))));
                  })
          .getter("LastLookupError", "String",
                  [](Self& self, Args&) -> Variant { return Variant(self.lastLookupError()); })
          .build();
  return table;
}

}  // namespace quillon::components::suite
