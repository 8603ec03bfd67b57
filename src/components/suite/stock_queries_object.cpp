#include "components/suite/stock_queries_object.h"

#include <memory>

#include "automation/collection.h"
#include "components/registration.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

// sWhCode, sInvCode, [sFree], [sBatch] as the late-bound members take them.
StockLine lineOf(Args& a) {
  StockLine line;
  line.whCode = a.str(0);
  line.invCode = a.str(1);
  if (auto free = a.objectAs<automation::Collection>(2)) {
    const std::size_t n = std::min<std::size_t>(free->count(), line.free.size());
    for (std::size_t k = 0; k < n; ++k) line.free[k] = free->item(k + 1).displayText();
  }
  line.batch = a.str(3);
  return line;
}

std::vector<automation::ParamInfo> lineParams(bool withRefFrom) {
  using automation::in;
  using automation::opt;
  std::vector<automation::ParamInfo> params = {in("sWhCode", "String"), in("sInvCode", "String"),
                                               opt("sFree", "Collection"),
                                               opt("sBatch", "String", Variant(""))};
  if (withRefFrom) params.push_back(opt("sRefFrom", "String", Variant("")));
  return params;
}

}  // namespace

const automation::MemberTable& StockQueriesObject::memberTable() const {
  using Self = StockQueriesObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("StockQueries")
          .method("CurrentStockSql", lineParams(true), "String",
                  [](Self& self, Args& a) -> Variant {
                    return Variant(self.currentStockSql(lineOf(a), a.str(4) == "18"));
                  })
          .method("ReceiptLineSql", lineParams(true), "String",
                  [](Self& self, Args& a) -> Variant {
                    return Variant(self.receiptLineSql(lineOf(a), a.str(4) == "18"));
                  })
          .method("ReturnSql", lineParams(false), "String",
                  [](Self& self, Args& a) -> Variant { return Variant(self.returnSql(lineOf(a))); })
          .build();
  return table;
}

}  // namespace quillon::components::suite

namespace quillon::components {

void registerStockQueries(automation::ClassRegistry& registry) {
  if (registry.find(kStockQueriesProgId) == nullptr) {
    registry.add<suite::StockQueriesObject>(std::string(kStockQueriesProgId), "");
  }
}

}  // namespace quillon::components
