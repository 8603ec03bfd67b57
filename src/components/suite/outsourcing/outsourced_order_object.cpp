#include "components/suite/outsourcing/outsourced_order_object.h"

#include "ado/connection.h"

namespace quillon::components::suite {

using automation::Args;
using automation::Variant;

namespace {

automation::Variant connectionValue(const OutsourcedOrderService::ConnectionPtr& conn) {
  return Variant(std::static_pointer_cast<automation::Object>(conn));
}

double optionalNumber(const Variant& v) {
  return v.isEmpty() || v.isMissing() || v.isNull() ? 0.0 : v.toDouble();
}

}  // namespace

const automation::MemberTable& OutsourcedOrderServiceObject::memberTable() const {
  using automation::in;
  using automation::opt;
  using automation::ref;
  using Self = OutsourcedOrderServiceObject;
  static const automation::MemberTable table =
      automation::MemberBuilder<Self>("OutsourcedOrderService")
          .method("WriteInQuantity",
                  {in("lMainId", "Long"), in("cInvCode", "String"), in("dQuantity", "Double"),
                   ref("dTookQuantity", "Double"), ref("dInvalidQuantity", "Double"),
                   ref("conn", "Connection"), ref("ErrMsg", "String"),
                   opt("sReserved", "String", Variant(std::string())), opt("vReserved", "Variant")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto conn = automation::toObjectAs<ado::Connection>(a[5]);
                    double took = optionalNumber(a[3]);
                    double invalid = optionalNumber(a[4]);
                    std::string err = a[6].toString();
                    self.writeReceipt(a.lng(0), a.str(1), a.dbl(2), took, invalid, conn, err,
                                      a[7].isMissing() ? std::string() : a.str(7), a[8]);
                    a[3] = Variant(took);
                    a[4] = Variant(invalid);
                    a[5] = connectionValue(conn);
                    a[6] = Variant(err);
                    return {};
                  })
          .method("WriteOutQuantity",
                  {in("lSubId", "Long"), in("cInvCode", "String"), in("dQuantity", "Double"),
                   ref("conn", "Connection"), ref("ErrMsg", "String"),
                   opt("sReserved", "String", Variant(std::string())), opt("vReserved", "Variant")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto conn = automation::toObjectAs<ado::Connection>(a[3]);
                    std::string err = a[4].toString();
                    self.writeIssue(a.lng(0), a.str(1), a.dbl(2), conn, err,
                                    a[5].isMissing() ? std::string() : a.str(5), a[6]);
                    a[3] = connectionValue(conn);
                    a[4] = Variant(err);
                    return {};
                  })
          .method("WriteClosed",
                  {in("lMainId", "Long"), in("bClose", "Boolean"), ref("conn", "Connection"),
                   ref("ErrMsg", "String"), opt("sReserved", "String", Variant(std::string())),
                   opt("vReserved", "Variant")},
                  "",
                  [](Self& self, Args& a) -> Variant {
                    auto conn = automation::toObjectAs<ado::Connection>(a[2]);
                    std::string err = a[3].toString();
                    self.writeClosed(a.lng(0), a.boolean(1), conn, err,
                                     a[4].isMissing() ? std::string() : a.str(4), a[5]);
                    a[2] = connectionValue(conn);
                    a[3] = Variant(err);
                    return {};
                  })
          .build();
  return table;
}

}  // namespace quillon::components::suite
