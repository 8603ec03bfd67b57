// The suite's production-order service on the account database (rules in
// components/production_order_service.h). Late-bound members mirror the typed ones:
// GetHeads/GetHeadsOI/GetHeads39(sWhere, rs, conn, ErrMsg, iState, bOpenOnly, bResult),
// GetLines/GetLinesOI/GetLines39(sHeadId, rs, conn, ErrMsg, iState, bOpenOnly, sInvCondition,
// bResult), GetMaterials(lLineId, dQuantity, rs, conn, ErrMsg, sInvCondition, bResult),
// WriteOutQuantity/WriteOutQuantityOI(lSubId, cInvCode, dQuantity, conn, ErrMsg, sReserved),
// WriteClosed(lSubId, bClose, conn, ErrMsg, sReserved); recordsets, connections, ErrMsg and
// bResult by reference.
#pragma once

#include <memory>
#include <string>

#include "components/production_order_service.h"
#include "components/suite/production_order_queries.h"

namespace quillon::components::suite {

class ProductionOrderServiceObject final : public ProductionOrderService {
 public:
  void setContext(std::shared_ptr<SessionContext> context) override {
    context_ = std::move(context);
  }

  void listHeads(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                 std::string& errMsg, std::int32_t state, bool openOnly, bool& result) override;
  void listHeadsOI(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                   std::string& errMsg, std::int32_t state, bool openOnly, bool& result) override;
  void listHeads39(const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
                   std::string& errMsg, std::int32_t state, bool openOnly, bool& result) override;
  void listLines(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                 std::string& errMsg, std::int32_t state, bool openOnly,
                 const std::string& invCondition, bool& result) override;
  void listLinesOI(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                   std::string& errMsg, std::int32_t state, bool openOnly,
                   const std::string& invCondition, bool& result) override;
  void listLines39(const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
                   std::string& errMsg, std::int32_t state, bool openOnly,
                   const std::string& invCondition, bool& result) override;
  void listMaterials(std::int32_t lineKey, double lineQuantity, RecordsetPtr& rs,
                     ConnectionPtr& conn, std::string& errMsg, const std::string& invCondition,
                     bool& result) override;

  void writeOutQuantity(std::int32_t subId, const std::string& invCode, double quantity,
                        ConnectionPtr& conn, std::string& errMsg,
                        const std::string& reserved) override;
  void writeOutQuantityOI(std::int32_t subId, const std::string& invCode, double quantity,
                          ConnectionPtr& conn, std::string& errMsg,
                          const std::string& reserved) override;
  void writeClosed(std::int32_t subId, bool bClose, ConnectionPtr& conn, std::string& errMsg,
                   const std::string& reserved) override;

  const automation::MemberTable& memberTable() const override;

 private:
  void heads(OrderQueryKind kind, const std::string& where, RecordsetPtr& rs, ConnectionPtr& conn,
             std::string& errMsg, std::int32_t state, bool openOnly, bool& result);
  void lines(OrderQueryKind kind, const std::string& headKey, RecordsetPtr& rs, ConnectionPtr& conn,
             std::string& errMsg, std::int32_t state, bool openOnly,
             const std::string& invCondition, bool& result);

  std::shared_ptr<SessionContext> context_;
};

}  // namespace quillon::components::suite
