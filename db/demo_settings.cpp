// Account parameters, user-defined item definitions, voucher types, users with their rights, the
// default column sets of the outsourced-order lists and the named filters.
#include <array>
#include <string>
#include <string_view>

#include "db/demo_parts.h"

namespace quillon::db {

namespace {

struct Param {
  const char* sys;
  const char* name;
  const char* caption;
  const char* type;
  const char* value;  // nullptr: no value, the default applies
  const char* fallback;
};

constexpr std::array<Param, 21> kParams = {{
    {"st", "QuanDecDgt", "数量小数位数", "int", "2", "2"},
    {"st", "NumDecDgt", "件数小数位数", "int", "2", "2"},
    {"st", "ExchRateDecDgt", "换算率小数位数", "int", "4", "2"},
    {"st", "FormatQuanDecString", "数量显示格式", "text", "##0.00", "##0.00"},
    {"st", "FormatNumDecString", "件数显示格式", "text", "##0.00", "##0.00"},
    {"st", "FormatExchDecString", "换算率显示格式", "text", "##0.0000", "##0.00"},
    {"st", "SysVersion", "系统版本", "text", "商业", "工业"},
    {"st", "BatchOut", "批次出库规则", "text", "批号先进先出", "手工确定"},
    {"st", "InOutTrace", "出库跟踪入库规则", "text", "先进先出", "手工确定"},
    {"st", "OverDispOut", "允许超发货单出库", "bool", "false", "false"},
    {"st", "OverOrder", "允许超订单入库", "bool", "true", "false"},
    {"st", "CheckWareInv", "检查仓库存货对照表", "bool", "true", "false"},
    {"st", "bBOMSpreadNotByFree", "BOM展开不按自由项", "bool", "false", "false"},
    {"st", "bShowStockFilter", "现存量参照显示结存过滤", "bool", nullptr, "1"},
    {"st", "bStockNegative", "允许零出库", "bool", "true", "false"},
    {"st", "cStartDate", "库存启用日期", "date", "2026-01-01", nullptr},
    {"st", "bSharedHolds", "各工作站共享占用", "bool", "false", "false"},
    {"om", "bOMInNeedOut", "委外入库必须先领料", "bool", "false", "false"},
    {"om", "bOMZGInstal", "委外暂估安装", "bool", "true", "false"},
    {"pu", "bArrInspect", "到货必须检验", "bool", "false", "false"},
    {"sa", "bCreditCheck", "发货信用检查", "bool", "true", "false"},
}};

struct Define {
  const char* key;
  const char* name;
  const char* type;
  int length;
  int decimals;
  bool inUse;
  const char* source;
};

constexpr std::array<Define, 31> kDefines = {{
    {"01", "合同号", "text", 30, 0, true, "head"},
    {"02", "运输方式", "text", 20, 0, true, "head"},
    {"03", "到货地点", "text", 60, 0, true, "head"},
    {"04", "结算方式", "text", 20, 0, true, "head"},
    {"05", "质量要求", "text", 60, 0, true, "head"},
    {"06", "联系电话", "text", 30, 0, true, "head"},
    {"07", "运费", "number", 20, 2, true, "head"},
    {"08", "发票类型", "text", 20, 0, true, "head"},
    {"09", "备用字段", "text", 60, 0, false, "head"},
    {"10", "项目说明", "text", 120, 0, true, "head"},
    {"15", "打印次数", "int", 10, 0, true, "head"},
    {"16", "折扣率", "number", 20, 4, true, "head"},
    {"20", "颜色", "text", 20, 0, true, "free"},
    {"21", "防护等级", "text", 20, 0, true, "free"},
    {"22", "包装要求", "text", 60, 0, true, "body"},
    {"23", "炉号", "text", 30, 0, true, "body"},
    {"24", "图号", "text", 30, 0, true, "body"},
    {"25", "工序号", "text", 20, 0, true, "body"},
    {"26", "检验标准", "text", 60, 0, true, "body"},
    {"27", "行备注", "text", 60, 0, true, "body"},
    {"28", "材质", "text", 20, 0, true, "free"},
    {"29", "产地", "text", 20, 0, true, "free"},
    {"36", "承诺交期", "date", 10, 0, true, "body"},
    {"37", "实际交期", "date", 10, 0, true, "body"},
    {"I01", "材质", "text", 30, 0, true, "inventory"},
    {"I02", "图号", "text", 30, 0, true, "inventory"},
    {"I03", "产地", "text", 30, 0, true, "inventory"},
    {"V01", "供应商等级", "text", 10, 0, true, "vendor"},
    {"V02", "合作年限", "int", 10, 0, true, "vendor"},
    {"C01", "信用等级", "text", 10, 0, true, "customer"},
    {"C02", "客户经理", "text", 20, 0, true, "customer"},
}};

struct VouchTypeRow {
  const char* code;
  const char* name;
  const char* sys;
  int rdFlag;  // -1: not a stock voucher
};

constexpr std::array<VouchTypeRow, 14> kVouchTypes = {{
    {"01", "采购入库单", "st", 1},
    {"05", "发货单", "sa", -1},
    {"06", "委托代销发货单", "sa", -1},
    {"08", "其他入库单", "st", 1},
    {"09", "其他出库单", "st", 0},
    {"10", "产成品入库单", "st", 1},
    {"11", "材料出库单", "st", 0},
    {"26", "专用发票", "sa", -1},
    {"27", "普通发票", "sa", -1},
    {"28", "销售调拨单", "sa", -1},
    {"29", "销售日报", "sa", -1},
    {"32", "销售出库单", "st", 0},
    {"QM16", "委外到货检验单", "qm", -1},
    {"OM02", "委外订单", "om", -1},
}};

struct Column {
  const char* name;
  const char* expr;
  const char* caption;
  int width;
  bool visible;
  const char* format;
};

// Header list of outsourced orders. The same field list runs with and without the department,
// vendor and person joins, so names are read through correlated subqueries on P alone.
constexpr std::array<Column, 14> kOrderHeadColumns = {{
    {"ID", "P.ID", "订单ID", 0, false, nullptr},
    {"cCode", "P.cCode", "委外订单号", 1300, true, nullptr},
    {"dDate", "P.dDate", "订单日期", 1100, true, nullptr},
    {"iProperty", "P.iProperty", "订单类型", 800, true, nullptr},
    {"cVenCode", "P.cVenCode", "供应商编码", 1000, true, nullptr},
    {"cVenName", "(select VV.cVenName from Vendor VV where VV.cVenCode = P.cVenCode)", "供应商名称",
     2400, true, nullptr},
    {"cDepCode", "P.cDepCode", "部门编码", 800, false, nullptr},
    {"cDepName", "(select DD.cDepName from Department DD where DD.cDepCode = P.cDepCode)", "部门",
     1200, true, nullptr},
    {"cPersonName", "(select PP.cPersonName from Person PP where PP.cPersonCode = P.cPersonCode)",
     "业务员", 900, true, nullptr},
    {"cMaker", "P.cMaker", "制单人", 900, true, nullptr},
    {"cVerifier", "P.cVerifier", "审核人", 900, true, nullptr},
    {"dCheckDate", "P.dCheckDate", "审核日期", 1100, true, nullptr},
    {"cDefine1", "P.cDefine1", "合同号", 1200, true, nullptr},
    {"cMemo", "P.cMemo", "备注", 2000, true, nullptr},
}};

// Product lines in receipt mode (normal and concession receipt): quantities come from the
// derived table M, which carries the inspected or concession-accepted amounts.
constexpr std::array<Column, 20> kReceiptLineColumns = {{
    {"MainID", "OM_POMain.MainID", "行ID", 0, false, nullptr},
    {"cCode", "om_productPo.cCode", "委外订单号", 1300, true, nullptr},
    {"cInvCode", "OM_POMain.cInvCode", "产品编码", 1100, true, nullptr},
    {"cInvName", "Inventory.cInvName", "产品名称", 1600, true, nullptr},
    {"cInvStd", "Inventory.cInvStd", "规格型号", 1400, true, nullptr},
    {"cComUnitName", "computationUnit.cComUnitName", "计量单位", 800, true, nullptr},
    {"fQuantity", "M.fQuantity", "应入库数量", 1100, true, "quantity"},
    {"fInquantity", "M.fInquantity", "累计入库数量", 1100, true, "quantity"},
    {"iCurQuantity", "isnull(M.fQuantity, 0) - isnull(M.fInquantity, 0)", "本次入库数量", 1100,
     true, "quantity"},
    {"iTookQuantity", "OM_POMain.iTookQuantity", "已领用数量", 1000, true, "quantity"},
    {"iInvalidQuantity", "OM_POMain.iInvalidQuantity", "报废数量", 1000, true, "quantity"},
    {"fNum", "M.fNum", "应入库件数", 1000, true, "number"},
    {"fInNum", "M.fInNum", "累计入库件数", 1000, true, "number"},
    {"iinvexchrate", "computationunit2.iChangRate", "换算率", 900, true, "exchrate"},
    {"ccheckcode", "qm_ncheckvoucher.cCheckCode", "检验单号", 1300, true, nullptr},
    {"ichkautoid", "qm_ncheckvouchers.AutoID", "检验行ID", 0, false, nullptr},
    {"irejid", "qm_ncheckvouchers.iRejID", "不良品ID", 0, false, nullptr},
    {"cveninvcode", "venandinv.cVenInvCode", "供应商存货编码", 1200, true, nullptr},
    {"dEndDate", "OM_POMain.dEndDate", "要求完工日期", 1100, true, nullptr},
    {"cFree1", "OM_POMain.cFree1", "颜色", 800, true, nullptr},
}};

// Product lines in issue mode: this time's kit quantity starts empty.
constexpr std::array<Column, 16> kIssueLineColumns = {{
    {"MainID", "OM_POMain.MainID", "行ID", 0, false, nullptr},
    {"cInvCode", "OM_POMain.cInvCode", "产品编码", 1100, true, nullptr},
    {"cInvName", "Inventory.cInvName", "产品名称", 1600, true, nullptr},
    {"cInvStd", "Inventory.cInvStd", "规格型号", 1400, true, nullptr},
    {"cComUnitName", "computationUnit.cComUnitName", "计量单位", 800, true, nullptr},
    {"fQuantity", "OM_POMain.fQuantity", "订单数量", 1100, true, "quantity"},
    {"iCurQuantity", "''", "本次配套数量", 1100, true, "quantity"},
    {"fInquantity", "OM_POMain.fInQuantity", "累计入库数量", 1100, true, "quantity"},
    {"iInvalidQuantity", "OM_POMain.iInvalidQuantity", "报废数量", 1000, true, "quantity"},
    {"fNum", "OM_POMain.fNum", "订单件数", 1000, true, "number"},
    {"dStartDate", "OM_POMain.dStartDate", "计划开工日期", 1100, true, nullptr},
    {"dEndDate", "OM_POMain.dEndDate", "要求完工日期", 1100, true, nullptr},
    {"citemcode", "OM_POMain.cItemCode", "项目编码", 1000, true, nullptr},
    {"citem_name",
     "(select FF.cItem_Name from fitem FF where FF.cItem_Class = OM_POMain.cItem_class)",
     "项目大类", 1000, true, nullptr},
    {"cFree1", "OM_POMain.cFree1", "颜色", 800, true, nullptr},
    {"cFree2", "OM_POMain.cFree2", "防护等级", 800, true, nullptr},
}};

// Material lines: open quantities and rates come from the derived table FOUT.
constexpr std::array<Column, 19> kMaterialColumns = {{
    {"SubID", "P.SubID", "子件ID", 0, false, nullptr},
    {"mainid", "P.MainID", "行ID", 0, false, nullptr},
    {"cInvCode", "P.cInvCode", "材料编码", 1100, true, nullptr},
    {"cInvName", "d.cInvName", "材料名称", 1600, true, nullptr},
    {"cInvStd", "d.cInvStd", "规格型号", 1400, true, nullptr},
    {"cComUnitName", "ComputationUnit.cComUnitName", "计量单位", 800, true, nullptr},
    {"fQuantity", "P.fQuantity", "应出库数量", 1100, true, "quantity"},
    {"fOutQuantity", "P.fOutQuantity", "累计出库数量", 1100, true, "quantity"},
    {"iCurOutQuantity", "FOUT.iCurOutQuantity", "本次出库数量", 1100, true, "quantity"},
    {"fNum", "FOUT.fnum", "应出库件数", 1000, true, "number"},
    {"fOutNum", "FOUT.fOutnum", "累计出库件数", 1000, true, "number"},
    {"iCurOutNum", "FOUT.iCurOutNum", "本次出库件数", 1000, true, "number"},
    {"iinvexchrate", "FOUT.iinvexchrate", "换算率", 900, true, "exchrate"},
    {"ipsquantity", "P.iPSQuantity", "基本用量", 900, true, "quantity"},
    {"cWhCode", "P.cWhCode", "仓库编码", 800, false, nullptr},
    {"cWhName", "W.cWhName", "仓库", 1000, true, nullptr},
    {"cDepCode", "P.cDepCode", "部门编码", 800, false, nullptr},
    {"cDepName", "De.cDepName", "领料部门", 1000, true, nullptr},
    {"cFree1", "P.cFree1", "颜色", 800, true, nullptr},
}};

template <std::size_t N>
void writeColumnSet(Loader& out, const char* table, const std::array<Column, N>& columns) {
  int order = 1;
  for (const Column& c : columns) {
    out.insert("ColumnSet", {{"cTableName", table},
                             {"cUser_Id", ""},
                             {"cFieldName", c.name},
                             {"cFieldExpr", c.expr},
                             {"cCaption", c.caption},
                             {"iOrder", order++},
                             {"iWidth", c.width},
                             {"bVisible", c.visible},
                             {"cFormat", c.format != nullptr ? Cell(c.format) : Cell()}});
  }
}

void writeRight(Loader& out, const char* user, const char* kind, const std::string& id,
                const char* right) {
  out.insert("UA_DataRight",
             {{"cUser_Id", user}, {"cObjectKind", kind}, {"cObjectId", id}, {"cRightCode", right}});
}

void writeUser(Loader& out, const char* id, const char* name, const char* department,
               const char* person, bool admin) {
  out.insert("UA_User", {{"cUser_Id", id},
                         {"cUser_Name", name},
                         {"cDepCode", department},
                         {"cPersonCode", person},
                         {"bAdmin", admin}});
}

void writeUsers(DemoContext& ctx) {
  Loader& out = ctx.out;
  writeUser(out, "demo", "演示用户", "01", "001", true);
  writeUser(out, "clerk", "仓库文员", "05", "010", false);

  for (const char* f : {"ST0101", "ST0102", "ST0103", "ST0118", "OM0201", "PU0301", "SA0401"}) {
    out.insert("UA_FuncRight", {{"cUser_Id", "demo"}, {"cFuncCode", f}});
  }
  for (const char* f : {"ST0101", "ST0102"}) {
    out.insert("UA_FuncRight", {{"cUser_Id", "clerk"}, {"cFuncCode", f}});
  }

  // The clerk works for two workshops and the first sales office, from the raw-material,
  // standard-part and consignment warehouses, on materials, parts and consignment goods, with a
  // few vendors, customers and persons; "R" rows widen only what his lookups offer.
  for (const char* d : {"0201", "0202", "0401"}) writeRight(out, "clerk", "department", d, "W");
  writeRight(out, "clerk", "department", "0203", "R");
  for (const char* w : {"01", "02", "06"}) writeRight(out, "clerk", "warehouse", w, "W");
  writeRight(out, "clerk", "warehouse", "04", "R");
  ctx.cat.forEachItem([&](const DemoItem& item) {
    const bool usable = item.klass == "0101" || item.klass == "0102" || item.klass == "05";
    if (usable) writeRight(out, "clerk", "inventory", std::to_string(item.iid), "W");
    if (item.klass == "0301") writeRight(out, "clerk", "inventory", std::to_string(item.iid), "R");
  });
  for (const char* v : {"V001", "V002", "V003"}) writeRight(out, "clerk", "vendor", v, "W");
  writeRight(out, "clerk", "vendor", "V004", "R");
  for (const char* c : {"C001", "C002", "C003"}) writeRight(out, "clerk", "customer", c, "W");
  for (const char* p : {"002", "003", "007", "010"}) writeRight(out, "clerk", "person", p, "W");
}

// A user's own column set: his fields first, in his order and with his captions and widths; the
// default set's other fields follow, hidden, as the settings dialog saves a set.
struct OwnColumn {
  const char* name;
  const char* caption;
  int width;  // 0: hidden
};

template <std::size_t N, std::size_t M>
void writeOwnColumnSet(Loader& out, const char* table, const char* user,
                       const std::array<Column, N>& defaults, const std::array<OwnColumn, M>& own) {
  int order = 1;
  auto write = [&](const Column& c, const char* caption, int width, bool visible) {
    out.insert("ColumnSet", {{"cTableName", table},
                             {"cUser_Id", user},
                             {"cFieldName", c.name},
                             {"cFieldExpr", c.expr},
                             {"cCaption", caption},
                             {"iOrder", order++},
                             {"iWidth", width},
                             {"bVisible", visible},
                             {"cFormat", c.format != nullptr ? Cell(c.format) : Cell()}});
  };
  for (const OwnColumn& o : own) {
    for (const Column& c : defaults) {
      if (std::string_view(c.name) == o.name) write(c, o.caption, o.width, o.width > 0);
    }
  }
  for (const Column& c : defaults) {
    bool listed = false;
    for (const OwnColumn& o : own) listed = listed || std::string_view(c.name) == o.name;
    if (!listed) write(c, c.caption, c.width, false);
  }
}

// The outsourcing clerk works on control products and two of their materials only: he sees the
// product lines of those products but not all of their materials. His material list has a column
// set of his own; every other kind of object is open to him.
void writeOutsourcingClerk(DemoContext& ctx) {
  Loader& out = ctx.out;
  writeUser(out, "omclerk", "委外专员", "03", "006", false);
  for (const char* f : {"ST0101", "ST0102", "OM0201"}) {
    out.insert("UA_FuncRight", {{"cUser_Id", "omclerk"}, {"cFuncCode", f}});
  }
  for (const char* code : {"0303001", "0303002", "0103002", "0103003"}) {
    writeRight(out, "omclerk", "inventory", std::to_string(ctx.cat.item(code).iid), "W");
  }
  constexpr std::array<OwnColumn, 11> kOwnMaterials = {{
      {"SubID", "子件ID", 0},
      {"mainid", "行ID", 0},
      {"cInvCode", "材料编码", 1100},
      {"cInvName", "材料名称", 1800},
      {"iCurOutQuantity", "本次领料数量", 1200},
      {"iCurOutNum", "本次领料件数", 1100},
      {"fQuantity", "应领数量", 1000},
      {"fOutQuantity", "已领数量", 1000},
      {"iinvexchrate", "换算率", 800},
      {"cComUnitName", "单位", 600},
      {"cWhName", "发料仓库", 1000},
  }};
  writeOwnColumnSet(out, "OM_PODetails", "omclerk", kMaterialColumns, kOwnMaterials);
}

void writeFilters(Loader& out) {
  out.insert("FilterDef", {{"cSysID", "ST"},
                           {"cFilterName", "批次货位"},
                           {"cCaption", "批次货位过滤"},
                           {"cSource", "InvPositionSum"}});
  struct Item {
    const char* field;
    const char* caption;
    const char* type;
    const char* op;
    bool range;
    const char* refer;
  };
  constexpr std::array<Item, 5> kItems = {{
      {"cWhCode", "仓库", "text", "=", false, "rfwarehouse"},
      {"cPosCode", "货位", "text", "like", false, nullptr},
      {"cInvCode", "存货编码", "text", "=", true, "rfinventory"},
      {"cBatch", "批号", "text", "like", false, nullptr},
      {"iQuantity", "结存数量", "number", ">", false, nullptr},
  }};
  int order = 1;
  for (const Item& i : kItems) {
    out.insert("FilterItem", {{"cSysID", "ST"},
                              {"cFilterName", "批次货位"},
                              {"iOrder", order++},
                              {"cFieldName", i.field},
                              {"cCaption", i.caption},
                              {"cDataType", i.type},
                              {"cOperator", i.op},
                              {"bRange", i.range},
                              {"cRefer", i.refer != nullptr ? Cell(i.refer) : Cell()}});
  }
}

}  // namespace

void writeSettings(DemoContext& ctx) {
  Loader& out = ctx.out;
  for (const Param& p : kParams) {
    out.insert("accinformation", {{"cSysID", p.sys},
                                  {"cName", p.name},
                                  {"cCaption", p.caption},
                                  {"cType", p.type},
                                  {"cValue", p.value != nullptr ? Cell(p.value) : Cell()},
                                  {"cDefault", p.fallback != nullptr ? Cell(p.fallback) : Cell()}});
  }
  for (const auto& [key, grades] :
       {std::pair{"inventoryclass", std::array{2, 2}}, std::pair{"department", std::array{2, 2}},
        std::pair{"position", std::array{3, 2}}}) {
    for (std::size_t g = 0; g < grades.size(); ++g) {
      out.insert("GradeDef",
                 {{"cKeyWord", key}, {"iGrade", static_cast<int>(g + 1)}, {"iCodeLen", grades[g]}});
    }
  }
  for (const Define& d : kDefines) {
    out.insert("DefineItem", {{"cKey", d.key},
                              {"cName", d.name},
                              {"cType", d.type},
                              {"iLength", d.length},
                              {"iDecimals", d.decimals},
                              {"bInUse", d.inUse},
                              {"cSource", d.source}});
  }
  for (const VouchTypeRow& v : kVouchTypes) {
    out.insert("VouchType", {{"cVouchType", v.code},
                             {"cVouchName", v.name},
                             {"cSysID", v.sys},
                             {"bRdFlag", v.rdFlag < 0 ? Cell() : Cell(v.rdFlag)}});
  }
  writeUsers(ctx);
  writeOutsourcingClerk(ctx);
  writeColumnSet(out, "OM_ProductPO", kOrderHeadColumns);
  writeColumnSet(out, "qm_ncheckvoucher", kReceiptLineColumns);
  writeColumnSet(out, "OM_POMain", kIssueLineColumns);
  writeColumnSet(out, "OM_PODetails", kMaterialColumns);
  writeFilters(out);
}

}  // namespace quillon::db
