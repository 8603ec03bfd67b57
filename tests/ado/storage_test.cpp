// Field definitions from declared columns, the values they give, and loading odd engine data.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "ado/ado_errors.h"
#include "ado/block_pool.h"
#include "ado/column.h"
#include "ado/data_type.h"
#include "ado/fields.h"
#include "ado/ole_date.h"
#include "ado/record_data.h"
#include "automation/com_error.h"
#include "sql/sqlite/sqlite_database.h"
#include "test_data.h"

namespace quillon::ado {
namespace {

using automation::VarType;
using testing::openStock;
using testing::openStockDb;

TEST(AdoStorage, FieldTypesAndSizesFollowDeclaredColumns) {
  auto cn = openStockDb();
  cn->execute(
      "create table kinds (a int, b smallint, c bigint, d bit, e float, f real, g money, "
      "h decimal(20,6), i datetime, j varchar(20), k nvarchar(30), l char(4), m text)");
  cn->execute(
      "insert into kinds values (1, 2, 3, 1, 1.5, 2.5, 3.25, 4.125, '2026-12-05', "
      "'abc', '入库', 'x', 'long')");
  auto rs = std::make_shared<Recordset>();
  rs->open("select * from kinds", cn);
  struct Expect {
    const char* name;
    std::int32_t type;
    std::int32_t size;
    VarType kind;
  };
  const Expect expected[] = {
      {"a", adInteger, 4, VarType::Long},
      {"b", adSmallInt, 2, VarType::Integer},
      {"c", adBigInt, 8, VarType::Double},
      {"d", adBoolean, 2, VarType::Boolean},
      {"e", adDouble, 8, VarType::Double},
      {"f", adSingle, 4, VarType::Double},
      {"g", adCurrency, 8, VarType::Double},
      {"h", adNumeric, 19, VarType::Double},
      {"i", adDBTimeStamp, 16, VarType::Date},
      {"j", adVarChar, 20, VarType::String},
      {"k", adVarWChar, 30, VarType::String},
      {"l", adChar, 4, VarType::String},
      {"m", adLongVarChar, 2147483647, VarType::String},
  };
  ASSERT_EQ(rs->fields()->count(), 13);
  for (const Expect& e : expected) {
    SCOPED_TRACE(e.name);
    const auto& f = rs->field(Variant(e.name));
    EXPECT_EQ(f->type(), e.type);
    EXPECT_EQ(f->definedSize(), e.size);
    EXPECT_EQ(f->value().type(), e.kind);
  }
  EXPECT_EQ(rs->field(Variant("h"))->precision(), 20);
  EXPECT_EQ(rs->field(Variant("h"))->numericScale(), 6);
  EXPECT_DOUBLE_EQ(rs->value("h").asDouble(), 4.125);
  EXPECT_DOUBLE_EQ(rs->value("i").asDate().serial, serialFromCivil(2026, 12, 5));
  EXPECT_EQ(rs->value("d"), Variant(true));
  // Sizes in the units the platform reports: wide text two bytes per character.
  EXPECT_EQ(rs->field(Variant("j"))->actualSize(), 3);
  EXPECT_EQ(rs->field(Variant("k"))->actualSize(), 4);
  EXPECT_EQ(rs->field(Variant("a"))->actualSize(), 4);
}

TEST(AdoStorage, NullsDatesWithTimesAndNamesWithoutCase) {
  auto cn = openStockDb();
  auto rs = openStock(cn);
  rs->setAbsolutePosition(3);
  EXPECT_TRUE(rs->value("fPrice").isNull());
  EXPECT_TRUE(rs->value("DDATE").isNull());
  EXPECT_EQ(rs->field(Variant("fprice"))->actualSize(), 0);
  rs->setAbsolutePosition(4);
  EXPECT_DOUBLE_EQ(rs->value("dDate").asDate().serial, serialFromCivil(2026, 3, 15) + 8.5 / 24.0);
  EXPECT_EQ(rs->value("cinvname").asString(), "Nut's cap");
  EXPECT_EQ(rs->value(std::size_t{1}).asString(), "C010");
  EXPECT_EQ(rs->value("上级编码").asString(), "0102");
}

TEST(AdoStorage, ExpressionColumnsTakeTheirTypeFromTheirValues) {
  auto cn = openStockDb();
  auto rs = std::make_shared<Recordset>();
  rs->open(
      "select count(*) as n, sum(fPrice) as total, max(cInvCode) as top, "
      "null as nothing_here from stock",
      cn);
  EXPECT_EQ(rs->field(Variant("n"))->type(), adInteger);
  EXPECT_EQ(rs->value("n"), Variant(5));
  EXPECT_EQ(rs->field(Variant("total"))->type(), adDouble);
  EXPECT_DOUBLE_EQ(rs->value("total").asDouble(), 6.75);
  EXPECT_EQ(rs->field(Variant("top"))->type(), adVarWChar);
  EXPECT_EQ(rs->field(Variant("top"))->definedSize(), 4);
  EXPECT_TRUE(rs->value("nothing_here").isNull());
}

// The engine itself does not enforce declared types, so a file written by other means can hold
// values that do not fit; such a value widens its column instead of being lost.
TEST(AdoStorage, ValuesThatDoNotFitTheDeclaredTypeAreKept) {
  auto cn = openStockDb();
  ASSERT_EQ(sqlite3_exec(sql::sqliteHandle(cn->database()),
                         "create table odd (n INT INTEGER, d DATETIME TEXT);"
                         "insert into odd values (1, '2026-01-01');"
                         "insert into odd values (5000000000, 'soon');"
                         "insert into odd values ('x7', '2026-01-02');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  auto rs = std::make_shared<Recordset>();
  rs->open("select n, d from odd", cn);
  EXPECT_EQ(rs->value("n").asString(), "1");
  EXPECT_EQ(rs->value("d").asString(), "2026-01-01");
  rs->moveNext();
  EXPECT_EQ(rs->value("n").asString(), "5000000000");
  EXPECT_EQ(rs->value("d").asString(), "soon");
  rs->moveNext();
  EXPECT_EQ(rs->value("n").asString(), "x7");
}

// Rows are held in blocks; a result larger than a block, fitted after loading, must still read
// back every value and take new rows.
constexpr int kRows = 9000;

// kRows rows (n, t) spanning several storage blocks; every seventh t is Null.
std::shared_ptr<Recordset> openMany(const std::shared_ptr<Connection>& cn) {
  cn->execute("create table many (n int, t varchar(20))");
  sqlite3* db = sql::sqliteHandle(cn->database());
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "insert into many values (?, ?)", -1, &st, nullptr);
  for (int i = 0; i < kRows; ++i) {
    sqlite3_bind_int(st, 1, i);
    const std::string t = "t" + std::to_string(i);
    if (i % 7 == 0)
      sqlite3_bind_null(st, 2);
    else
      sqlite3_bind_text(st, 2, t.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(st);
    sqlite3_reset(st);
  }
  sqlite3_finalize(st);
  auto rs = std::make_shared<Recordset>();
  rs->open("select n, t from many order by n", cn);
  return rs;
}

TEST(AdoStorage, LargeResultsSpanBlocksAndStillTakeNewRows) {
  auto cn = openStockDb();
  auto rs = openMany(cn);
  ASSERT_EQ(rs->recordCount(), kRows);
  for (const int pos : {1, 4096, 4097, 8192, 8193, kRows}) {
    rs->setAbsolutePosition(pos);
    EXPECT_EQ(rs->value("n"), Variant(pos - 1));
    if ((pos - 1) % 7 == 0)
      EXPECT_TRUE(rs->value("t").isNull());
    else
      EXPECT_EQ(rs->value("t").asString(), "t" + std::to_string(pos - 1));
  }
  for (int i = 0; i < 5000; ++i) rs->addNew(Variant("n"), Variant(kRows + i));
  rs->setAbsolutePosition(kRows);
  EXPECT_EQ(rs->value("n"), Variant(kRows - 1));
  rs->moveLast();
  EXPECT_EQ(rs->value("n"), Variant(kRows + 4999));
  rs->setSort("n DESC");
  EXPECT_EQ(rs->value("n"), Variant(kRows + 4999));
  rs->setFilter(Variant("t LIKE 't899%'"));
  EXPECT_EQ(rs->recordCount(), 10);  // t899, t8990..t8999 without t8995 (a multiple of 7)

  // Texts added after loading go behind the fitted end of the text storage, and a text larger
  // than one storage slot keeps its own block, without moving anything stored before it.
  rs->setFilter(Variant(""));
  rs->setSort("");
  const std::string huge(300000, 'x');
  rs->addNew(Variant("t"), Variant("after-load"));
  rs->addNew(Variant("t"), Variant(huge));
  rs->addNew(Variant("t"), Variant("tail"));
  rs->moveLast();
  EXPECT_EQ(rs->value("t").asString(), "tail");
  rs->movePrevious();
  EXPECT_EQ(rs->value("t").asString(), huge);
  rs->movePrevious();
  EXPECT_EQ(rs->value("t").asString(), "after-load");
  rs->setAbsolutePosition(kRows);
  EXPECT_EQ(rs->value("t").asString(), "t" + std::to_string(kRows - 1));
}

// Texts of up to seven bytes are held in the cell's reference, longer ones in the arena; both read
// back byte for byte whatever the length, after rewrites, in copies and as a Null's empty text.
TEST(AdoStorage, ShortAndLongTextsReadBackAlike) {
  const std::vector<std::string> texts = {"",        "0",           "01",
                                          "0101001", "01010012",    "库存",
                                          "库存A",   "库存AB",      std::string(7, '\0'),
                                          "a\0b",    "lot 12345678"};
  Column c(StorageKind::Text);
  for (const std::string& t : texts) c.appendText(t);
  c.appendNull();
  for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(c.textAt(i), texts[i]) << i;
  EXPECT_TRUE(c.isNull(texts.size()));
  EXPECT_EQ(c.textAt(texts.size()), "");
  // Rewrites between the two forms, both ways.
  c.setText(1, "a text past seven bytes");
  c.setText(4, "short");
  EXPECT_EQ(c.textAt(1), "a text past seven bytes");
  EXPECT_EQ(c.textAt(4), "short");
  const Column copy = c.clone();
  Column appended(StorageKind::Text);
  for (std::size_t i = 0; i < c.size(); ++i) appended.appendFrom(c, i);
  for (std::size_t i = 0; i < c.size(); ++i) {
    EXPECT_EQ(copy.textAt(i), c.textAt(i)) << i;
    EXPECT_EQ(appended.textAt(i), c.textAt(i)) << i;
  }
  // Ten thousand short codes take their references and nothing beside them.
  Column codes(StorageKind::Text);
  for (int i = 0; i < 10000; ++i) codes.appendText(std::to_string(1000000 + i));
  codes.shrinkToFit();
  EXPECT_LT(codes.memoryBytes(), 10000 * 8 + 2048);
  EXPECT_EQ(codes.textAt(9999), "1009999");
}

// Copies of a whole recordset are made block by block, copies of a view row by row: both read the
// same values, Nulls and long texts included. Writing a field of every row keeps each row's
// original value, also for rows added after the first write.
TEST(AdoStorage, CopiesAndOriginalValuesOfLargeRecordsets) {
  auto cn = openStockDb();
  auto rs = openMany(cn);
  const std::string huge(300000, 'y');
  rs->addNew(Variant("t"), Variant(huge));
  rs->update();
  const auto check = [&](Recordset& copy, int pos, int n) {
    copy.setAbsolutePosition(pos);
    EXPECT_EQ(copy.value("n"), Variant(n));
    if (n % 7 == 0)
      EXPECT_TRUE(copy.value("t").isNull()) << n;
    else
      EXPECT_EQ(copy.value("t").asString(), "t" + std::to_string(n));
  };
  auto whole = rs->copyWithRows();
  ASSERT_EQ(whole->recordCount(), kRows + 1);
  for (const int pos : {1, 2, 4096, 4097, 8193, kRows}) check(*whole, pos, pos - 1);
  whole->moveLast();
  EXPECT_EQ(whole->value("t").asString(), huge);
  rs->setSort("n DESC");
  auto sorted = rs->copyWithRows();
  for (const int pos : {2, 4097, kRows}) check(*sorted, pos, kRows - pos);  // Null n last
  rs->setSort("");

  for (rs->moveFirst(); !rs->eof(); rs->moveNext()) rs->setValue(Variant("t"), Variant("x"));
  rs->moveFirst();
  rs->setValue(Variant("t"), Variant("again"));
  rs->addNew(Variant("n"), Variant(-1));
  rs->update();
  rs->setValue(Variant("t"), Variant("new"));
  rs->update();
  for (const int pos : {1, 2, 4097, kRows}) {
    rs->setAbsolutePosition(pos);
    const Variant original = rs->field(Variant("t"))->originalValue();
    if ((pos - 1) % 7 == 0)
      EXPECT_TRUE(original.isNull()) << pos;
    else
      EXPECT_EQ(original.asString(), "t" + std::to_string(pos - 1));
  }
  rs->setAbsolutePosition(1);
  EXPECT_EQ(rs->value("t").asString(), "again");
  rs->moveLast();
  EXPECT_TRUE(rs->field(Variant("t"))->originalValue().isNull());  // added here
  EXPECT_EQ(rs->value("t").asString(), "new");

  // CancelUpdate puts back exactly the fields written in the edit.
  rs->setAbsolutePosition(3);
  rs->setValue(Variant("t"), Variant("a"));
  rs->setValue(Variant("t"), Variant("b"));
  rs->setValue(Variant("n"), Variant(77));
  rs->cancelUpdate();
  EXPECT_EQ(rs->value("t").asString(), "x");
  EXPECT_EQ(rs->value("n"), Variant(2));
}

// A number written without a Variant (a dialog writing a whole column) leaves the rows as a
// Variant write of it does: the value, the original, the status and the write count; fields that
// do not hold doubles take it through the Variant rules, refusals included.
TEST(AdoStorage, NumbersWrittenDirectlyMatchVariantWrites) {
  const auto field = [](const char* name, std::int32_t type, StorageKind kind) {
    FieldDef f;
    f.name = name;
    f.type = type;
    f.kind = kind;
    return f;
  };
  const std::vector<FieldDef> fields{field("q", adDouble, StorageKind::Double),
                                     field("s", adSmallInt, StorageKind::Int32),
                                     field("d", adDate, StorageKind::Date)};
  const auto make = [&] {
    RecordData data(fields);
    for (int r = 0; r < 3; ++r) {
      if (r == 1) {
        data.column(0).appendNull();
      } else {
        data.column(0).appendDouble(r + 0.5);
      }
      data.column(1).appendInt32(r);
      data.column(2).appendDouble(46000.0 + r);
      data.noteLoadedRow();
    }
    data.finishLoad();
    return data;
  };
  RecordData direct = make();
  RecordData viaVariant = make();
  const std::size_t added = direct.appendRow();
  viaVariant.appendRow();
  for (const std::size_t row : {std::size_t{0}, std::size_t{1}, added}) {
    for (const double v : {-2.25, 7.0}) {
      for (const std::size_t col : {std::size_t{0}, std::size_t{1}, std::size_t{2}}) {
        direct.setNumber(row, col, v);
        viaVariant.setValue(row, col, Variant(v));
      }
    }
  }
  EXPECT_FALSE(direct.asLoaded());
  for (std::size_t col = 0; col < fields.size(); ++col) {
    EXPECT_EQ(direct.columnWrites(col), viaVariant.columnWrites(col)) << col;
    for (std::size_t row = 0; row <= added; ++row) {
      EXPECT_EQ(direct.value(row, col), viaVariant.value(row, col)) << row << ' ' << col;
      EXPECT_EQ(direct.originalValue(row, col), viaVariant.originalValue(row, col))
          << row << ' ' << col;
      EXPECT_EQ(direct.status(row), viaVariant.status(row)) << row;
    }
  }
  EXPECT_EQ(direct.value(0, 0), Variant(7.0));
  EXPECT_EQ(direct.originalValue(0, 0), Variant(0.5));
  EXPECT_TRUE(direct.originalValue(1, 0).isNull());
  EXPECT_EQ(direct.status(0), adRecModified);
  EXPECT_EQ(direct.status(added), adRecNew);
  EXPECT_EQ(direct.status(2), adRecUnmodified);

  // A small integer out of its range is refused (3421) and the cell keeps its value.
  try {
    direct.setNumber(2, 1, 40000.0);
    ADD_FAILURE() << "no error";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), kErrWrongValueType);
  }
  EXPECT_EQ(direct.value(2, 1), viaVariant.value(2, 1));
}

// Closed recordsets leave their full blocks for the next load on the thread, within the bound,
// and a load on recycled blocks reads exactly what a load on fresh memory does.
TEST(AdoStorage, RecycledBlocksCarryNothingOver) {
  trimBlockPool();
  auto cn = openStockDb();
  cn->execute("create table seq (n int, x float)");
  ASSERT_EQ(sqlite3_exec(sql::sqliteHandle(cn->database()),
                         "with recursive c(i) as (select 1 union all select i + 1 from c "
                         "where i < 20000) insert into seq select i, i * 0.5 from c",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const auto sumOf = [&cn](const char* query) {
    auto rs = std::make_shared<Recordset>();
    rs->open(query, cn);
    double sum = 0;
    for (; !rs->eof(); rs->moveNext()) sum += rs->value("x").toDouble() - rs->value("n").toDouble();
    return sum;
  };
  EXPECT_DOUBLE_EQ(sumOf("select n, x from seq"), -0.25 * 20000 * 20001);
  const std::size_t pooled = pooledBlockBytes();
  EXPECT_GT(pooled, 0u);
  EXPECT_LE(pooled, kBlockPoolLimitBytes);
  // The same shapes again, different values: nothing of the first load may show through.
  EXPECT_DOUBLE_EQ(sumOf("select n * 2 as n, x from seq where n <= 10000"), -0.75 * 10000 * 10001);
  trimBlockPool();
  EXPECT_EQ(pooledBlockBytes(), 0u);
}

// Fitting the last blocks of a loaded recordset frees the blocks it copied out of: the pool does
// not keep them beside the rows that stay open.
TEST(AdoStorage, FittedBlocksAreNotKeptInThePool) {
  trimBlockPool();
  auto cn = openStockDb();
  cn->execute("create table words (n int, w nvarchar(40))");
  ASSERT_EQ(sqlite3_exec(sql::sqliteHandle(cn->database()),
                         "with recursive c(i) as (select 1 union all select i + 1 from c "
                         "where i < 50001) insert into words select i, 'word number ' || i from c",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  auto rs = std::make_shared<Recordset>();
  rs->open("select n, w from words", cn);
  EXPECT_EQ(pooledBlockBytes(), 0u);
  rs->moveLast();
  EXPECT_EQ(rs->value("w").toString(), "word number 50001");
  rs->close();
  EXPECT_GT(pooledBlockBytes(), 0u);
  trimBlockPool();
}

TEST(AdoStorage, DateTexts) {
  double s = 0;
  EXPECT_TRUE(parseDateText("1899-12-30", s));
  EXPECT_EQ(s, 0.0);
  EXPECT_TRUE(parseDateText(" 2026-12-05 18:00 ", s));
  EXPECT_DOUBLE_EQ(s, serialFromCivil(2026, 12, 5) + 0.75);
  EXPECT_TRUE(parseDateText("2024-02-29T00:00:01.500", s));
  EXPECT_TRUE(parseDateText("2026/12/05", s));
  for (const char* bad : {"2026-02-29", "2026-13-01", "2026-1-5", "2026-12-05 24:00", "", "x"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(parseDateText(bad, s));
  }
  EXPECT_EQ(formatDateSerial(serialFromCivil(2026, 3, 15) + 8.5 / 24.0), "2026-03-15 08:30:00");
  EXPECT_EQ(formatDateSerial(serialFromCivil(1850, 7, 1)), "1850-07-01");
}

TEST(AdoStorage, FabricatedRecordsetsFromFieldDefinitions) {
  auto rs = std::make_shared<Recordset>();
  // Late-bound, as a service building a recordset by hand would.
  rs->fields()->call("Append", {Variant("cCode"), Variant(adVarChar), Variant(10)});
  rs->fields()->call("Append", {Variant("iQty"), Variant(adDouble)});
  rs->fields()->call("Append", {Variant("dWhen"), Variant(adDate)});
  EXPECT_EQ(rs->fields()->count(), 3);
  EXPECT_EQ(rs->state(), adStateClosed);
  rs->call("Open");
  EXPECT_EQ(rs->state(), adStateOpen);
  EXPECT_TRUE(rs->bof() && rs->eof());
  rs->addNew(Variant::array({Variant("cCode"), Variant("iQty"), Variant("dWhen")}),
             Variant::array({Variant("K1"), Variant("2.5"), Variant("2026-12-05")}));
  EXPECT_EQ(rs->recordCount(), 1);
  EXPECT_DOUBLE_EQ(rs->value("iQty").asDouble(), 2.5);
  EXPECT_EQ(rs->value("dWhen").asDate().serial, serialFromCivil(2026, 12, 5));
  EXPECT_EQ(rs->field(Variant("cCode"))->definedSize(), 10);
  // A value the field cannot hold is refused and the field keeps its value.
  try {
    rs->setValue(Variant("iQty"), Variant("lots"));
    FAIL() << "expected 3421";
  } catch (const automation::ComError& e) {
    EXPECT_EQ(e.number(), kErrWrongValueType);
  }
  EXPECT_DOUBLE_EQ(rs->value("iQty").asDouble(), 2.5);
  // Fields cannot be appended to an open recordset.
  EXPECT_THROW(rs->fields()->append("more", adInteger), automation::ComError);

  auto direct = Recordset::fabricate({fieldFromAdoType("n", adInteger, 0)});
  direct->addNew(Variant("n"), Variant(3));
  EXPECT_EQ(direct->value("n"), Variant(3));
  EXPECT_THROW(Recordset::fabricate({fieldFromAdoType("bad", 9999, 0)}), automation::ComError);
}

}  // namespace
}  // namespace quillon::ado
