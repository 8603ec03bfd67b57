// Recordsets opened to be shown while their rows load (Recordset::openProgressive): what the
// growing view shows, what every other operation sees, and the connection's other statements,
// on an account file and (in the server half of the suite) on the test server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ado/connection.h"
#include "ado/connection_string.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/com_error.h"
#include "sql/database.h"
#include "sql/locations.h"
#include "support/demo_account.h"
#include "support/scratch_dir.h"

namespace quillon::ado {
namespace {

using automation::Variant;
using std::chrono::seconds;

constexpr int kRows = 12800;  // 100 rows doubled seven times: more than one server batch
constexpr std::size_t kFirstRows = 50;
constexpr const char* kQuery =
    "select id, code, q, id * 2 as twice, code + '-' + code as label, dDue from t order by id";

class ProgressiveLoad : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test_support::ScratchDir();
    location_ = new std::string(test_support::accountLocation(dir_->path(), "progressive"));
    auto cn = connect();
    sql::Database& db = cn->database();
    db.execute(
        "create table t (id int not null primary key, code varchar(20), q decimal(20,6), "
        "dDue varchar(30))");
    db.begin();
    for (int i = 1; i <= 100; ++i) {
      db.execute("insert into t values (" + std::to_string(i) + ", 'C" + std::to_string(i % 7) +
                 "', " + std::to_string(i) + ".25, '2026-01-0" + std::to_string(1 + i % 9) + "')");
    }
    for (int n = 100; n < kRows; n *= 2) {
      db.execute("insert into t select id + " + std::to_string(n) +
                 ", code, q + 1, dDue from t where id <= " + std::to_string(n));
    }
    db.commit();
  }
  static void TearDownTestSuite() {
    try {
      sql::Location(*location_).drop();
    } catch (const std::exception&) {
      // A file goes with the scratch folder.
    }
    delete location_;
    delete dir_;
  }

  static std::shared_ptr<Connection> connect() {
    auto cn = std::make_shared<Connection>();
    cn->open("Provider=" + std::string(providerFor(sql::Location(*location_))) +
             ";Data Source=" + connectionStringValue(*location_));
    return cn;
  }

  std::shared_ptr<Recordset> progressive(const std::string& sql = kQuery) {
    auto rs = std::make_shared<Recordset>();
    rs->openProgressive(sql, cn, kFirstRows);
    return rs;
  }
  std::shared_ptr<Recordset> whole(const std::string& sql = kQuery) {
    auto rs = std::make_shared<Recordset>();
    rs->open(sql, cn);
    return rs;
  }

  // Every value of every row of the recordset's view, and every field's type and size.
  static std::vector<std::string> contents(Recordset& rs) {
    std::vector<std::string> out;
    const auto& fields = *rs.fields();
    for (std::int32_t f = 0; f < fields.count(); ++f) {
      const auto& field = fields.item(static_cast<std::size_t>(f));
      out.push_back(field->name() + ":" + std::to_string(field->type()) + ":" +
                    std::to_string(field->definedSize()));
    }
    const RecordsetView view(rs);
    for (int r = 0; r < view.rowCount(); ++r) {
      std::string row;
      for (int f = 0; f < view.fieldCount(); ++f) row += view.value(r, f).displayText() + "|";
      out.push_back(std::move(row));
    }
    return out;
  }

  static test_support::ScratchDir* dir_;
  static std::string* location_;
  std::shared_ptr<Connection> cn = connect();
};

test_support::ScratchDir* ProgressiveLoad::dir_ = nullptr;
std::string* ProgressiveLoad::location_ = nullptr;

TEST_F(ProgressiveLoad, TheGrowingViewEndsWithTheRowsValuesAndTypesOfAWholeLoad) {
  const auto expected = contents(*whole());
  ASSERT_EQ(expected.size(), 6u + kRows);

  auto rs = progressive();
  RecordsetView view = RecordsetView::growing(*rs);
  EXPECT_EQ(view.rowCount(), static_cast<int>(kFirstRows));
  ASSERT_TRUE(view.mayGrow());
  EXPECT_TRUE(cn->database().hasPendingRead());
  // A step reads the rows asked for; on the server only those that have come (it does not wait
  // for the next batch), the rest in the steps after.
  int steps = 0;
  int waits = 0;
  int before = view.rowCount();
  while (view.grow(1000, seconds(5))) {
    if (test_support::onServer()) {
      EXPECT_LE(view.rowCount(), before + 1000);
    } else {
      EXPECT_EQ(view.rowCount(), before + 1000);
    }
    if (view.rowCount() == before) {
      ASSERT_LT(++waits, 60000) << "the server's rows never came";
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      ASSERT_LT(++steps, kRows);
    }
    before = view.rowCount();
  }
  EXPECT_EQ(view.rowCount(), kRows);
  EXPECT_FALSE(cn->database().hasPendingRead());
  for (int r = 0; r < view.rowCount(); r += 997) {
    EXPECT_EQ(view.value(r, 0).toLong(), r + 1);
    EXPECT_EQ(view.position(r), r + 1);
  }
  EXPECT_EQ(contents(*rs), expected);
  // Any view but a growing one (a printer's, a copy's) shows every row at once.
  EXPECT_EQ(RecordsetView(*progressive()).rowCount(), kRows);
}

TEST_F(ProgressiveLoad, EveryOtherOperationOfTheRecordsetSeesEveryRow) {
  const std::vector<std::function<Variant(Recordset&)>> operations = {
      [](Recordset& rs) { return Variant(rs.recordCount()); },
      [](Recordset& rs) {
        rs.moveLast();
        return rs.value("id");
      },
      [](Recordset& rs) {
        rs.setSort("id desc");
        return rs.value("id");
      },
      [](Recordset& rs) {
        rs.setFilter(Variant("id > " + std::to_string(kRows - 3)));
        return Variant(rs.recordCount());
      },
      [](Recordset& rs) {
        rs.find("id = " + std::to_string(kRows));
        return rs.value("id");
      },
      [](Recordset& rs) { return Variant(rs.clone()->recordCount()); },
      [](Recordset& rs) { return Variant(rs.copyWithRows()->recordCount()); },
      [](Recordset& rs) {
        rs.setAbsolutePosition(kRows);
        return rs.value("id");
      },
  };
  const std::vector<Variant> expected = {kRows, kRows, kRows, 3, kRows, kRows, kRows, kRows};
  for (std::size_t i = 0; i < operations.size(); ++i) {
    auto rs = progressive();
    ASSERT_TRUE(cn->database().hasPendingRead()) << "operation " << i;
    EXPECT_EQ(operations[i](*rs).toLong(), expected[i].toLong()) << "operation " << i;
    EXPECT_FALSE(cn->database().hasPendingRead()) << "operation " << i;
    // A view taken now shows the completed recordset.
    EXPECT_FALSE(RecordsetView::growing(*rs).mayGrow()) << "operation " << i;
  }
}

TEST_F(ProgressiveLoad, AnythingElseOnTheConnectionFinishesTheReadFirst) {
  const auto expected = contents(*whole());

  // A write right after the open: the recordset holds the rows as they were when it was opened.
  {
    auto rs = progressive();
    RecordsetView view = RecordsetView::growing(*rs);
    cn->database().execute("update t set q = q + 1000");
    EXPECT_FALSE(cn->database().hasPendingRead());
    EXPECT_FALSE(view.grow(1, seconds(1)));
    EXPECT_EQ(view.rowCount(), kRows);
    EXPECT_EQ(contents(*rs), expected);
    cn->database().execute("update t set q = q - 1000");
  }
  // A second query, and a second progressive open, on the same connection.
  {
    auto first = progressive();
    EXPECT_EQ(cn->database().query("select count(*) from t").at(0).rows.at(0).at(0).integer, kRows);
    auto second = progressive("select id from t where id <= 60 order by id desc");
    EXPECT_EQ(contents(*first), expected);
    EXPECT_EQ(second->recordCount(), 60);
    EXPECT_EQ(second->value("id").toLong(), 60);
  }
  // A transaction begun and undone while the read was pending.
  {
    auto rs = progressive();
    cn->database().begin();
    cn->database().execute("delete from t where id > 100");
    cn->database().rollback();
    EXPECT_EQ(contents(*rs), expected);
  }
  // A recordset dropped before its rows are read: the connection goes on as before. So it does
  // after steps that took what had come of the server's next batch, and in a transaction, where
  // the statements after it are part of what is committed.
  {
    auto rs = progressive();
    rs.reset();
    EXPECT_FALSE(cn->database().hasPendingRead());
    EXPECT_EQ(contents(*whole()), expected);
    {
      rs = progressive();
      RecordsetView view = RecordsetView::growing(*rs);
      for (int step = 0; step < 3; ++step) view.grow(kFirstRows, seconds(5));
      rs.reset();
    }
    EXPECT_FALSE(cn->database().hasPendingRead());
    EXPECT_EQ(contents(*whole()), expected);
    cn->database().begin();
    {
      rs = progressive();
      RecordsetView view = RecordsetView::growing(*rs);
      view.grow(kFirstRows, seconds(5));
      rs.reset();
    }
    cn->database().execute("update t set q = q + 1000 where id = 1");
    cn->database().commit();
    EXPECT_EQ(whole("select q from t where id = 1")->value("q").toDouble(), 1001.25);
    cn->database().execute("update t set q = q - 1000 where id = 1");
  }
  // One closed before its rows are read (a dialog unloaded while its list still loads): it closes
  // like any open recordset, once, and the connection goes on.
  {
    auto rs = progressive();
    ASSERT_TRUE(rs->isOpen());
    rs->close();
    EXPECT_FALSE(rs->isOpen());
    EXPECT_FALSE(cn->database().hasPendingRead());
    EXPECT_THROW(rs->close(), automation::ComError);
    EXPECT_EQ(contents(*whole()), expected);
    rs->open(kQuery, cn);
    EXPECT_EQ(contents(*rs), expected);
  }
  // Closing the connection with a read pending.
  {
    auto other = connect();
    auto rs = std::make_shared<Recordset>();
    rs->openProgressive(kQuery, other, kFirstRows);
    other->close();
    EXPECT_EQ(rs->recordCount(), kRows);
  }
}

TEST_F(ProgressiveLoad, AnErrorMidReadIsReportedAndTheConnectionGoesOn) {
  // Row 9000 holds no date: converting it fails after the first rows (and the server's first
  // batch) were handed over.
  cn->database().execute("update t set dDue = 'no date' where id = 9000");
  const std::string failing = "select id, convert(datetime, dDue) as due from t";
  auto rs = progressive(failing);
  RecordsetView view = RecordsetView::growing(*rs);
  ASSERT_TRUE(view.mayGrow());
  while (view.grow(500, seconds(5))) {
  }
  EXPECT_LT(view.rowCount(), kRows);
  EXPECT_FALSE(cn->database().hasPendingRead());
  try {
    rs->recordCount();
    ADD_FAILURE() << "the failed read was not reported";
  } catch (const automation::ComError& e) {
    EXPECT_NE(e.description().find("Conversion failed"), std::string::npos) << e.description();
  }
  EXPECT_FALSE(rs->isOpen());
  // Reported the same way when another statement finishes the read.
  auto again = progressive(failing);
  EXPECT_THROW(cn->database().execute("update t set q = q"), automation::ComError);
  EXPECT_THROW(again->recordCount(), automation::ComError);

  cn->database().execute("update t set dDue = '2026-01-01' where id = 9000");
  EXPECT_EQ(progressive(failing)->recordCount(), kRows);
}

TEST_F(ProgressiveLoad, SmallResultsAndOtherBatchesOpenWhole) {
  auto small = progressive("select id from t where id <= 10");
  EXPECT_FALSE(cn->database().hasPendingRead());
  EXPECT_FALSE(RecordsetView::growing(*small).mayGrow());
  EXPECT_EQ(small->recordCount(), 10);
  // A batch of more than one statement runs as open() runs it.
  auto batch = progressive("set nocount on; select id from t where id <= 3");
  EXPECT_FALSE(cn->database().hasPendingRead());
  EXPECT_EQ(batch->recordCount(), 3);
}

}  // namespace
}  // namespace quillon::ado
