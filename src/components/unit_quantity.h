// The unit/quantity component: recalculates a voucher line's conversion rate, quantity and pieces
// when its stock unit, quantity, pieces or rate changes.
//
// Use, late-bound as the line grids do it:
//   Set comp.Login = context
//   Set comp.Body = rsLine            ' a one-record recordset
//   comp.Recalculate "cinva_unit"     ' the field that changed
//   ' rsLine now holds the recalculated iinvexchrate, iquantity and inum
//
// Fields read from the record: cinvcode; the stock unit as "cassunit" (unit code) and/or
// "cinva_unit" (code or name); "iquantity", "inum", "iinvexchrate"; "igrouptype" when present
// (else the item's group type). Rules per unit group type:
//   0 (none): nothing is recalculated;
//   1 (fixed): the rate is the stock unit's rate from the unit table; pieces = quantity / rate,
//     or quantity = pieces * rate when the pieces changed;
//   2 (floating): pieces are kept and the rate becomes quantity / pieces; with no pieces yet, the
//     unit's rate gives the pieces.
// A unit that does not belong to the item's unit group is refused with an error naming it.
#pragma once

#include <memory>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::ado {
class Recordset;
}

namespace quillon::components {

class UnitQuantity : public automation::Object {
 public:
  virtual void setLogin(std::shared_ptr<SessionContext> context) = 0;
  virtual void setBody(std::shared_ptr<ado::Recordset> body) = 0;
  virtual std::shared_ptr<ado::Recordset> body() const = 0;
  // Recalculates the current record of Body after `changedField` changed.
  virtual void recalculate(std::string_view changedField) = 0;
};

}  // namespace quillon::components
