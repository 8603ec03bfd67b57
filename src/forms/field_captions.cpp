#include "forms/field_captions.h"

#include <array>
#include <cctype>
#include <utility>

namespace quillon::forms {

namespace {

bool sameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The fields of the archives the lookups list (SELECT * of a whole table) and of the stock
// queries, with the names a clerk knows them by. Customer and vendor class codes name their own
// class trees (客户分类 / 供应商分类); cDCCode is the district class of both.
constexpr std::pair<std::string_view, std::string_view> kCaptions[] = {
    // Inventory
    {"cInvCode", "存货编码"},
    {"cInvAddCode", "存货代码"},
    {"cInvName", "存货名称"},
    {"cInvStd", "规格型号"},
    {"cInvCCode", "存货分类编码"},
    {"cInvCName", "存货分类名称"},
    {"cGroupCode", "计量单位组编码"},
    {"cGroupName", "计量单位组名称"},
    {"iGroupType", "计量单位组类别"},
    {"cComUnitCode", "主计量单位编码"},
    {"cComUnitName", "计量单位"},
    {"cAssComUnitCode", "辅计量单位编码"},
    {"cSTComUnitCode", "库存单位编码"},
    {"cPUComUnitCode", "采购单位编码"},
    {"cSAComUnitCode", "销售单位编码"},
    {"bSale", "是否销售"},
    {"bPurchase", "是否外购"},
    {"bSelf", "是否自制"},
    {"bComsume", "是否生产耗用"},
    {"bProducing", "是否在制"},
    {"bService", "是否劳务"},
    {"bInvEntrust", "是否委外"},
    {"bInvBatch", "是否批次管理"},
    {"bInvQuality", "是否保质期管理"},
    {"iMassDate", "保质期"},
    {"cMassUnit", "保质期单位"},
    {"bTrack", "是否出库跟踪入库"},
    {"bNotCheckNum", "不检查件数"},
    {"fInExcess", "入库超额上限"},
    {"fOutExcess", "出库超额上限"},
    {"iInvSPrice", "计划价"},
    {"iInvRCost", "参考成本"},
    {"cDefWareHouse", "默认仓库"},
    {"iSafeNum", "安全库存"},
    {"iTopSum", "最高库存"},
    {"iLowSum", "最低库存"},
    {"dSDate", "启用日期"},
    {"dEDate", "停用日期"},
    {"cBarCode", "条形码"},
    // Warehouse
    {"cWhCode", "仓库编码"},
    {"cWhName", "仓库名称"},
    {"cWhAddress", "仓库地址"},
    {"cWhPhone", "电话"},
    {"cWhPerson", "负责人"},
    {"cWhValueStyle", "计价方式"},
    {"bWhPos", "是否货位管理"},
    {"bProxyWh", "是否代管仓"},
    {"bFreeze", "是否冻结"},
    {"cWhMemo", "备注"},
    // Department and person
    {"cDepCode", "部门编码"},
    {"cDepName", "部门名称"},
    {"iDepGrade", "部门级次"},
    {"bDepEnd", "是否末级"},
    {"cDepPerson", "负责人"},
    {"cDepPhone", "电话"},
    {"cDepMemo", "备注"},
    {"cPersonCode", "人员编码"},
    {"cPersonName", "人员名称"},
    {"cPersonPhone", "电话"},
    {"cPersonEmail", "电子邮件"},
    // Customer
    {"cCusCode", "客户编码"},
    {"cCusName", "客户名称"},
    {"cCusAbbName", "客户简称"},
    {"cCCCode", "客户分类编码"},
    {"cDCCode", "地区分类编码"},
    {"cCusAddress", "地址"},
    {"cCusPostCode", "邮政编码"},
    {"cCusPhone", "电话"},
    {"cCusFax", "传真"},
    {"cCusPerson", "联系人"},
    {"cCusBank", "开户银行"},
    {"cCusAccount", "银行账号"},
    {"cCusRegCode", "税号"},
    {"cCusDepart", "分管部门"},
    {"cCusPPerson", "专管业务员"},
    {"dCusDevDate", "发展日期"},
    // Vendor
    {"cVenCode", "供应商编码"},
    {"cVenName", "供应商名称"},
    {"cVenAbbName", "供应商简称"},
    {"cVCCode", "供应商分类编码"},
    {"cTrade", "所属行业"},
    {"cVenAddress", "地址"},
    {"cVenPostCode", "邮政编码"},
    {"cVenRegCode", "税号"},
    {"cVenBank", "开户银行"},
    {"cVenAccount", "银行账号"},
    {"cVenPhone", "电话"},
    {"cVenFax", "传真"},
    {"cVenEmail", "电子邮件"},
    {"cVenPerson", "联系人"},
    {"cVenDepart", "分管部门"},
    {"cVenPPerson", "专管业务员"},
    {"dVenDevDate", "发展日期"},
};

constexpr std::string_view kInternalKeys[] = {"AutoID", "iId"};

// The user-defined fields of an archive: cInvDefine3 → 自定义项3 (a prefix such as "cInvDefine"
// followed by digits only).
std::string definedFieldCaption(std::string_view caption) {
  static constexpr std::array<std::string_view, 4> kPrefixes = {"cInvDefine", "cCusDefine",
                                                                "cVenDefine", "cDefine"};
  for (const std::string_view prefix : kPrefixes) {
    if (caption.size() <= prefix.size() || !sameLetters(caption.substr(0, prefix.size()), prefix))
      continue;
    const std::string_view digits = caption.substr(prefix.size());
    bool allDigits = digits.size() <= 2;
    for (const char c : digits) allDigits = allDigits && c >= '0' && c <= '9';
    if (allDigits) return "自定义项" + std::string(digits);
  }
  return {};
}

bool endsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

std::string shownCaption(std::string_view caption) {
  for (const auto& [field, shown] : kCaptions) {
    if (sameLetters(field, caption)) return std::string(shown);
  }
  if (std::string defined = definedFieldCaption(caption); !defined.empty()) return defined;
  return std::string(caption);
}

bool isInternalKey(std::string_view caption) {
  for (const std::string_view key : kInternalKeys) {
    if (sameLetters(key, caption)) return true;
  }
  return false;
}

AmountKind amountKindOf(std::string_view caption) {
  if (endsWith(caption, "数量")) return AmountKind::Quantity;
  if (endsWith(caption, "件数")) return AmountKind::Pieces;
  return AmountKind::None;
}

}  // namespace quillon::forms
