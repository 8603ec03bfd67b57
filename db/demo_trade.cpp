// Purchase orders, purchase arrival notes and sales delivery notes.
#include <string>
#include <vector>

#include "db/demo_docs.h"

namespace quillon::db {

namespace {

struct PoLine {
  std::string item;
  double quantity;
  double arrived;   // quantity on arrival notes
  double received;  // quantity received into stock
  const char* closer = nullptr;
};

struct PoSpec {
  int day;
  const char* vendor;
  int state;
  const char* department;
  const char* purchaseType;
  const char* busType;
  std::vector<PoLine> lines;
  const char* person = nullptr;  // nullptr: the purchasing department's buyer
};

struct ArrLine {
  std::string item;
  double quantity;
  double received;
  const char* warehouse;  // nullptr: not yet decided
  const char* batch = nullptr;
};

struct ArrSpec {
  int day;
  const char* vendor;
  const char* order;  // order code, or nullptr
  bool red;
  const char* department;
  const char* busType;
  std::vector<ArrLine> lines;
  int state = 2;
  const char* person = nullptr;  // nullptr: the purchasing department's receiving clerk
};

struct DlLine {
  std::string item;
  double quantity;
  double out;
  const char* warehouse;
  const char* batch = nullptr;
};

struct DlSpec {
  int day;
  const char* customer;
  const char* vouchType;
  const char* saleType;
  const char* busType;
  const char* department;
  const char* person;
  const char* invoice;
  bool red;
  int state;
  std::vector<DlLine> lines;
};

Cell optional(const char* text) {
  return text != nullptr ? Cell(text) : Cell();
}

class Writer {
 public:
  explicit Writer(DemoContext& ctx) : ctx_(ctx) {}

  std::string order(const PoSpec& o) {
    ++poId_;
    const std::string code = docNumber("PO", o.day, poId_);
    std::vector<Field> head = {
        {"POID", poId_},
        {"cPOID", code},
        {"dPODate", demoDate(o.day)},
        {"cVenCode", o.vendor},
        {"cDepCode", optional(o.department)},
        {"cPersonCode", o.person != nullptr       ? Cell(o.person)
                        : o.department != nullptr ? Cell("005")
                                                  : Cell()},
        {"cPTCode", o.purchaseType},
        {"cBusType", o.busType},
        {"iState", o.state},
        {"cexch_name", "人民币"},
        {"nflat", 1.0},
        {"iTaxRate", 13.0},
        {"cMaker", "陈静"},
        {"cVerifier", o.state >= 2 ? Cell("杨帆") : Cell()},
        {"cCloser", o.state == 3 ? Cell("杨帆") : Cell()},
    };
    addHeadDefines(head, ctx_.rnd, poId_);
    ctx_.out.insert("PO_Pomain", head);
    int row = 0;
    for (const PoLine& l : o.lines) {
      const DemoItem& item = ctx_.cat.item(l.item);
      ++poLineId_;
      const double money = round2(item.price * l.quantity);
      std::vector<Field> line = {
          {"ID", poLineId_},
          {"POID", poId_},
          {"iRowNo", ++row},
          {"cInvCode", item.code},
          {"cUnitID", item.assUnit.empty() ? item.mainUnit : item.assUnit},
          {"iQuantity", l.quantity},
          {"iNum", piecesOf(item, l.quantity)},
          {"iInvExchRate", rateOf(item)},
          {"iArrQTY", l.arrived},
          {"iArrNum", piecesOf(item, l.arrived)},
          {"iReceivedQTY", l.received},
          {"iReceivedNum", piecesOf(item, l.received)},
          {"iUnitPrice", item.price},
          {"iMoney", money},
          {"iTax", round2(money * 0.13)},
          {"iSum", round2(money * 1.13)},
          {"iPerTaxRate", 13.0},
          {"dArriveDate", demoDate(o.day + 7 + row)},
          {"cbCloser", optional(l.closer)},
      };
      addFreeItems(line, item, row);
      addLineDefines(line, ctx_.rnd, o.day);
      ctx_.out.insert("PO_Podetails", line);
    }
    return code;
  }

  void arrival(const ArrSpec& a) {
    ++arrId_;
    std::vector<Field> head = {
        {"ID", arrId_},
        {"cCode", docNumber("DH", a.day, arrId_)},
        {"dDate", demoDate(a.day)},
        {"cPOID", optional(a.order)},
        {"cVenCode", a.vendor},
        {"cDepCode", optional(a.department)},
        {"cPersonCode", a.person != nullptr       ? Cell(a.person)
                        : a.department != nullptr ? Cell("006")
                                                  : Cell()},
        {"cPTCode", "01"},
        {"cBusType", a.busType},
        {"iBillType", a.red ? 1 : 0},
        {"iState", a.state},
        {"cMaker", "杨帆"},
        {"cVerifier", a.state >= 2 ? Cell("陈静") : Cell()},
    };
    addHeadDefines(head, ctx_.rnd, arrId_);
    ctx_.out.insert("PU_ArrivalVouch", head);
    int row = 0;
    for (const ArrLine& l : a.lines) {
      const DemoItem& item = ctx_.cat.item(l.item);
      ++arrLineId_;
      std::vector<Field> line = {
          {"Autoid", arrLineId_},
          {"ID", arrId_},
          {"iRowNo", ++row},
          {"cInvCode", item.code},
          {"cWhCode", optional(l.warehouse)},
          {"cUnitID", item.assUnit.empty() ? item.mainUnit : item.assUnit},
          {"iQuantity", l.quantity},
          {"iNum", piecesOf(item, l.quantity)},
          {"iInvExchRate", rateOf(item)},
          {"fValidInQuan", l.received},
          {"fValidInNum", piecesOf(item, l.received)},
          {"iOriCost", item.price},
          {"iOriMoney", round2(item.price * l.quantity)},
          {"iOriSum", round2(item.price * l.quantity * 1.13)},
      };
      if (item.batch) {
        line.push_back({"cBatch", l.batch != nullptr ? std::string(l.batch)
                                                     : "B" + demoDate(a.day).substr(2, 2) +
                                                           demoDate(a.day).substr(5, 2) + "-" +
                                                           std::to_string(arrLineId_)});
        line.push_back({"dPDate", demoDate(a.day - 20)});
        if (item.shelfDays > 0) {
          line.push_back({"dVDate", demoDate(a.day - 20 + item.shelfDays)});
          line.push_back({"iMassDate", item.shelfDays});
        }
      }
      addFreeItems(line, item, row);
      addLineDefines(line, ctx_.rnd, a.day);
      ctx_.out.insert("PU_ArrivalVouchs", line);
    }
  }

  void delivery(const DlSpec& d) {
    ++dlId_;
    std::vector<Field> head = {
        {"DLID", dlId_},
        {"cDLCode", docNumber("FH", d.day, dlId_)},
        {"cVouchType", d.vouchType},
        {"cSTCode", d.saleType},
        {"dDate", demoDate(d.day)},
        {"cBusType", d.busType},
        {"cSBVCode", optional(d.invoice)},
        {"cCusCode", d.customer},
        {"cDepCode", optional(d.department)},
        {"cPersonCode", optional(d.person)},
        {"bReturnFlag", d.red},
        {"iState", d.state},
        {"cShipAddress", "客户仓库"},
        {"cexch_name", "人民币"},
        {"iExchRate", 1.0},
        {"cMaker", "赵磊"},
        {"cVerifier", d.state >= 2 ? Cell("黄敏") : Cell()},
        {"cCloser", d.state == 3 ? Cell("黄敏") : Cell()},
    };
    addHeadDefines(head, ctx_.rnd, dlId_);
    ctx_.out.insert("DispatchList", head);
    int row = 0;
    for (const DlLine& l : d.lines) {
      const DemoItem& item = ctx_.cat.item(l.item);
      ++dlLineId_;
      const double price = round2(item.price * 1.3);
      std::vector<Field> line = {
          {"AutoID", dlLineId_},
          {"DLID", dlId_},
          {"iRowNo", ++row},
          {"cWhCode", optional(l.warehouse)},
          {"cInvCode", item.code},
          {"cUnitID", item.assUnit.empty() ? item.mainUnit : item.assUnit},
          {"iQuantity", l.quantity},
          {"iNum", piecesOf(item, l.quantity)},
          {"iInvExchRate", rateOf(item)},
          {"fOutQuantity", l.out},
          {"fOutNum", piecesOf(item, l.out)},
          {"iQuotedPrice", price},
          {"iUnitPrice", price},
          {"iMoney", round2(price * l.quantity)},
          {"iTax", round2(price * l.quantity * 0.13)},
          {"iSum", round2(price * l.quantity * 1.13)},
          {"cBatch", optional(l.batch)},
      };
      if (l.batch != nullptr) {
        line.push_back({"dMDate", demoDate(d.day - 30)});
        if (item.shelfDays > 0) {
          line.push_back({"dVDate", demoDate(d.day - 30 + item.shelfDays)});
          line.push_back({"iMassDate", item.shelfDays});
        }
      }
      addFreeItems(line, item, row);
      addLineDefines(line, ctx_.rnd, d.day);
      ctx_.out.insert("DispatchLists", line);
    }
  }

 private:
  DemoContext& ctx_;
  int poId_ = 0;
  int poLineId_ = 0;
  int arrId_ = 0;
  int arrLineId_ = 0;
  int dlId_ = 0;
  int dlLineId_ = 0;
};

// Documents of the clerk's departments and persons, and the states the purchase reference tells
// apart: lines of inventories and warehouses the clerk may and may not use, an arrival line
// without a warehouse, a fully executed order that is not closed, an order and an arrival note
// not yet verified, and a red arrival note of a batch that stock received.
void purchaseForTheClerk(Writer& w, const std::string& firstOrder) {
  const std::string po9 =
      w.order({333,
               "V001",
               2,
               "0201",
               "01",
               "普通采购",
               {{"0101002", 300, 0, 0}, {"0102001", 1000, 0, 200}, {"0103002", 20, 0, 0}},
               "002"});
  w.order({330,
           "V002",
           2,
           "0202",
           "01",
           "普通采购",
           {{"0102002", 500, 0, 500}, {"0101003", 80, 30, 50}},
           "003"});
  w.order({338, "V003", 1, "0201", "01", "普通采购", {{"0101004", 40, 0, 0}}, "002"});
  w.arrival({336,
             "V001",
             po9.c_str(),
             false,
             "0201",
             "普通采购",
             {{"0101002", 120, 0, "01"},
              {"0102004", 50, 0, "04"},
              {"0103001", 5, 0, "01"},
              {"0102001", 200, 0, nullptr}},
             2,
             "002"});
  w.arrival(
      {338, "V001", po9.c_str(), false, "0201", "普通采购", {{"0101002", 30, 0, "01"}}, 1, "002"});
  w.arrival({337,
             "V005",
             firstOrder.c_str(),
             true,
             "03",
             "普通采购",
             {{"0101001", -6, 0, "01", "B2611-02"}}});
}

void handMade(Writer& w) {
  const std::string po1 = w.order(
      {306,
       "V005",
       2,
       "03",
       "01",
       "普通采购",
       {{"0101001", 2000, 1200, 1000}, {"0101002", 1500, 1500, 1500}, {"0101003", 800, 0, 0}}});
  const std::string po2 = w.order({312,
                                   "V006",
                                   2,
                                   "03",
                                   "02",
                                   "普通采购",
                                   {{"0102001", 5000, 3000, 3000},
                                    {"0102004", 200, 120, 100},
                                    {"0102005", 500, 0, 0, "杨帆"}}});
  const std::string po3 =
      w.order({316,
               "V007",
               2,
               "03",
               "01",
               "普通采购",
               {{"0103001", 30, 10, 0}, {"0103002", 100, 0, 0}, {"0103003", 1000, 600, 600}}});
  const std::string po4 = w.order({320,
                                   "V008",
                                   2,
                                   "03",
                                   "01",
                                   "普通采购",
                                   {{"0104001", 400, 150, 0}, {"04002", 1000, 500, 200}}});
  const std::string po5 =
      w.order({324,
               "V006",
               2,
               "03",
               "03",
               "受托代销",
               {{"05001", 200, 0, 0}, {"05002", 500, 200, 150}, {"05003", 1000, 0, 0}}});
  w.order({329, "V005", 3, "03", "01", "普通采购", {{"0101005", 600, 600, 600}}});
  w.order({335, "V007", 2, nullptr, "02", "", {{"0103004", 300, 100, 0}, {"0103002", 10, 6, 6}}});
  w.order({337, "V001", 2, "03", "01", "普通采购", {{"0201002", 50, 0, 0}}});

  w.arrival({309,
             "V005",
             po1.c_str(),
             false,
             "03",
             "普通采购",
             {{"0101001", 1200, 1000, "01"}, {"0101002", 1500, 1500, "01"}}});
  w.arrival({314,
             "V006",
             po2.c_str(),
             false,
             "03",
             "普通采购",
             {{"0102001", 3000, 3000, "02"}, {"0102004", 120, 100, "02"}}});
  w.arrival({319,
             "V007",
             po3.c_str(),
             false,
             "03",
             "普通采购",
             {{"0103003", 600, 600, nullptr}, {"0103001", 10, 0, "01"}}});
  w.arrival({326, "V006", po5.c_str(), false, "03", "受托代销", {{"05002", 200, 150, "06"}}});
  w.arrival({336,
             "V008",
             po4.c_str(),
             false,
             "03",
             "普通采购",
             {{"0104001", 150, 0, "01", "Q2611-07"}, {"04002", 500, 200, nullptr}}});
  w.arrival(
      {338, "V005", po1.c_str(), true, "03", "普通采购", {{"0101001", -4, 0, "01", "B2611-1"}}});
  w.arrival({338, "V007", nullptr, false, nullptr, "", {{"0103004", 100, 0, "05"}}});

  purchaseForTheClerk(w, po1);

  w.delivery({307,
              "C001",
              "05",
              "01",
              "普通销售",
              "0401",
              "007",
              nullptr,
              false,
              2,
              {{"0301001", 10, 4, "04", "SN2610-01"}, {"0303002", 5, 5, "04"}}});
  w.delivery({312,
              "C002",
              "05",
              "01",
              "普通销售",
              "0401",
              "008",
              "ZY26110001",
              false,
              2,
              {{"0302002", 3, 0, "04"}, {"0303001", 2, 0, "04"}}});
  w.delivery({317,
              "C003",
              "06",
              "03",
              "委托代销",
              "0402",
              "009",
              nullptr,
              false,
              2,
              {{"05001", 100, 40, "06"}, {"05003", 300, 0, "06", "LB2610-01"}}});
  w.delivery({322,
              "C004",
              "05",
              "01",
              "分期收款",
              "0401",
              "007",
              nullptr,
              false,
              2,
              {{"0301002", 8, 0, "04", "SN2611-02"}}});
  w.delivery({329,
              "C005",
              "05",
              "01",
              "普通销售",
              "0402",
              "009",
              nullptr,
              true,
              2,
              {{"0301001", -5, -5, "04", "SN2610-01"}, {"0302001", -2, 0, "04", "SN2611-02"}}});
  w.delivery({334,
              "C001",
              "05",
              "01",
              "普通销售",
              "0401",
              "007",
              nullptr,
              false,
              2,
              {{"0301001", 6, 0, nullptr}, {"0302001", 4, 1, "04", "SN2611-02"}}});
  w.delivery({336,
              "C006",
              "05",
              "02",
              "普通销售",
              nullptr,
              nullptr,
              "PT26120001",
              false,
              2,
              {{"0303002", 10, 0, "04"}, {"05003", 50, 0, "04", "LB2610-01"}}});
  w.delivery({337,
              "C002",
              "05",
              "01",
              "普通销售",
              "0401",
              "008",
              nullptr,
              false,
              3,
              {{"0302002", 1, 1, "04"}}});
}

void bulk(Writer& w, DemoContext& ctx) {
  DemoRandom& rnd = ctx.rnd;
  // Bought are the materials, parts and packing of scale 1 and every block's inventories.
  const auto boughtBase = ctx.cat.itemsOf({ItemKind::Material, ItemKind::Part, ItemKind::Packing});
  const auto sold = ctx.cat.itemsOf({ItemKind::Product, ItemKind::Goods});
  const int bulkCount = DemoCatalog::kItemsPerBlock * ctx.cat.blocks();
  auto anyBought = [&]() -> std::string {
    const int n = rnd.between(0, static_cast<int>(boughtBase.size()) + bulkCount - 1);
    if (n < static_cast<int>(boughtBase.size())) return boughtBase[static_cast<std::size_t>(n)]->code;
    const int place = n - static_cast<int>(boughtBase.size());
    return ctx.cat.bulkItemCode(place / DemoCatalog::kItemsPerBlock + 1,
                                place % DemoCatalog::kItemsPerBlock);
  };
  // An inventory's first warehouse, as the catalogue's code (which outlives the document).
  auto defaultWarehouse = [&](const std::string& code) -> const char* {
    const std::string first = ctx.cat.item(code).warehouses.front();
    for (const DemoWarehouse& wh : ctx.cat.warehouses) {
      if (wh.code == first) return wh.code.c_str();
    }
    return nullptr;
  };
  auto anySold = [&]() -> const DemoItem* {
    return sold[static_cast<std::size_t>(rnd.between(0, static_cast<int>(sold.size()) - 1))];
  };
  for (int block = 0; block < bulkBlocks(ctx.cat); ++block) {
    for (int n = 0; n < 40; ++n) {
      PoSpec o{rnd.between(273, 337), "", rnd.chance(90) ? 2 : 3, "03", "01", "普通采购", {}};
      const std::string first = anyBought();
      o.vendor = processingVendor(first.c_str());
      for (int k = 0; k < 5; ++k) {
        const std::string item = k == 0 ? first : anyBought();
        const double qty = rnd.amount(10, 5000);
        const double arrived = round2(qty * rnd.between(0, 10) / 10.0);
        o.lines.push_back({item, qty, arrived, round2(arrived * rnd.between(0, 10) / 10.0)});
      }
      w.order(o);
    }
    // Five lines of an arrival note, the first of `first`, each partly received or not at all.
    const auto arrivalLines = [&](ArrSpec& a, const std::string& first) {
      for (int k = 0; k < 5; ++k) {
        const std::string item = k == 0 ? first : anyBought();
        const double qty = rnd.amount(10, 3000);
        a.lines.push_back(
            {item, qty, round2(qty * rnd.between(0, 10) / 10.0), defaultWarehouse(item)});
      }
    };
    for (int n = 0; n < 20; ++n) {
      ArrSpec a{rnd.between(273, 337), "", nullptr, false, "03", "普通采购", {}};
      const std::string first = anyBought();
      a.vendor = processingVendor(first.c_str());
      arrivalLines(a, first);
      w.arrival(a);
    }
    for (int n = 0; n < 35; ++n) {
      const std::string customer = ctx.cat.customer(rnd.between(1, ctx.cat.partnerCount())).code;
      DlSpec d{rnd.between(273, 337),
               customer.c_str(),
               "05",
               "01",
               "普通销售",
               "0401",
               "007",
               nullptr,
               false,
               rnd.chance(90) ? 2 : 3,
               {}};
      for (int k = 0; k < 5; ++k) {
        const DemoItem* item = anySold();
        const double qty = rnd.amount(1, 50);
        d.lines.push_back({item->code, qty, round2(qty * rnd.between(0, 10) / 10.0),
                           item->warehouses.front().c_str()});
      }
      w.delivery(d);
    }
    // Documents of the clerk's departments: some not verified yet, some fully received.
    for (int n = 0; n < 6; ++n) {
      const bool machining = n % 2 == 0;
      const char* department = machining ? "0201" : "0202";
      const char* person = machining ? "002" : "003";
      const std::string first = anyBought();
      const char* vendor = processingVendor(first.c_str());
      if (n < 4) {
        PoSpec o{rnd.between(273, 337),
                 vendor,
                 rnd.chance(80) ? 2 : 1,
                 department,
                 "01",
                 "普通采购",
                 {},
                 person};
        const bool received = rnd.chance(25);
        for (int k = 0; k < 5; ++k) {
          const std::string item = k == 0 ? first : anyBought();
          const double qty = rnd.amount(10, 5000);
          const double arrived = received ? 0 : round2(qty * rnd.between(0, 10) / 10.0);
          o.lines.push_back(
              {item, qty, arrived, received ? qty : round2(arrived * rnd.between(0, 10) / 10.0)});
        }
        w.order(o);
      } else {
        ArrSpec a{rnd.between(273, 337),  vendor, nullptr, false, department, "普通采购", {},
                  rnd.chance(80) ? 2 : 1, person};
        arrivalLines(a, first);
        w.arrival(a);
      }
    }
  }
}

// Delivery notes of the sales-issue cases, written after the bulk documents so that every row
// before them stays what it was at any scale: a note of department 0401 with a line in the
// consignment warehouse 06 (the clerk's) beside one in 04 (not hers to issue from); a line kept in
// boxes with its pieces and rate; a note issued in full but not closed; two open lines of one
// batch-managed product without batch, the first taking all but one of its first batch (34 of
// SN2610-01 in 04); a line larger than its warehouse holds; a note not yet verified.
void deliveryForTheIssues(Writer& w) {
  w.delivery({338,
              "C001",
              "05",
              "01",
              "普通销售",
              "0401",
              "007",
              nullptr,
              false,
              2,
              {{"05003", 20, 0, "06"}, {"05003", 5, 0, "04"}}});
  w.delivery({338,
              "C002",
              "05",
              "01",
              "普通销售",
              "0401",
              "008",
              nullptr,
              false,
              2,
              {{"0301002", 33, 0, "04"}, {"0301002", 5, 0, "04"}}});
  w.delivery({337,
              "C003",
              "05",
              "01",
              "普通销售",
              "0402",
              "009",
              nullptr,
              false,
              2,
              {{"05002", 20, 0, "06"}}});
  w.delivery({335,
              "C004",
              "05",
              "01",
              "普通销售",
              "0401",
              "007",
              nullptr,
              false,
              2,
              {{"0303001", 2, 2, "04"}}});
  w.delivery({338,
              "C005",
              "05",
              "01",
              "分期收款",
              "0402",
              "009",
              nullptr,
              false,
              2,
              {{"0301001", 500, 0, "04"}}});
  w.delivery({337,
              "C001",
              "05",
              "01",
              "普通销售",
              "0401",
              "007",
              nullptr,
              false,
              1,
              {{"0302002", 2, 0, "04"}}});
}

}  // namespace

void writeTrade(DemoContext& ctx) {
  Writer w(ctx);
  handMade(w);
  bulk(w, ctx);
  deliveryForTheIssues(w);
}

}  // namespace quillon::db
