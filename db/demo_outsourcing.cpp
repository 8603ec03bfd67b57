// Outsourced production orders with their product and material lines, and the inspection
// vouchers and nonconformity records of inspected product lines.
#include <string>
#include <vector>

#include "db/demo_docs.h"

namespace quillon::db {

namespace {

struct Inspection {
  bool verified;
  double inspected;     // share of the line quantity inspected
  double qualified;     // share of the inspected quantity found good
  double goodReceived;  // share of the good quantity received
  double concession;    // share of the rejected quantity accepted by concession
  double concessionIn;  // share of the accepted quantity received
};

struct LineSpec {
  const char* item;
  double quantity;
  double received;  // uninspected lines: share received
  double issued;    // share of the materials issued
  const Inspection* inspection = nullptr;
  bool used = false;
  const char* closer = nullptr;
  const char* itemClass = nullptr;
  const char* itemCode = nullptr;
  const char* itemName = nullptr;
  bool piecesFullyIssued = false;  // floating-rate materials: all pieces out, quantity not
};

struct OrderSpec {
  int day;
  const char* vendor;
  int state;
  const char* department;
  const char* person;
  const char* original;
  const char* memo;
  std::vector<LineSpec> lines;
};

constexpr Inspection kVerifiedWithConcession{true, 0.6, 55.0 / 60.0, 20.0 / 55.0, 0.6, 0.0};
constexpr Inspection kUnverified{false, 1.0, 1.0, 0.0, 0.0, 0.0};
constexpr Inspection kVerifiedAllIn{true, 1.0, 1.0, 1.0, 0.0, 0.0};
constexpr Inspection kConcessionAllIn{true, 1.0, 0.75, 0.0, 1.0, 1.0};
constexpr Inspection kVerifiedOpen{true, 1.0, 0.9, 0.5, 0.5, 0.0};

struct Writer {
  DemoContext& ctx;
  int headId = 0;
  int lineId = 0;
  int materialId = 0;
  int checkId = 0;
  int checkLineId = 0;
  int rejectId = 0;
  int seq = 0;

  void write(const OrderSpec& o) {
    ++headId;
    ++seq;
    const std::string code = docNumber("WW", o.day, seq);
    std::vector<Field> head = {
        {"ID", headId},
        {"cCode", code},
        {"cPeriod", demoDate(o.day).substr(0, 7)},
        {"dDate", demoDate(o.day)},
        {"iProperty", 1},
        {"iState", o.state},
        {"bOriginal", o.original},
        {"cDepCode", o.department != nullptr ? Cell(o.department) : Cell()},
        {"cPersonCode", o.person},
        {"cVenCode", o.vendor},
        {"cMaker", "陈静"},
        {"cVerifier", o.state >= 2 ? Cell("杨帆") : Cell()},
        {"dCheckDate", o.state >= 2 ? Cell(demoDate(o.day + 1)) : Cell()},
        {"cCloser", o.state == 3 ? Cell("杨帆") : Cell()},
        {"cMemo", o.memo != nullptr ? Cell(o.memo) : Cell()},
        {"iVTid", 30},
        {"ufts", "0x" + std::to_string(100000 + headId)},
    };
    addHeadDefines(head, ctx.rnd, seq);
    ctx.out.insert("OM_ProductPO", head);
    int row = 0;
    for (const LineSpec& l : o.lines) writeLine(o, code, l, ++row);
  }

  void writeLine(const OrderSpec& o, const std::string& code, const LineSpec& l, int row) {
    const DemoItem& item = ctx.cat.item(l.item);
    ++lineId;
    double in = round2(l.quantity * l.received);
    if (l.inspection != nullptr) in = writeInspection(o, code, item, l);
    std::vector<Field> line = {
        {"MainID", lineId},
        {"ID", headId},
        {"iRowNo", row},
        {"cInvCode", item.code},
        {"cUnitID", item.assUnit.empty() ? item.mainUnit : item.assUnit},
        {"fQuantity", l.quantity},
        {"fNum", piecesOf(item, l.quantity)},
        {"fInQuantity", in},
        {"fInNum", piecesOf(item, in)},
        {"iTookQuantity", 0.0},
        {"iInvalidQuantity", row == 1 && l.received > 0 ? Cell(1.0) : Cell(0.0)},
        {"iUnitPrice", round2(item.price * 0.3)},
        {"iMakeCharge", round2(item.price * 0.25)},
        {"iMoney", round2(item.price * 0.3 * l.quantity)},
        {"dStartDate", demoDate(o.day + 1)},
        {"dEndDate", demoDate(o.day + 20)},
        {"cItemCode", l.itemCode != nullptr ? Cell(l.itemCode) : Cell()},
        {"cItem_class", l.itemClass != nullptr ? Cell(l.itemClass) : Cell()},
        {"cItemName", l.itemName != nullptr ? Cell(l.itemName) : Cell()},
        {"bCheck", l.inspection != nullptr},
        {"bUsed", l.used},
        {"cClose", l.closer != nullptr ? Cell(l.closer) : Cell()},
    };
    addFreeItems(line, item, row);
    addLineDefines(line, ctx.rnd, o.day);
    ctx.out.insert("OM_POMain", line);

    for (const Material& m : explode(ctx.cat, item.code)) {
      ++materialId;
      const double qty = round2(l.quantity * m.perUnit);
      const double out = round2(qty * l.issued);
      const Cell num = piecesOf(*m.item, qty);
      Cell outNum = piecesOf(*m.item, out);
      if (l.piecesFullyIssued && m.item->groupType == 2) outNum = num;
      std::vector<Field> mat = {
          {"SubID", materialId},
          {"MainID", lineId},
          {"cInvCode", m.item->code},
          {"cUnitID", m.item->assUnit.empty() ? m.item->mainUnit : m.item->assUnit},
          {"fQuantity", qty},
          {"fNum", num},
          {"fOutQuantity", out},
          {"fOutNum", outNum},
          {"iPSQuantity", m.perUnit},
          {"tdqtyd", m.perUnit < 1 ? Cell(10.0) : Cell()},
          {"iWasteRate", m.item->kind == ItemKind::Material ? Cell(0.02) : Cell()},
          {"WIPType", m.wipType},
          {"cWhCode", m.item->warehouses.front()},
          {"cDepCode", o.department != nullptr ? Cell(o.department) : Cell()},
      };
      addFreeItems(mat, *m.item, materialId);
      addLineDefines(mat, ctx.rnd, o.day);
      ctx.out.insert("OM_PODetails", mat);
    }
  }

  // Writes the inspection of an inspected line; returns what receipts have taken of it.
  double writeInspection(const OrderSpec& o, const std::string& code, const DemoItem& item,
                         const LineSpec& l) {
    const Inspection& in = *l.inspection;
    ++checkId;
    ++checkLineId;
    const int day = o.day + 10;
    const std::string checkCode = docNumber("JY", day, checkId);
    ctx.out.insert("qm_ncheckvoucher",
                   {{"ID", checkId},
                    {"cCheckCode", checkCode},
                    {"dDate", demoDate(day)},
                    {"cVouchType", "QM16"},
                    {"cSourceCardNumber", "OM02"},
                    {"cSourceCode", code},
                    {"cVenCode", o.vendor},
                    {"cMaker", "徐明"},
                    {"cVerifier", in.verified ? Cell("徐明") : Cell()},
                    {"dVerifyDate", in.verified ? Cell(demoDate(day)) : Cell()}});
    const double inspected = round2(l.quantity * in.inspected);
    const double good = round2(inspected * in.qualified);
    const double goodIn = round2(good * in.goodReceived);
    const double bad = round2(inspected - good);
    Cell reject;
    double concessionIn = 0.0;
    if (bad > 0) {
      ++rejectId;
      const double accepted = round2(bad * in.concession);
      concessionIn = round2(accepted * in.concessionIn);
      ctx.out.insert("qm_ncvreject",
                     {{"ID", rejectId},
                      {"cRejCode", docNumber("BL", day, rejectId)},
                      {"dDate", demoDate(day)},
                      {"cInvCode", item.code},
                      {"fRejQuantity", bad},
                      {"fRejNum", piecesOf(item, bad)},
                      {"fYBJSQuantity", accepted},
                      {"fYBJSNum", piecesOf(item, accepted)},
                      {"fYBJSInQuantity", concessionIn},
                      {"fYBJSInNum", piecesOf(item, concessionIn)},
                      {"cRejText", accepted > 0 ? "外观轻微瑕疵，让步接收" : "尺寸超差，退回返修"},
                      {"ufts", "0x" + std::to_string(200000 + rejectId)}});
      reject = Cell(rejectId);
    }
    ctx.out.insert("qm_ncheckvouchers", {{"AutoID", checkLineId},
                                         {"ID", checkId},
                                         {"iSourceAutoID", lineId},
                                         {"cInvCode", item.code},
                                         {"fQuantity", inspected},
                                         {"fNum", piecesOf(item, inspected)},
                                         {"fHGQuantity", good},
                                         {"fHGNum", piecesOf(item, good)},
                                         {"fHGInQuantity", goodIn},
                                         {"fHGInNum", piecesOf(item, goodIn)},
                                         {"fBHGQuantity", bad},
                                         {"fBHGNum", piecesOf(item, bad)},
                                         {"iRejID", reject}});
    return goodIn + concessionIn;
  }
};

std::vector<OrderSpec> handMadeOrders() {
  return {
      {305,
       "V001",
       2,
       "0201",
       "002",
       "1",
       "泵轴、叶轮外协加工",
       {{"0201001", 200, 0.4, 0.4}, {"0201002", 100, 0, 0.5, &kVerifiedWithConcession}}},
      {309, "V001", 2, "0201", "002", "0", "检验单未审核", {{"0301002", 40, 0, 0.5, &kUnverified}}},
      {315,
       "V002",
       2,
       "0202",
       "003",
       "0",
       nullptr,
       {{"0202001", 50, 1.0, 1.0}, {"0302001", 10, 0, 0}}},
      {321, "V002", 3, "0202", "003", "0", "已关闭的委外订单", {{"0201003", 30, 0.5, 1.0}}},
      {325,
       "V003",
       2,
       "0203",
       "004",
       "1",
       "限额领料与关闭行",
       {{"0302002", 20, 0, 0.2, nullptr, true},
        {"0202002", 15, 0.2, 0.2, nullptr, false, "杨帆"},
        {"0202002", 5, 0, 0.6, nullptr, false, nullptr, "02", "DD001", "市政供水二期工程", true}}},
      {334, "V001", 2, nullptr, "005", "1", "无部门的委外订单", {{"0201001", 120, 0, 0}}},
      {335,
       "V004",
       2,
       "0203",
       "004",
       "0",
       "控制设备外协，全检",
       {{"0303002", 25, 0, 1.0, &kVerifiedAllIn},
        {"0303001", 8, 0, 0.5, &kConcessionAllIn},
        {"0303001", 12, 0, 0.5, &kVerifiedOpen}}},
      {337, "V003", 1, "0203", "004", "0", "未审核", {{"0302002", 6, 0, 0}}},
      // Cartons counted in pieces and in boxes of 100: the product line has a second unit.
      {330, "V008", 2, "0201", "002", "0", "纸箱外协，双计量单位", {{"04002", 2000, 0.25, 0}}},
  };
}

}  // namespace

void writeOutsourcing(DemoContext& ctx) {
  Writer w{ctx};
  for (const OrderSpec& o : handMadeOrders()) w.write(o);

  const std::vector<const DemoItem*> made = madeItems(ctx.cat);
  const auto departments = ctx.cat.endDepartments();
  DemoRandom& rnd = ctx.rnd;
  static constexpr Inspection kBulkInspection{true, 1.0, 0.95, 0.3, 0.5, 0.0};
  for (int block = 0; block < bulkBlocks(ctx.cat); ++block) {
    for (int n = 0; n < 20; ++n) {
      const DemoItem* first =
          made[static_cast<std::size_t>(rnd.between(0, static_cast<int>(made.size()) - 1))];
      OrderSpec o{rnd.between(273, 337),
                  processingVendor(first->code.c_str()),
                  rnd.chance(85) ? 2 : 3,
                  departments[static_cast<std::size_t>(rnd.between(1, 3))]->code.c_str(),
                  "003",
                  rnd.chance(30) ? "1" : "0",
                  nullptr,
                  {}};
      for (int k = 0; k < 3; ++k) {
        const DemoItem* item =
            k == 0
                ? first
                : made[static_cast<std::size_t>(rnd.between(0, static_cast<int>(made.size()) - 1))];
        LineSpec l{item->code.c_str(), rnd.amount(5, 300), rnd.amount(0, 10) / 10.0,
                   rnd.amount(0, 10) / 10.0};
        if (rnd.chance(20)) {
          l.inspection = &kBulkInspection;
          l.received = 0;
        }
        o.lines.push_back(l);
      }
      w.write(o);
    }
  }
}

}  // namespace quillon::db
