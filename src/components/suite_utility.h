// SuiteUtility: the suite's global utility object. One process-wide instance exists (module state
// of this layer, created on first use); the library takes its error-information object from it.
//
// Late-bound members (suite implementation): "ErrInfo", "IsEmptyValue", "IsNumericValue",
// "FieldToNumber", "RoundByFormat", "CopyRecordsetStructure", "CopyRecordset", "RecordsetToStream",
// "StreamToRecordset", "ToolbarImage", "LastLookupError".
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::automation {
class ErrorInfo;
}
namespace quillon::ado {
class Recordset;
}

namespace quillon::components {

class SuiteUtility : public automation::Object {
 public:
  virtual std::shared_ptr<automation::ErrorInfo> errorInfo() = 0;

  // Empty, Null, Missing, Nothing and texts of blanks only are empty.
  virtual bool isEmptyValue(const automation::Variant& value) = 0;
  virtual bool isNumericValue(const automation::Variant& value) = 0;
  // A field value as a number: Null, Empty and empty texts are 0; "1,234.5" is 1234.5; anything
  // else that is not numeric raises 13.
  virtual double fieldToNumber(const automation::Variant& value) = 0;
  // Rounds half away from zero to the number of places of a format pattern ("##0.00" -> 2,
  // "##0." and "0" -> 0), on the decimal digits of the value (2.675 -> 2.68).
  virtual double roundByFormat(double value, std::string_view pattern) = 0;

  // New, independent client-side recordsets with the same fields: without rows, and with the rows
  // of the source's current view.
  virtual std::shared_ptr<ado::Recordset> copyStructure(ado::Recordset& source) = 0;
  virtual std::shared_ptr<ado::Recordset> copyWithRows(ado::Recordset& source) = 0;

  // The conversion pair: a query recordset to a detached stream, and the stream back to an
  // updatable client-side recordset with bookmarks, positions and bookmark-array filters.
  virtual automation::ObjectPtr toStream(ado::Recordset& source) = 0;
  virtual std::shared_ptr<ado::Recordset> fromStream(const automation::ObjectPtr& stream) = 0;
  // fromStream(toStream(source)) for a caller that gives up `source`: a recordset nobody else
  // holds, with its rows as they were read, is already what the pair would give and becomes it
  // (disconnected, client-side, at its first row) without a copy; any other is copied.
  virtual std::shared_ptr<ado::Recordset> throughStream(std::shared_ptr<ado::Recordset> source) = 0;

  // Picture id of a toolbar image ("tlbok", "tlbauto", "tlbhelp", "tlbexit"); 0 for an unknown key.
  virtual int toolbarImage(std::string_view key) = 0;

  // The failure message of the last archive lookup (also kept in the error-information object).
  virtual std::string lastLookupError() = 0;
};

// The process-wide instance.
std::shared_ptr<SuiteUtility> suiteUtility();

}  // namespace quillon::components
