// Production orders: hand-made cases for every state the production-order dialog tells apart,
// then generated orders per scale block.
#include <string>
#include <vector>

#include "db/demo_docs.h"

namespace quillon::db {

namespace {

struct LineSpec {
  const char* item;
  double quantity;
  double received;  // share of the quantity received so far
  double issued;    // share of the materials issued so far
  const char* closer = nullptr;
  const char* checkCode = nullptr;
  bool used = false;  // materials taken over by a limit requisition
  const char* itemClass = nullptr;
  const char* itemCode = nullptr;
  const char* itemName = nullptr;
};

struct OrderSpec {
  int day;
  int property;
  int state;
  const char* department;
  const char* person;
  const char* vendor;
  const char* memo;
  std::vector<LineSpec> lines;
};

struct Writer {
  DemoContext& ctx;
  int headId = 0;
  int lineId = 0;
  int materialId = 0;
  int seq = 0;

  void write(const OrderSpec& o) {
    ++headId;
    ++seq;
    std::vector<Field> head = {
        {"ID", headId},
        {"cCode", docNumber("MO", o.day, seq)},
        {"dDate", demoDate(o.day)},
        {"iProperty", o.property},
        {"iState", o.state},
        {"cDepCode", o.department != nullptr ? Cell(o.department) : Cell()},
        {"cPersonCode", o.person},
        {"cVenCode", o.vendor != nullptr ? Cell(o.vendor) : Cell()},
        {"cMaker", "张伟"},
        {"cVerifier", o.state >= 2 ? Cell("王芳") : Cell()},
        {"dCheckDate", o.state >= 2 ? Cell(demoDate(o.day + 1)) : Cell()},
        {"cCloser", o.state == 3 ? Cell("张伟") : Cell()},
        {"cMemo", o.memo != nullptr ? Cell(o.memo) : Cell()},
    };
    addHeadDefines(head, ctx.rnd, seq);
    ctx.out.insert("pp_POHead", head);
    int row = 0;
    for (const LineSpec& l : o.lines) writeLine(o, l, ++row);
  }

  void writeLine(const OrderSpec& o, const LineSpec& l, int row) {
    const DemoItem& item = ctx.cat.item(l.item);
    ++lineId;
    const double in = round2(l.quantity * l.received);
    std::vector<Field> line = {
        {"MainID", lineId},
        {"ID", headId},
        {"iRowNo", row},
        {"cInvCode", item.code},
        {"fQuantity", l.quantity},
        {"fNum", piecesOf(item, l.quantity)},
        {"fInQuantity", in},
        {"fInNum", piecesOf(item, in)},
        {"cWhCode", item.warehouses.front()},
        {"dStartDate", demoDate(o.day + 2)},
        {"dEndDate", demoDate(o.day + 15)},
        {"cItemCode", l.itemCode != nullptr ? Cell(l.itemCode) : Cell()},
        {"cItem_class", l.itemClass != nullptr ? Cell(l.itemClass) : Cell()},
        {"cItemName", l.itemName != nullptr ? Cell(l.itemName) : Cell()},
        {"bCheck", l.checkCode != nullptr},
        {"cCheckCode", l.checkCode != nullptr ? Cell(l.checkCode) : Cell()},
        {"cClose", l.closer != nullptr ? Cell(l.closer) : Cell()},
    };
    addFreeItems(line, item, row);
    addLineDefines(line, ctx.rnd, o.day);
    ctx.out.insert("pp_POLine", line);
    for (const Material& m : explode(ctx.cat, item.code)) {
      ++materialId;
      const double qty = round2(l.quantity * m.perUnit);
      const double out = round2(qty * l.issued);
      std::vector<Field> mat = {
          {"SubID", materialId},
          {"MainID", lineId},
          {"cInvCode", m.item->code},
          {"fQuantity", qty},
          {"fNum", piecesOf(*m.item, qty)},
          {"fOutQuantity", out},
          {"fOutNum", piecesOf(*m.item, out)},
          {"iPSQuantity", m.perUnit},
          {"iWasteRate", m.item->kind == ItemKind::Material ? Cell(0.02) : Cell()},
          {"iWIPType", m.wipType},
          {"cWhCode", m.item->warehouses.front()},
          {"cDepCode", o.department != nullptr ? Cell(o.department) : Cell()},
          {"bUsed", l.used},
      };
      addFreeItems(mat, *m.item, materialId);
      ctx.out.insert("pp_POMaterial", mat);
    }
  }
};

std::vector<OrderSpec> handMadeOrders() {
  return {
      {306,
       1,
       2,
       "0203",
       "004",
       nullptr,
       "水泵月度生产计划",
       {{"0301001", 20, 0.25, 0.5}, {"0303001", 10, 0, 0.3}}},
      {313,
       1,
       2,
       "0201",
       "002",
       nullptr,
       nullptr,
       {{"0201001", 100, 1.0, 1.0}, {"0201003", 50, 0.4, 0.6}}},
      {318, 2, 2, "0202", "003", "V002", "泵体组件外协加工", {{"0202001", 30, 0, 0}}},
      {323, 1, 3, "0203", "004", nullptr, "已关闭的订单", {{"0301002", 15, 0.6, 1.0, "张伟"}}},
      {328,
       1,
       2,
       nullptr,
       "001",
       nullptr,
       "研发样机",
       {{"0302001", 8, 0, 0.25, nullptr, nullptr, false, "01", "XM002", "低噪声风机改进"}}},
      {334,
       1,
       2,
       "0203",
       "004",
       nullptr,
       nullptr,
       {{"0302002", 12, 0.5, 0.5, "王芳"}, {"0303002", 20, 0, 0, nullptr, nullptr, true}}},
      {336,
       2,
       2,
       "0201",
       "002",
       "V001",
       "叶轮外协，需检验",
       {{"0201002", 60, 0, 0, nullptr, "JY26120001"}}},
      {337, 1, 1, "0202", "003", nullptr, "未审核订单", {{"0202002", 10, 0, 0}}},
  };
}

}  // namespace

void writeProduction(DemoContext& ctx) {
  Writer w{ctx};
  for (const OrderSpec& o : handMadeOrders()) w.write(o);

  const std::vector<const DemoItem*> made = madeItems(ctx.cat);
  const auto departments = ctx.cat.endDepartments();
  DemoRandom& rnd = ctx.rnd;
  for (int block = 0; block < bulkBlocks(ctx.cat); ++block) {
    for (int n = 0; n < 20; ++n) {
      OrderSpec o{rnd.between(273, 337),
                  rnd.chance(80) ? 1 : 2,
                  rnd.chance(85) ? 2 : 3,
                  departments[static_cast<std::size_t>(rnd.between(1, 3))]->code.c_str(),
                  "002",
                  nullptr,
                  nullptr,
                  {}};
      for (int k = 0; k < 3; ++k) {
        const DemoItem* item =
            made[static_cast<std::size_t>(rnd.between(0, static_cast<int>(made.size()) - 1))];
        o.lines.push_back({item->code.c_str(), rnd.amount(5, 200), rnd.amount(0, 10) / 10.0,
                           rnd.amount(0, 10) / 10.0});
      }
      w.write(o);
    }
  }
}

}  // namespace quillon::db
