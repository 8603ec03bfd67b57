// The suite's global utility object (see components/suite_utility.h for what callers rely on).
//
// Toolbar images are picture ids of the suite's image component: "tlbok" 1201, "tlbauto" 1202,
// "tlbhelp" 1203, "tlbexit" 1204 (keys without regard to case).
//
// The conversion pair: RecordsetToStream takes a snapshot of the rows the source shows (an object
// of class "RecordsetStream"; the source is not touched and may be closed afterwards);
// StreamToRecordset gives, on every call, a new independent client-side recordset over the
// snapshot, positioned on its first row, with bookmarks, AbsolutePosition, Filter (criteria or an
// array of bookmarks), Sort and local editing.
#pragma once

#include <memory>

#include "components/suite_utility.h"

namespace quillon::components::suite {

class SuiteUtilityObject final : public SuiteUtility {
 public:
  SuiteUtilityObject();

  std::shared_ptr<automation::ErrorInfo> errorInfo() override { return errorInfo_; }
  bool isEmptyValue(const automation::Variant& value) override;
  bool isNumericValue(const automation::Variant& value) override;
  double fieldToNumber(const automation::Variant& value) override;
  double roundByFormat(double value, std::string_view pattern) override;
  std::shared_ptr<ado::Recordset> copyStructure(ado::Recordset& source) override;
  std::shared_ptr<ado::Recordset> copyWithRows(ado::Recordset& source) override;
  automation::ObjectPtr toStream(ado::Recordset& source) override;
  std::shared_ptr<ado::Recordset> fromStream(const automation::ObjectPtr& stream) override;
  std::shared_ptr<ado::Recordset> throughStream(std::shared_ptr<ado::Recordset> source) override;
  int toolbarImage(std::string_view key) override;
  std::string lastLookupError() override;

  const automation::MemberTable& memberTable() const override;

 private:
  std::shared_ptr<automation::ErrorInfo> errorInfo_;
};

// Decimal places a number pattern shows: the digit placeholders ("0", "#") after its point.
int decimalPlacesOf(std::string_view pattern);

}  // namespace quillon::components::suite
