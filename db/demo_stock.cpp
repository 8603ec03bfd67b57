// Current stock, the receipt vouchers that brought it in (with their batch records), the issue
// vouchers that took some of it out, and bin positions of the warehouses that keep them.
#include <algorithm>
#include <string>
#include <vector>

#include "db/demo_docs.h"

namespace quillon::db {

namespace {

struct StockRow {
  const DemoItem* item;
  std::string warehouse;
  std::string batch;
  int freeVariant = -1;  // -1: no free items
  int day = 0;           // receipt day
  double balance = 0;
  double out = 0;
};

std::string batchName(const DemoItem& item, int day, int k) {
  const char* prefix = "B";
  if (item.kind == ItemKind::Product) prefix = "SN";
  if (item.kind == ItemKind::Semi) prefix = "BC";
  if (item.kind == ItemKind::Goods) prefix = "LB";
  const std::string date = demoDate(day);
  return prefix + date.substr(2, 2) + date.substr(5, 2) + "-" + (k < 10 ? "0" : "") +
         std::to_string(k);
}

// Balances that the stock dialogs must show: a zero and a negative row among the parts, a
// zero batch of aluminium and an oversold product.
double forcedBalance(const StockRow& r, double normal) {
  const std::string& code = r.item->code;
  if (code == "0102003" && r.warehouse == "02") return 0;
  if (code == "0103002" && r.warehouse == "02") return -5;
  if (code == "0101003" && r.batch.ends_with("-03")) return 0;
  if (code == "0303002" && r.warehouse == "04") return -2;
  return normal;
}

class Writer {
 public:
  explicit Writer(DemoContext& ctx) : ctx_(ctx) {}

  void add(StockRow r) {
    DemoRandom& rnd = ctx_.rnd;
    const bool big = r.item->kind == ItemKind::Material || r.item->kind == ItemKind::Part ||
                     r.item->kind == ItemKind::Packing;
    const double normal = big ? rnd.amount(20, 2000) : rnd.amount(2, 80);
    r.balance = forcedBalance(r, normal);
    r.out = r.balance <= 0 ? (big ? rnd.amount(10, 100) : rnd.amount(1, 10))
                           : round2(r.balance * rnd.between(0, 5) / 10.0);
    rows_.push_back(std::move(r));
  }

  // Receipt vouchers group the rows of one warehouse and day, so a receipt's date is the date
  // its batches came in.
  void flush(bool withIssues, bool withPositions, bool byDay) {
    if (byDay) {
      std::stable_sort(rows_.begin(), rows_.end(), [](const StockRow& a, const StockRow& b) {
        return a.warehouse != b.warehouse ? a.warehouse < b.warehouse : a.day < b.day;
      });
    }
    for (const StockRow& r : rows_) writeRow(r, withIssues, withPositions);
    rows_.clear();
    closeHead();
  }

 private:
  void writeRow(const StockRow& r, bool withIssues, bool withPositions) {
    const DemoItem& item = *r.item;
    const double in = round2(r.balance + r.out);
    ++stockId_;
    std::vector<Field> stock = {
        {"AutoID", stockId_},
        {"cWhCode", r.warehouse},
        {"cInvCode", item.code},
        {"cBatch", r.batch},
    };
    addFree(stock, r);
    stock.insert(stock.end(), {
                                  {"iQuantity", r.balance},
                                  {"iNum", num(item, r.balance)},
                                  {"fInQuantity", in},
                                  {"fInNum", num(item, in)},
                                  {"fOutQuantity", r.out},
                                  {"fOutNum", num(item, r.out)},
                              });
    addDates(stock, r, "dMdate");
    ctx_.out.insert("CurrentStock", stock);
    if (in <= 0) return;

    const int receiptLine = writeReceipt(r, in);
    if (withPositions && isPositioned(r.warehouse) && r.balance > 0) writePosition(r, receiptLine);
    if (withIssues && r.out > 0) writeIssue(r, receiptLine);
  }

  static Cell num(const DemoItem& item, double quantity) {
    const Cell c = piecesOf(item, quantity);
    return c.kind() == Cell::Kind::Null ? Cell(0.0) : c;
  }

  void addFree(std::vector<Field>& row, const StockRow& r) {
    if (r.freeVariant < 0) {
      row.push_back({"cFree1", ""});
      row.push_back({"cFree2", ""});
    } else {
      addFreeItems(row, *r.item, r.freeVariant);
    }
  }

  void addDates(std::vector<Field>& row, const StockRow& r, const char* madeColumn) {
    if (r.batch.empty()) return;
    row.push_back({madeColumn, demoDate(r.day - 5)});
    if (r.item->shelfDays > 0) {
      row.push_back({"dVDate", demoDate(r.day - 5 + r.item->shelfDays)});
      row.push_back({"iMassDate", r.item->shelfDays});
    }
  }

  bool isPositioned(const std::string& warehouse) const {
    for (const DemoWarehouse& w : ctx_.cat.warehouses) {
      if (w.code == warehouse) return w.positions;
    }
    return false;
  }

  int writeReceipt(const StockRow& r, double in) {
    const DemoItem& item = *r.item;
    const bool made = item.kind == ItemKind::Semi || item.kind == ItemKind::Product;
    const char* type = made ? "10" : "01";
    if (headWarehouse_ != r.warehouse || headType_ != type || headDay_ != r.day ||
        headLines_ >= 8) {
      closeHead();
      openHead(r.warehouse, type, r.day, made ? nullptr : processingVendor(item.code.c_str()),
               made ? "0203" : "03", 1);
    }
    ++headLines_;
    ++lineId_;
    const double tracked = item.batch ? r.out : 0.0;
    std::vector<Field> line = {
        {"AutoID", lineId_},
        {"ID", currentHead_},
        {"cInvCode", item.code},
        {"iQuantity", in},
        {"iNum", piecesOf(item, in)},
        {"iInvExchRate", rateOf(item)},
        {"iUnitCost", item.price},
        {"iPrice", round2(item.price * in)},
        {"cBatch", r.batch.empty() ? Cell() : Cell(r.batch)},
        {"iSOutQuantity", tracked},
        {"iSOutNum", num(item, tracked)},
    };
    addFree(line, r);
    addDates(line, r, "dMadeDate");
    ctx_.out.insert("rdrecords", line);
    if (item.batch) {
      ++batchId_;
      std::vector<Field> batch = {
          {"AutoID", batchId_},    {"RdID", lineId_},   {"cWhCode", r.warehouse},
          {"cInvCode", item.code}, {"cBatch", r.batch},
      };
      addFree(batch, r);
      batch.insert(batch.end(), {{"fInQuantity", in},
                                 {"fInNum", num(item, in)},
                                 {"fOutQuantity", r.out},
                                 {"fOutNum", num(item, r.out)},
                                 {"bOver", r.balance <= 0}});
      addDates(batch, r, "dMDate");
      ctx_.out.insert("mainbatch", batch);
    }
    return lineId_;
  }

  void writeIssue(const StockRow& r, int receiptLine) {
    // Issues stand alone: one voucher per issued stock row, dated after its receipt.
    const DemoItem& item = *r.item;
    const bool sold = item.kind == ItemKind::Product || item.kind == ItemKind::Goods;
    ++headId_;
    ++issueSeq_;
    ctx_.out.insert("rdrecord", {{"ID", headId_},
                                 {"bRdFlag", 0},
                                 {"cVouchType", sold ? "32" : "11"},
                                 {"cBusType", sold ? "普通销售" : "领料"},
                                 {"cCode", docNumber("CK", r.day + 3, issueSeq_)},
                                 {"dDate", demoDate(r.day + 3)},
                                 {"cWhCode", r.warehouse},
                                 {"cRdCode", sold ? "21" : "22"},
                                 {"cDepCode", sold ? "0401" : "0201"},
                                 {"cPersonCode", sold ? "007" : "002"},
                                 {"cCusCode", sold ? Cell("C001") : Cell()},
                                 {"cMaker", "吴霞"},
                                 {"cHandler", "吴霞"},
                                 {"dVeriDate", demoDate(r.day + 3)}});
    ++lineId_;
    std::vector<Field> line = {
        {"AutoID", lineId_},
        {"ID", headId_},
        {"cInvCode", item.code},
        {"iQuantity", r.out},
        {"iNum", piecesOf(item, r.out)},
        {"iInvExchRate", rateOf(item)},
        {"iUnitCost", item.price},
        {"iPrice", round2(item.price * r.out)},
        {"cBatch", r.batch.empty() ? Cell() : Cell(r.batch)},
        {"cVouchCode", item.batch ? Cell(std::to_string(receiptLine)) : Cell()},
    };
    addFree(line, r);
    ctx_.out.insert("rdrecords", line);
  }

  void writePosition(const StockRow& r, int receiptLine) {
    const std::string pos = r.warehouse + (positionSeq_ % 2 == 0 ? "A" : "B") + "0" +
                            std::to_string(1 + positionSeq_ % 4);
    ++positionSeq_;
    std::vector<Field> rec = {{"RdsID", receiptLine}, {"RdID", currentHead_},
                              {"bRdFlag", 1},         {"cWhCode", r.warehouse},
                              {"cPosCode", pos},      {"cInvCode", r.item->code},
                              {"cBatch", r.batch}};
    addFree(rec, r);
    rec.insert(rec.end(), {{"iQuantity", r.balance},
                           {"iNum", piecesOf(*r.item, r.balance)},
                           {"dDate", demoDate(r.day)},
                           {"cHandler", "吴霞"}});
    ctx_.out.insert("InvPosition", rec);
    std::vector<Field> sum = {{"cWhCode", r.warehouse},
                              {"cPosCode", pos},
                              {"cInvCode", r.item->code},
                              {"cBatch", r.batch}};
    addFree(sum, r);
    sum.insert(sum.end(), {{"iQuantity", r.balance}, {"iNum", num(*r.item, r.balance)}});
    ctx_.out.insert("InvPositionSum", sum);
  }

  void openHead(const std::string& warehouse, const char* type, int day, const char* vendor,
                const char* department, int rdFlag) {
    ++headId_;
    ++receiptSeq_;
    ctx_.out.insert("rdrecord", {{"ID", headId_},
                                 {"bRdFlag", rdFlag},
                                 {"cVouchType", type},
                                 {"cBusType", vendor != nullptr ? "普通采购" : "成品入库"},
                                 {"cSource", vendor != nullptr ? "采购订单" : "生产订单"},
                                 {"cCode", docNumber("RK", day, receiptSeq_)},
                                 {"dDate", demoDate(day)},
                                 {"cWhCode", warehouse},
                                 {"cRdCode", vendor != nullptr ? "11" : "12"},
                                 {"cDepCode", department},
                                 {"cVenCode", vendor != nullptr ? Cell(vendor) : Cell()},
                                 {"cMaker", "吴霞"},
                                 {"cHandler", "吴霞"},
                                 {"dVeriDate", demoDate(day)}});
    currentHead_ = headId_;
    headDay_ = day;
    headWarehouse_ = warehouse;
    headType_ = type;
    headLines_ = 0;
  }

  void closeHead() {
    headWarehouse_.clear();
    headType_.clear();
    headLines_ = 0;
  }

  DemoContext& ctx_;
  std::vector<StockRow> rows_;
  int stockId_ = 0;
  int headId_ = 0;
  int currentHead_ = 0;
  int lineId_ = 0;
  int batchId_ = 0;
  int receiptSeq_ = 0;
  int issueSeq_ = 0;
  int positionSeq_ = 0;
  std::string headWarehouse_;
  std::string headType_;
  int headDay_ = 0;
  int headLines_ = 0;
};

}  // namespace

void writeStock(DemoContext& ctx) {
  Writer w(ctx);
  DemoRandom& rnd = ctx.rnd;
  for (const DemoItem& item : ctx.cat.items) {
    for (const std::string& wh : item.warehouses) {
      const int batches = item.batch ? 3 : 1;
      const int variants = (item.freeItems & 1) != 0 ? 3 : (item.freeItems & 2) != 0 ? 2 : 0;
      for (int k = 1; k <= batches; ++k) {
        const int day = k == 1 ? 285 : k == 2 ? 310 : 325;
        const std::string batch = item.batch ? batchName(item, day, k) : "";
        for (int v = 0; v < (variants == 0 ? 1 : variants); ++v) {
          w.add({&item, wh, batch, variants == 0 ? -1 : v, day});
        }
      }
    }
  }
  w.flush(true, true, false);

  // Each scale block stocks its twenty new inventories in two warehouses, 25 batches each.
  std::vector<DemoItem> blockItems;
  for (int block = 0; block < bulkBlocks(ctx.cat); ++block) {
    blockItems.clear();  // the rows of a block are written before the next block's items are made
    for (int k = 0; k < DemoCatalog::kItemsPerBlock; ++k) {
      blockItems.push_back(ctx.cat.bulkItem(block + 1, k));
    }
    for (const DemoItem& item : blockItems) {
      for (const std::string& wh : item.warehouses) {
        for (int b = 1; b <= 25; ++b) {
          const int day = rnd.between(150, 337);
          w.add({&item, wh, batchName(item, day, b), -1, day});
        }
      }
    }
    w.flush(false, false, true);
  }
}

}  // namespace quillon::db
