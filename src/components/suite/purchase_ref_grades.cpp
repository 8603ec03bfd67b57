// PurchaseRefService: the code lengths of the inventory-class grades.
#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/collection.h"
#include "automation/com_error.h"
#include "components/suite/purchase_ref_object.h"

namespace quillon::components::suite {

std::shared_ptr<automation::Collection> PurchaseRefServiceObject::invClassGradeLengths(
    SessionContext& session) {
  auto conn = session.connection();
  if (!conn || !conn->isOpen()) throw automation::ComError::objectNotSet();
  auto rs = conn->execute(
      "SELECT iGrade, iCodeLen FROM GradeDef WHERE cKeyWord = N'inventoryclass' ORDER BY iGrade");
  auto lengths = std::make_shared<automation::Collection>();
  if (rs && rs->isOpen()) {
    for (; !rs->eof(); rs->moveNext()) {
      lengths->add(automation::Variant(rs->value("iCodeLen").toLong()));
    }
  }
  return lengths;
}

automation::Variant invClassGradeLengthsMember(PurchaseRefServiceObject& self,
                                               automation::Args& a) {
  auto session = automation::toObjectAs<SessionContext>(a[0]);
  if (!session) throw automation::ComError::objectNotSet();
  a[1] = automation::Variant(automation::ObjectPtr(self.invClassGradeLengths(*session)));
  return {};
}

}  // namespace quillon::components::suite
