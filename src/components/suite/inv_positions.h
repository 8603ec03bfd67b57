// The suite's bin-position object and service (rules in components/inv_position.h).
//
// InvPosition late-bound members: Login (Set: SessionContext), AutoID, RdsID, RdID, bRdFlag,
// cWhCode, cPosCode, cInvCode, cBatch, cFree1..cFree10, iQuantity, iNum, dDate, cHandler, cMemo.
// Refusal texts: "数量不能为零", "仓库[w]不存在", "仓库[w]不是货位管理仓库", "货位[p]不存在",
// "货位[p]不属于仓库[w]", "货位[p]不是末级货位", "存货[i]不存在", "货位记录[n]不存在",
// "货位[p]上存货[i]的结存不足".
#pragma once

#include <memory>

#include "components/inv_position.h"

namespace quillon::components::suite {

class InvPositionObject final : public InvPosition {
 public:
  InvPositionData& data() override { return data_; }
  void setLogin(std::shared_ptr<SessionContext> context) override { context_ = std::move(context); }
  std::shared_ptr<SessionContext> loginContext() const override { return context_; }

  const automation::MemberTable& memberTable() const override;

 private:
  InvPositionData data_;
  std::shared_ptr<SessionContext> context_;
};

class InvPositionServiceObject final : public InvPositionService {
 public:
  PositionResult insert(InvPosition& position, std::shared_ptr<ado::Connection> conn) override;
  PositionResult update(InvPosition& position, std::shared_ptr<ado::Connection> conn) override;
  PositionResult remove(InvPosition& position, std::shared_ptr<ado::Connection> conn) override;

  const automation::MemberTable& memberTable() const override;
};

}  // namespace quillon::components::suite
