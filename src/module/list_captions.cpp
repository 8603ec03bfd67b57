#include "module/list_captions.h"

#include <array>
#include <span>
#include <utility>

#include "automation/vb_strings.h"

namespace quillon::module {

namespace {

using Entry = std::pair<std::string_view, std::string_view>;

constexpr std::array kParent = {
    Entry{"id", "选择"},
    Entry{"ccode", "委外订单号"},
    Entry{"ddate", "单据日期"},
    Entry{"cvencode", "委外商编码"},
    Entry{"cvenname", "委外商名称"},
    Entry{"cpersonname", "业务员"},
    Entry{"cmaker", "制单人"},
    Entry{"cverifier", "审核人"},
    Entry{"dcheckdate", "审核日期"},
    Entry{"cmemo", "备注"},
};

// fquantity is decided by the voucher type, outside the table.
constexpr std::array kSub = {
    Entry{"mainid", "选择"},
    Entry{"cinvcode", "产品编码"},
    Entry{"cinvname", "产品"},
    Entry{"cinvstd", "规格型号"},
    Entry{"cinvm_unit", "计量单位"},
    Entry{"icurquantity", "本次配套出库数量"},
    Entry{"finquantity", "累计入库数量"},
    Entry{"dstartdate", "计划开工日期"},
    Entry{"denddate", "要求完工日期"},
    Entry{"citemcode", "项目编码"},
    Entry{"citemname", "项目"},
    Entry{"citem_class", "项目大类编码"},
    Entry{"citem_name", "项目大类"},
    Entry{"ccheckcode", "检验单号"},
};

constexpr std::array kChild = {
    Entry{"subid", "选择"},
    Entry{"ccode", "委外订单号"},
    Entry{"cinvcode", "材料编码"},
    Entry{"cinvname", "材料名称"},
    Entry{"cinvstd", "规格型号"},
    Entry{"cinvm_unit", "计量单位"},
    Entry{"fquantity", "应出库数量"},
    Entry{"foutquantity", "材料出库数量"},
    Entry{"icuroutquantity", "本次出库数量"},
};

constexpr std::array kDeliveryHead = {
    Entry{"cbillname", "单据类型"}, Entry{"cdlcode", "发货单号"}, Entry{"csbvcode", "发票号"},
    Entry{"ddate", "单据日期"},     Entry{"cstname", "销售类型"}, Entry{"cbustype", "业务类型"},
    Entry{"ccusname", "客户"},      Entry{"cdepname", "部门"},    Entry{"cpersonname", "业务员"},
    Entry{"cmaker", "制单人"},      Entry{"cverifier", "审核人"},
};

constexpr std::array kDeliveryBody = {
    Entry{"cwhname", "仓库"},          Entry{"cinvcode", "存货编码"},
    Entry{"cinvaddcode", "存货代码"},  Entry{"cinvname", "存货名称"},
    Entry{"cinvstd", "规格型号"},      Entry{"ccode", "入库单号"},
    Entry{"cbatch", "批号"},           Entry{"dmadedate", "生产日期"},
    Entry{"dvdate", "失效日期"},       Entry{"imassdate", "保质期"},
    Entry{"iinvexchrate", "换算率"},   Entry{"cinva_unit", "库存单位"},
    Entry{"cinvm_unit", "主计量单位"}, Entry{"iquantity", "应出库数量"},
    Entry{"inum", "应出库件数"},       Entry{"foutquantity", "已出库数量"},
    Entry{"foutnum", "已出库件数"},    Entry{"cinvouchcode", "入库单号"},
};

constexpr std::array kOrderHead = {
    Entry{"ccode", "单据号"},       Entry{"cpoid", "单据号"},     Entry{"ddate", "单据日期"},
    Entry{"dpodate", "单据日期"},   Entry{"cptname", "采购类型"}, Entry{"cbustype", "业务类型"},
    Entry{"cvenabbname", "供应商"}, Entry{"cdepname", "部门"},    Entry{"cpersonname", "业务员"},
    Entry{"cmaker", "制单人"},      Entry{"cverifier", "审核人"},
};

constexpr std::array kOrderBody = {
    Entry{"cwhname", "仓库"},
    Entry{"cinvcode", "存货编码"},
    Entry{"cinvaddcode", "存货代码"},
    Entry{"cinvname", "存货名称"},
    Entry{"cinvstd", "规格型号"},
    Entry{"darrivedate", "计划到货日期"},
    Entry{"cbatch", "批号"},
    Entry{"dpdate", "生产日期"},
    Entry{"dmadedate", "生产日期"},
    Entry{"dvdate", "失效日期"},
    Entry{"imassdate", "保质期"},
    Entry{"iinvexchrate", "换算率"},
    Entry{"cinva_unit", "库存单位"},
    Entry{"cinvm_unit", "主计量单位"},
    Entry{"iquantity", "应入库数量"},
    Entry{"inum", "应入库件数"},
    Entry{"fvalidinquan", "已入库数量"},
    Entry{"ireceivedqty", "已入库数量"},
    Entry{"fvalidinnum", "已入库件数"},
    Entry{"ireceivednum", "已入库件数"},
    Entry{"cinvouchcode", "入库单号"},
};

std::span<const Entry> tableOf(ListKind kind) {
  switch (kind) {
    case ListKind::Parent:
      return kParent;
    case ListKind::Sub:
      return kSub;
    case ListKind::Child:
      return kChild;
    case ListKind::DeliveryHead:
      return kDeliveryHead;
    case ListKind::DeliveryBody:
      return kDeliveryBody;
    case ListKind::OrderHead:
      return kOrderHead;
    case ListKind::OrderBody:
      return kOrderBody;
  }
  return {};
}

}  // namespace

bool isReportList(ListKind kind) {
  return kind == ListKind::Parent || kind == ListKind::Sub || kind == ListKind::Child;
}

bool isHeadList(ListKind kind) {
  return kind == ListKind::Parent || kind == ListKind::DeliveryHead || kind == ListKind::OrderHead;
}

bool captionsFreeItems(ListKind kind) {
  return !isHeadList(kind);
}

std::optional<std::string> captionOf(ListKind kind, std::string_view fieldName, int voucherType) {
  const std::string name = automation::LCase(fieldName);
  if (kind == ListKind::Sub && name == "fquantity") {
    return std::string(voucherType == 72 ? "应入库数量" : "投产数量");
  }
  for (const auto& [field, caption] : tableOf(kind)) {
    if (field == name) return std::string(caption);
  }
  return std::nullopt;
}

}  // namespace quillon::module
