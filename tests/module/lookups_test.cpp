#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ado/connection.h"
#include "automation/vb_dates.h"
#include "automation/vb_strings.h"
#include "components/marlin_login.h"
#include "components/session_context.h"
#include "forms/buttons.h"
#include "forms/form.h"
#include "forms/static_controls.h"
#include "forms/text_box.h"
#include "module/lookups.h"
#include "module/module_ctl.h"
#include "module/module_state.h"
#include "module_fixture.h"
#include "support/recording_ui_host.h"

namespace quillon::module {
namespace {

// The codes a lookup list showed, in its order.
std::vector<std::string> codesShown(const test_support::ShownLookup& lookup) {
  return lookup.column(lookup.table == "department" ? "cDepCode"
                       : lookup.table == "Vendor"   ? "cVenCode"
                                                    : "cWhCode");
}

class FilterForm : public forms::Form {
 public:
  explicit FilterForm(std::string name = "frmFilter") : Form(std::move(name), "", 6000, 4000) {}
  forms::TextBox& txtDep = add<forms::TextBox>("txtDep", {600, 300, 1800, 300});
  forms::TextBox& txtVen = add<forms::TextBox>("txtVen", {600, 700, 1800, 300});
  forms::TextBox& txtDate = add<forms::TextBox>("txtDate", {600, 1100, 1800, 300});
  forms::Frame& fraDates = add<forms::Frame>("fraDates", {300, 1500, 3000, 1000});
  forms::TextBox& txtInFrame = add<forms::TextBox>("txtInFrame", {200, 300, 1500, 300, &fraDates});
  forms::CommandButton& cmdRefers = add<forms::CommandButton>("cmdRefers", {0, 0, 200, 200});
  forms::CommandButton& cmdOk = add<forms::CommandButton>("cmdOk", {4000, 3000, 900, 300});
};

struct LookupTest : ::testing::Test {
  void SetUp() override {
    form.txtDep.setTag("RfDepartment");
    form.txtVen.setTag("rfvendor");
    form.txtDate.setTag("rfdate");
    form.Show();
  }
  std::shared_ptr<test_support::RecordingUiHost> host =
      std::make_shared<test_support::RecordingUiHost>();
  forms::ScopedUiHost scoped{host};
  FilterForm form;
  std::string err;
};

TEST_F(LookupTest, ButtonSitsInsideTheFieldAndRfnullHidesIt) {
  ASSERT_TRUE(PlaceLookupButton(form.txtDep, form.cmdRefers, err));
  EXPECT_EQ(form.cmdRefers.Height(), 240);
  EXPECT_EQ(form.cmdRefers.Width(), 240);
  EXPECT_EQ(form.cmdRefers.Left(), 600 + 1800 - 240 - 30);
  EXPECT_EQ(form.cmdRefers.Top(), 330);
  EXPECT_EQ(form.cmdRefers.Picture(), 219);
  EXPECT_EQ(form.cmdRefers.Tag(), "txtDep");
  EXPECT_TRUE(form.cmdRefers.Visible());

  ASSERT_TRUE(PlaceLookupButton(form.txtDate, form.cmdRefers, err));
  EXPECT_EQ(form.cmdRefers.Picture(), 1108);

  // A field in a frame: the button stands in the frame too, where the field's place is measured.
  form.txtInFrame.setTag("rfdate");
  ASSERT_TRUE(PlaceLookupButton(form.txtInFrame, form.cmdRefers, err));
  EXPECT_EQ(form.cmdRefers.container(), &form.fraDates);
  EXPECT_EQ(form.cmdRefers.Left(), 200 + 1500 - 240 - 30);
  EXPECT_EQ(form.cmdRefers.Top(), 330);
  ASSERT_TRUE(PlaceLookupButton(form.txtDep, form.cmdRefers, err));
  EXPECT_EQ(form.cmdRefers.container(), nullptr);

  form.txtVen.setTag("RFNULL");
  EXPECT_FALSE(PlaceLookupButton(form.txtVen, form.cmdRefers, err));
  EXPECT_FALSE(form.cmdRefers.Visible());
  EXPECT_FALSE(OpenLookup({}, form.txtVen, form.cmdRefers, LookupCodes::IntoLinkItem, err))
      << "no lookup while hidden";
}

TEST_F(LookupTest, ThreeDepartmentsGiveThreeNamesAndThreeCodesOfEndLevelOnly) {
  testing::openSessionAs("demo");
  PlaceLookupButton(form.txtDep, form.cmdRefers, err);
  host->picks.push_back({1, 2, 3});
  ASSERT_TRUE(OpenLookup({}, form.txtDep, form.cmdRefers, LookupCodes::IntoLinkItem, err)) << err;
  ASSERT_EQ(host->lookups.size(), 1u);
  const auto shown = codesShown(host->lookups[0]);
  EXPECT_EQ(shown.size(), 10u);
  for (const auto& code : shown) {
    EXPECT_NE(code, "02") << "not an end-level department";
    EXPECT_NE(code, "04");
  }
  const auto codes = automation::splitText(form.txtDep.LinkItem(), ",");
  const auto names = automation::splitText(form.txtDep.Text(), ",");
  ASSERT_EQ(codes.size(), 3u);
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(codes, (std::vector<std::string>{shown[0], shown[1], shown[2]}));
  EXPECT_EQ(names[0], "总经理办公室");
  EXPECT_TRUE(form.txtDep.hasFocus());

  // A lookup closed without a choice changes nothing.
  EXPECT_FALSE(OpenLookup({}, form.txtDep, form.cmdRefers, LookupCodes::IntoLinkItem, err));
  EXPECT_EQ(form.txtDep.LinkItem(), automation::Join(codes, ","));
}

TEST_F(LookupTest, LookupsAreFilteredByTheUsersPermissions) {
  testing::openSessionAs("demo");
  PlaceLookupButton(form.txtVen, form.cmdRefers, err);
  form.txtVen.setText("V00");
  OpenLookup({}, form.txtVen, form.cmdRefers, LookupCodes::IntoLinkItem, err);
  ASSERT_EQ(host->lookups.size(), 1u);
  EXPECT_EQ(host->lookups[0].query,
            "SELECT * FROM Vendor WHERE (cVencode LIKE N'%V00%' OR cVenName LIKE N'%V00%')");
  EXPECT_EQ(codesShown(host->lookups[0]).size(), 8u);

  testing::openSessionAs("clerk");
  OpenLookup({}, form.txtVen, form.cmdRefers, LookupCodes::IntoLinkItem, err);
  ASSERT_EQ(host->lookups.size(), 2u);
  EXPECT_NE(host->lookups[1].query.find(" AND cVencode IN("), std::string::npos)
      << host->lookups[1].query;
  // Read and write rights both count for a lookup.
  EXPECT_EQ(codesShown(host->lookups[1]),
            (std::vector<std::string>{"V001", "V002", "V003", "V004"}));

  PlaceLookupButton(form.txtDep, form.cmdRefers, err);
  form.txtDep.setText("");
  OpenLookup({}, form.txtDep, form.cmdRefers, LookupCodes::IntoLinkItem, err);
  EXPECT_EQ(codesShown(host->lookups[2]),
            (std::vector<std::string>{"0201", "0202", "0203", "0401"}));
}

// A vendor's name is typed text too: whatever it holds, the clerk sees only his own vendors.
TEST_F(LookupTest, TypedTextNeverDropsThePermissionClause) {
  auto demo = testing::openSessionAs("demo");
  demo->execute(
      "insert into Vendor (cVenCode, cVenName, cVenAbbName) values "
      "('V901', N'鑫源%'') OR 1=1 --', N'鑫源'), ('V902', N'O''Neil 五金', N'O''Neil')");
  struct Cleanup {
    std::shared_ptr<ado::Connection> con;
    ~Cleanup() { con->execute("delete from Vendor where cVenCode in ('V901', 'V902')"); }
  } cleanup{demo};

  PlaceLookupButton(form.txtVen, form.cmdRefers, err);
  form.txtVen.setText("O'Neil 五金");
  host->picks.push_back({1});
  ASSERT_TRUE(OpenLookup({}, form.txtVen, form.cmdRefers, LookupCodes::IntoLinkItem, err)) << err;
  EXPECT_EQ(codesShown(host->lookups.back()), (std::vector<std::string>{"V902"}));
  EXPECT_EQ(form.txtVen.Text(), "O'Neil 五金");

  testing::openSessionAs("clerk");
  for (const char* typed : {"鑫源%') OR 1=1 --", "%' OR '1'='1", "V00%' --"}) {
    form.txtVen.setText(typed);
    err.clear();
    EXPECT_FALSE(OpenLookup({}, form.txtVen, form.cmdRefers, LookupCodes::IntoLinkItem, err));
    EXPECT_EQ(err, "") << typed;
    EXPECT_NE(host->lookups.back().query.find(" AND cVencode IN("), std::string::npos);
    EXPECT_TRUE(codesShown(host->lookups.back()).empty())
        << typed << ": " << codesShown(host->lookups.back()).size();
  }
}

TEST_F(LookupTest, CodesGoToLinkItemOnlyWhenTheDialogAsksForThem) {
  testing::openSessionAs("demo");
  FilterForm other("frmStockOrder");
  other.Show();
  other.txtVen.setTag("rfvendor");
  PlaceLookupButton(other.txtVen, other.cmdRefers, err);
  host->picks.push_back({2});
  ASSERT_TRUE(OpenLookup({}, other.txtVen, other.cmdRefers, LookupCodes::TextOnly, err));
  EXPECT_FALSE(other.txtVen.Text().empty());
  EXPECT_EQ(other.txtVen.LinkItem(), "");
}

TEST_F(LookupTest, CalendarWritesTheDateInTheDialogsForm) {
  PlaceLookupButton(form.txtDate, form.cmdRefers, err);
  host->dates.push_back(automation::DateSerial(2026, 3, 7));
  ASSERT_TRUE(OpenLookup({}, form.txtDate, form.cmdRefers, LookupCodes::IntoLinkItem, err));
  EXPECT_EQ(form.txtDate.Text(), "2026-03-07");
  ASSERT_EQ(host->calendarRequests.size(), 1u);
  // The calendar opens on the field's date; an empty field opens it on the session's date, not
  // on the machine's.
  OpenLookup({}, form.txtDate, form.cmdRefers, LookupCodes::IntoLinkItem, err);
  ASSERT_EQ(host->calendarRequests.size(), 2u);
  EXPECT_EQ(host->calendarRequests[1].initial, automation::DateSerial(2026, 3, 7));
  testing::openSessionAs("demo");
  form.txtDate.setText("");
  OpenLookup({}, form.txtDate, form.cmdRefers, LookupCodes::IntoLinkItem, err);
  ASSERT_EQ(host->calendarRequests.size(), 3u);
  ASSERT_TRUE(gContext && gContext->login());
  EXPECT_EQ(host->calendarRequests[2].initial, gContext->login()->loginDate());
}

TEST_F(LookupTest, CheckEntryAcceptsCodesAndNamesAndRefusesTheRest) {
  testing::openSessionAs("demo");
  form.txtDep.setLinkItem("old");
  form.txtDep.setText("");
  EXPECT_TRUE(CheckEntry(form.txtDep, err, true));
  EXPECT_EQ(form.txtDep.LinkItem(), "");

  form.txtDep.setText("0201");
  ASSERT_TRUE(CheckEntry(form.txtDep, err, true)) << err;
  EXPECT_EQ(form.txtDep.Text(), "机加车间");
  EXPECT_EQ(form.txtDep.LinkItem(), "0201");

  form.txtDep.setText("铸造车间");
  ASSERT_TRUE(CheckEntry(form.txtDep, err, false)) << err;
  EXPECT_EQ(form.txtDep.Text(), "0202");
  EXPECT_EQ(form.txtDep.LinkItem(), "0202");

  // A department that is not end-level is refused, with the archive's message.
  form.txtDep.setText("02");
  EXPECT_FALSE(CheckEntry(form.txtDep, err, true));
  EXPECT_FALSE(err.empty());
  EXPECT_TRUE(form.txtDep.hasFocus());
  EXPECT_EQ(form.txtDep.SelStart(), 0);
  EXPECT_EQ(form.txtDep.SelLength(), 2);

  err.clear();
  form.txtDate.setText("2026-13-01");
  EXPECT_FALSE(CheckEntry(form.txtDate, err, true));
  EXPECT_EQ(err, kDateFormatMessage);
  EXPECT_TRUE(form.txtDate.hasFocus());
  form.txtDate.setText("2026-12-31");
  EXPECT_TRUE(CheckEntry(form.txtDate, err, true));
}

TEST_F(LookupTest, LeavingADateFieldWithMonth13KeepsTheFocus) {
  form.txtDate.Validate = [this](bool& cancel) { ValidateDateField(form.txtDate, cancel); };
  form.txtDate.SetFocus();
  form.txtDate.setText("2026-13-05");
  form.txtVen.SetFocus();
  EXPECT_TRUE(form.txtDate.hasFocus());
  ASSERT_EQ(host->messages.size(), 1u);
  EXPECT_EQ(host->messages[0].prompt, kDateFormatMessage);
  EXPECT_EQ(host->messages[0].title, "提示");
  EXPECT_EQ(host->messages[0].icon, forms::vbCritical);
  EXPECT_EQ(form.txtDate.SelLength(), 10);

  form.txtDate.setText("2026-12-05");
  form.txtVen.SetFocus();
  EXPECT_TRUE(form.txtVen.hasFocus());
}

}  // namespace
}  // namespace quillon::module
