#include <gtest/gtest.h>

#include <sstream>

#include "automation/com_error.h"
#include "result_printer.h"
#include "row_output.h"
#include "sql/database.h"

namespace quillon::cli {
namespace {

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = sql::Database::open(":memory:");
    db_->execute(
        "create table Warehouse (cWhCode nvarchar(10), cWhName nvarchar(60), "
        "fQty decimal(20,6), iNum int)");
    db_->execute("insert into Warehouse values ('01', '原料库', 8, 12)");
    db_->execute("insert into Warehouse values ('02', 'Finished, \"boxed\"', null, 3)");
    db_->execute("insert into Warehouse values ('03', '', 0.5, null)");
  }

  std::string run(OutputFormat format, std::string_view batch) {
    std::ostringstream out;
    auto printer = makePrinter(format, out);
    db_->execute(batch, *printer);
    printer->finish();
    return out.str();
  }

  static constexpr std::string_view kSelect =
      "select cWhCode, cWhName, fQty, iNum from Warehouse order by cWhCode";

  std::unique_ptr<sql::Database> db_;
};

TEST_F(PrinterTest, TableAlignsByDisplayWidth) {
  EXPECT_EQ(run(OutputFormat::Table, kSelect),
            "cWhCode | cWhName           | fQty     | iNum\n"
            "--------+-------------------+----------+-----\n"
            "01      | 原料库            | 8.000000 |   12\n"
            "02      | Finished, \"boxed\" | NULL     |    3\n"
            "03      |                   | 0.500000 | NULL\n"
            "(3 rows)\n");
}

TEST_F(PrinterTest, TableReportsEachStatement) {
  EXPECT_EQ(run(OutputFormat::Table,
                "update Warehouse set iNum = iNum + 1 where cWhCode <> '03';"
                "select cWhName as 名称 from Warehouse where cWhCode = '01';"
                "select cWhCode from Warehouse where 1 = 0;"
                "delete from Warehouse where cWhCode = '03'"),
            "(2 rows affected)\n"
            "名称\n"
            "------\n"
            "原料库\n"
            "(1 row)\n"
            "\n"
            "cWhCode\n"
            "-------\n"
            "(0 rows)\n"
            "\n"
            "(1 row affected)\n");
}

TEST_F(PrinterTest, TableKeepsEveryCellOnOneLine) {
  EXPECT_EQ(run(OutputFormat::Table, "select 'a\nb\tc' as t, 1 as n"),
            "t       | n\n"
            "--------+--\n"
            "a\\nb\\tc | 1\n"
            "(1 row)\n");
}

TEST_F(PrinterTest, CsvFollowsRfc4180) {
  EXPECT_EQ(run(OutputFormat::Csv, std::string(kSelect) + "; select 'x' as [a,b]"),
            "cWhCode,cWhName,fQty,iNum\r\n"
            "01,原料库,8.000000,12\r\n"
            "02,\"Finished, \"\"boxed\"\"\",,3\r\n"
            "03,\"\",0.500000,\r\n"
            "\r\n"
            "\"a,b\"\r\n"
            "x\r\n");
}

TEST_F(PrinterTest, JsonIsAnArrayOfResultSets) {
  EXPECT_EQ(
      run(OutputFormat::Json, std::string(kSelect) + "; update Warehouse set iNum = 0 where 1 = 0"
                                                     "; select cWhCode from Warehouse where 1 = 0"
                                                     "; select 2.5 as r, 'a\"\\' as t"),
      "[\n"
      "  [\n"
      "    {\"cWhCode\": \"01\", \"cWhName\": \"原料库\", \"fQty\": 8.000000, \"iNum\": 12},\n"
      "    {\"cWhCode\": \"02\", \"cWhName\": \"Finished, \\\"boxed\\\"\", \"fQty\": null, "
      "\"iNum\": 3},\n"
      "    {\"cWhCode\": \"03\", \"cWhName\": \"\", \"fQty\": 0.500000, \"iNum\": null}\n"
      "  ],\n"
      "  [],\n"
      "  [\n"
      "    {\"r\": 2.5, \"t\": \"a\\\"\\\\\"}\n"
      "  ]\n"
      "]\n");
  EXPECT_EQ(run(OutputFormat::Json, "update Warehouse set iNum = 0 where 1 = 0"), "[]\n");
}

TEST_F(PrinterTest, JsonStaysWellFormedWhenTheBatchFails) {
  std::ostringstream out;
  auto printer = makePrinter(OutputFormat::Json, out);
  EXPECT_THROW(db_->execute("select cWhCode from Warehouse where cWhCode = '01';"
                            "select * from NoSuchTable",
                            *printer),
               automation::ComError);
  printer->finish();
  EXPECT_EQ(out.str(),
            "[\n"
            "  [\n"
            "    {\"cWhCode\": \"01\"}\n"
            "  ]\n"
            "]\n");
}

// A reader that went away (`quillon sql ... | head`): the printer stops with OutputFailed once a
// block could not be written, rather than reading every row of the result to write nowhere.
TEST_F(PrinterTest, OutputThatFailsStopsTheResult) {
  db_->execute("create table D (d int)");
  for (int d = 0; d < 10; ++d) db_->execute("insert into D values (" + std::to_string(d) + ")");
  std::ostream closed(nullptr);  // every write fails
  for (const OutputFormat format : {OutputFormat::Table, OutputFormat::Csv, OutputFormat::Json}) {
    auto printer = makePrinter(format, closed);
    EXPECT_THROW(db_->execute("select 'a row of some length' as t, a.d * 10000 + b.d * 1000 + "
                              "c.d * 100 + e.d * 10 + f.d as n from D a cross join D b cross "
                              "join D c cross join D e cross join D f",
                              *printer),
                 OutputFailed);
  }
}

}  // namespace
}  // namespace quillon::cli
