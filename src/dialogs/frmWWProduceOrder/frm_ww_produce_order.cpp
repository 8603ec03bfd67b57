// frmWWProduceOrder: set-up, the list queries, the filter and the filling of the three lists.
#include "dialogs/frmWWProduceOrder/frm_ww_produce_order.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "automation/vb_strings.h"
#include "components/marlin_col_set.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "dialogs/frmWWProduceOrder/ww_produce_order_messages.h"
#include "module/module_ctl.h"
#include "module/vouch_lists.h"

namespace quillon::dialogs {

using automation::Variant;
using namespace ww_produce_order;

namespace {

// Every list query waits this long for the account.
constexpr std::int32_t kListTimeout = 300;

std::shared_ptr<automation::Object> asObject(const std::shared_ptr<ado::Connection>& conn) {
  return std::static_pointer_cast<automation::Object>(conn);
}

}  // namespace

frmWWProduceOrder::frmWWProduceOrder()
    : ReferenceDialog("frmWWProduceOrder", std::string(kFormCaption), 11880, 8820,
                      forms::HandlerErrors::Prompt) {
  bindFilterFields(cmdRefers);
  bindButtons(cmdOk, cmdExit);
  cmdFilter.Click = handler([this] { cmdFilter_Click(); });
  bindClearFilter(cmdClearFilter);
  chkAll.Click = handler([this] { chkAll_Click(); });
  chkYbjs.Click = handler([this] { chkYbjs_Click(); });
  chkSelectAllHead.Click = handler([this] { chkSelectAllHead_Click(); });
  chkSelectAll.Click = handler([this] { chkSelectAll_Click(); });
  VouchListH.RowMarkChanged = handler([this](int row) { VouchListH_RowMarkChanged(row); });
  VouchListB.RowMarkChanged = handler([this](int row) { VouchListB_RowMarkChanged(row); });
  for (forms::MarlinVouchList* list : {&VouchListB, &VouchListS}) {
    list->CellChange = handler([this, list](std::string& text, bool& cancel, int row, int col) {
      quantityCellChange(*list, text, cancel, row, col);
    });
  }
  popupMenuOn(VouchListB, MnuFYJCD);
  popupMenuOn(VouchListS, MnuZYJCD);
  MnuClearFAll.Click = handler([this] {
    module::MarkAllRows(VouchListB, false);
    linesChanged();
  });
  MnuClearCAll.Click = handler([this] { module::MarkAllRows(VouchListS, false); });
  bindHeadNumbers({&MnuFYJCD, &MnuZYJCD}, {&VouchListB, &VouchListS});
  Command1.Click = handler([this] { columnSettings('H'); });
  Command2.Click = handler([this] { columnSettings('B'); });
  Command3.Click = handler([this] { columnSettings('S'); });
  SSTab1.Click = handler(
      [this](int /*previousTab*/) { setCaption(std::string(captionForTab(SSTab1.Tab()))); });
  edtInvQuantity.KeyDown = handler([this](int& keyCode, int) { edtInvQuantity_KeyDown(keyCode); });
}

frmWWProduceOrder::~frmWWProduceOrder() = default;

Mode frmWWProduceOrder::mode() const {
  return modeOf(bOI, chkYbjs.Value() == forms::vbChecked);
}

Digits frmWWProduceOrder::digits() const {
  auto& settings = module::CurrentAccountSettings();
  return {settings.setting("QuanDecDgt").toString(), settings.setting("NumDecDgt").toString()};
}

std::shared_ptr<components::MarlinColSet> frmWWProduceOrder::newColumnSet(
    std::string_view table) const {
  auto set = components::createAs<components::MarlinColSet>(components::kMarlinColSetProgId);
  const auto login = module::gContext ? module::gContext->login() : nullptr;
  if (!login) throw automation::ComError::objectNotSet();
  set->initialise(login->firstIdentity(), login->secondIdentity(), connection());
  set->bind(table);
  return set;
}

components::MarlinColSet* frmWWProduceOrder::columnSet(char list) const {
  switch (list) {
    case 'H':
      return colSetH_.get();
    case 'B':
      return colSetB_.get();
    default:
      return colSetS_.get();
  }
}

// ---- opening

void frmWWProduceOrder::loadDialog() {
  const int type = ownerVouchType();
  setFilterText(withDepartmentCondition(filterText(),
                                        module::gContext->permissionList("department", "", "W")));
  invFilter_ = inventoryPermissionFilter(module::gContext->permissionList("inventory", "", "W"));
  chkAll.setEnabled(allSwitchEnabled(type));
  chkAll.setValue(forms::vbUnchecked);
  openOnly_ = true;

  colSetH_ = newColumnSet(kHeaderTable);
  colSetB_ = newColumnSet(lineTable(bOI));
  colSetS_ = newColumnSet(kMaterialTable);
  module::KeepColumnWidths(VouchListH, colSetH_);
  module::KeepColumnWidths(VouchListB, colSetB_);
  module::KeepColumnWidths(VouchListS, colSetS_);
  emptyList(VouchListH);
  emptyList(VouchListB);
  emptyList(VouchListS);
  captionOrderNumbers();
  Command3.setVisible(!bOI);
  // The materials take part only in issue mode; receipts never leave the first tab.
  SSTab1.setTabEnabled(1, !bOI);

  // The concession types hide the kit box, type 71 shows it, the others keep it as designed.
  const bool concession = concessionBoxVisible(type);
  chkYbjs.setVisible(concession);
  if (concession || kitBoxVisible(type)) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{
             &lblInvCode, &txtInvCode, &lblInvQuantity, &edtInvQuantity}) {
      c->setVisible(!concession);
    }
  }
  quantityFormat_ = module::CurrentAccountSettings().text("FormatQuanDecString");
  if (!concession) edtInvQuantity.setDecimalPlaces(kitDecimals(quantityFormat_));
}

void frmWWProduceOrder::closeLevel(RecordsetPtr& rs) {
  if (rs && rs->isOpen()) rs->close();
  rs.reset();
}

void frmWWProduceOrder::Form_Unload(int& /*Cancel*/) {
  for (RecordsetPtr* level : {&materials_, &lines_, &headers_}) closeLevel(*level);
}

// ---- the list queries

bool frmWWProduceOrder::runList(const std::string& sql, RecordsetPtr& rs, const ConnectionPtr& conn,
                                std::string& errText, std::string& kept, std::string_view order) {
  errText.clear();
  rs = std::make_shared<ado::Recordset>();
  return trapped(errText, [&] {
    if (!conn) throw automation::ComError::objectNotSet();
    conn->setCommandTimeout(kListTimeout);
    rs->setCursorLocation(ado::adUseClient);
    module::gSQL = sql;
    kept = sql;
    rs->open(Variant(sql + std::string(order)), Variant(asObject(conn)), ado::adOpenStatic,
             ado::adLockOptimistic);
    return true;
  });
}

bool frmWWProduceOrder::probe(const std::string& sql, const ConnectionPtr& conn) const {
  ado::Recordset rs;
  rs.open(Variant(sql), Variant(asObject(conn)), ado::adOpenStatic, ado::adLockReadOnly);
  const bool found = rs.isOpen() && !(rs.bof() && rs.eof());
  if (rs.isOpen()) rs.close();
  return found;
}

std::string frmWWProduceOrder::probeText(const std::string& sql, const ConnectionPtr& conn) const {
  ado::Recordset rs;
  rs.open(Variant(sql), Variant(asObject(conn)), ado::adOpenStatic, ado::adLockReadOnly);
  std::string value;
  if (rs.isOpen() && !rs.eof()) value = rs.value(std::size_t{0}).displayText();
  if (rs.isOpen()) rs.close();
  return value;
}

bool frmWWProduceOrder::zgInstal() const {
  std::string value;
  if (!connection()) return false;
  module::GetAccountParameter("om", "bOMZGInstal", value, *connection());
  return optionSet(value);
}

LineQuery frmWWProduceOrder::lineQuery(const std::string& ids, std::uint8_t state, bool openOnly,
                                       const std::string& extra) {
  LineQuery q;
  q.fields = colSetB_ ? colSetB_->fieldList() : std::string();
  lineFields_ = q.fields;
  q.ids = ids;
  q.state = state;
  q.openOnly = openOnly;
  q.extra = extra;
  q.digits = digits();
  return q;
}

bool frmWWProduceOrder::trapped(std::string& errText, const std::function<bool()>& query) {
  try {
    return query();
  } catch (const automation::ComError& e) {
    errText = e.description();
    return false;
  }
}

const std::string& frmWWProduceOrder::headerFieldList() {
  if (!colSetH_) throw automation::ComError::objectNotSet();
  headerFields_ = colSetH_->fieldList();
  return headerFields_;
}

bool frmWWProduceOrder::GetYbjsPoMain(const std::string& ids, RecordsetPtr& rs,
                                      const ConnectionPtr& conn, std::string& errText,
                                      std::uint8_t& state, bool& openOnly, std::string& extra) {
  return trapped(errText, [&] {
    const std::string sql = ybjsPoMainSql(lineQuery(ids, state, openOnly, extra), zgInstal());
    return runList(sql, rs, conn, errText, lineSql_);
  });
}

bool frmWWProduceOrder::GetPoMainZ(const std::string& ids, RecordsetPtr& rs,
                                   const ConnectionPtr& conn, std::string& errText,
                                   std::uint8_t& state, bool& openOnly, std::string& extra) {
  return trapped(errText, [&] {
    return runList(poMainZSql(lineQuery(ids, state, openOnly, extra)), rs, conn, errText, lineSql_);
  });
}

bool frmWWProduceOrder::GetProduct1(const std::string& where, RecordsetPtr& rs,
                                    const ConnectionPtr& conn, std::string& errText,
                                    std::uint8_t& state, bool& openOnly) {
  return trapped(errText, [&] {
    const bool inNeedOut = probe(std::string(kHeaderInNeedOutProbe), conn);
    return runList(product1Sql(headerFieldList(), state, where, openOnly, digits(), inNeedOut), rs,
                   conn, errText, headerSql_);
  });
}

bool frmWWProduceOrder::GetYbjsProduct(const std::string& where, RecordsetPtr& rs,
                                       const ConnectionPtr& conn, std::string& errText,
                                       std::uint8_t& state, bool& openOnly) {
  return trapped(errText, [&] {
    const bool inNeedOut = probe(std::string(kHeaderInNeedOutProbe), conn);
    return runList(ybjsProductSql(headerFieldList(), state, where, openOnly, digits(), inNeedOut),
                   rs, conn, errText, headerSql_);
  });
}

// The orders of the issue modes are listed as they were entered, whichever engine holds the
// account: a statement without ORDER BY may give its rows in any order.
constexpr std::string_view kHeaderOrder = " order by P.ID";

bool frmWWProduceOrder::GetProductX(const std::string& where, RecordsetPtr& rs,
                                    const ConnectionPtr& conn, std::string& errText,
                                    std::uint8_t& state, bool& openOnly) {
  return trapped(errText, [&] {
    return runList(productXSql(headerFieldList(), state, where, openOnly, digits()), rs, conn,
                   errText, headerSql_, kHeaderOrder);
  });
}

bool frmWWProduceOrder::GetProductZ(const std::string& where, RecordsetPtr& rs,
                                    const ConnectionPtr& conn, std::string& errText,
                                    std::uint8_t& state, bool& openOnly) {
  return trapped(errText, [&] {
    return runList(productZSql(headerFieldList(), state, where, openOnly, digits()), rs, conn,
                   errText, headerSql_, kHeaderOrder);
  });
}

bool frmWWProduceOrder::GetPoMain(const std::string& ids, RecordsetPtr& rs,
                                  const ConnectionPtr& conn, std::string& errText,
                                  std::uint8_t& state, bool& openOnly, std::string& extra) {
  return trapped(errText, [&] {
    const bool inNeedOut = probe(std::string(kLineInNeedOutProbe), conn);
    return runList(poMainSql(lineQuery(ids, state, openOnly, extra), inNeedOut), rs, conn, errText,
                   lineSql_);
  });
}

bool frmWWProduceOrder::GetPoMainX(const std::string& ids, RecordsetPtr& rs,
                                   const ConnectionPtr& conn, std::string& errText,
                                   std::uint8_t& state, bool& openOnly, std::string& extra) {
  return trapped(errText, [&] {
    CostObjects costObjects = CostObjects::Missing;
    if (Variant(probeText(std::string(kCostObjectTableProbe), conn)).toLong() > 0) {
      costObjects = optionSet(probeText(std::string(kSpreadNotByFreeProbe), conn))
                        ? CostObjects::SpreadNotByFree
                        : CostObjects::SpreadByFree;
    }
    return runList(poMainXSql(lineQuery(ids, state, openOnly, extra), costObjects), rs, conn,
                   errText, lineSql_);
  });
}

// ---- what the lists are loaded with

frmWWProduceOrder::RecordsetPtr frmWWProduceOrder::loadHeaders(const std::string& filterWhere,
                                                               std::string& errText) {
  const std::string where = headerWhere(filterText(), filterWhere);
  RecordsetPtr rs;
  std::uint8_t state = kVerifiedState;
  const ConnectionPtr& conn = connection();
  bool ok = false;
  switch (headerStatementOf(mode(), ownerVouchType())) {
    case HeaderStatement::Product1:
      ok = GetProduct1(where, rs, conn, errText, state, openOnly_);
      break;
    case HeaderStatement::YbjsProduct:
      ok = GetYbjsProduct(where, rs, conn, errText, state, openOnly_);
      break;
    case HeaderStatement::ProductX:
      ok = GetProductX(where, rs, conn, errText, state, openOnly_);
      break;
    case HeaderStatement::ProductZ:
      ok = GetProductZ(where, rs, conn, errText, state, openOnly_);
      break;
  }
  return ok ? rs : nullptr;
}

frmWWProduceOrder::RecordsetPtr frmWWProduceOrder::loadLines(const std::string& ids,
                                                             std::string& errText) {
  RecordsetPtr rs;
  std::uint8_t state = kVerifiedState;
  const ConnectionPtr& conn = connection();
  const int type = ownerVouchType();
  const LineStatement statement = lineStatementOf(mode(), type);
  std::string extra = invFilter_;
  if (statement == LineStatement::PoMainZ) {
    extra = issueInventoryFilter(module::gContext->permissionList("inventory", "", "W"));
  }
  bool ok = false;
  switch (statement) {
    case LineStatement::PoMain:
      ok = GetPoMain(ids, rs, conn, errText, state, openOnly_, extra);
      break;
    case LineStatement::YbjsPoMain:
      ok = GetYbjsPoMain(ids, rs, conn, errText, state, openOnly_, extra);
      break;
    case LineStatement::PoMainX:
      ok = GetPoMainX(ids, rs, conn, errText, state, openOnly_, extra);
      break;
    case LineStatement::PoMainZ:
      ok = GetPoMainZ(ids, rs, conn, errText, state, openOnly_, extra);
      break;
  }
  return ok ? rs : nullptr;
}

frmWWProduceOrder::RecordsetPtr frmWWProduceOrder::loadMaterials(const std::string& mainIds,
                                                                 std::string& errText) {
  errText.clear();
  const ConnectionPtr& conn = connection();
  std::vector<int> states;
  {
    ado::Recordset rs;
    rs.open(Variant(materialStateProbe(mainIds)), Variant(asObject(conn)), ado::adOpenStatic,
            ado::adLockReadOnly);
    for (; rs.isOpen() && !rs.eof(); rs.moveNext()) states.push_back(rs.value("iState").toLong());
  }
  if (const auto refusal = stateRefusal(states)) {
    errText = std::string(*refusal);
    return nullptr;
  }
  if (checksLimitRequisition(ownerVouchType())) {
    std::vector<bool> used;
    ado::Recordset rs;
    rs.open(Variant(materialUsedProbe(mainIds)), Variant(asObject(conn)), ado::adOpenStatic,
            ado::adLockReadOnly);
    for (; rs.isOpen() && !rs.eof(); rs.moveNext()) used.push_back(rs.value("bUsed").toBool());
    if (const auto refusal = usedRefusal(used)) {
      errText = std::string(*refusal);
      return nullptr;
    }
  }
  RecordsetPtr rs;
  const std::string sql = ww_produce_order::materialSql(
      colSetS_->fieldList(), mainIds, materialExtraCondition(invFilter_), openOnly_, digits());
  if (!runList(sql, rs, conn, errText, materialSql_)) return nullptr;
  return rs;
}

// ---- filling the lists

void frmWWProduceOrder::FillVouchListByColSet(forms::MarlinVouchList& list,
                                              components::MarlinColSet& colSet, RecordsetPtr& rs) {
  fillList(list, colSet.columnDefinitions(), rs, listFormats());
}

frmWWProduceOrder::ListFormats frmWWProduceOrder::listFormats() const {
  auto& settings = module::CurrentAccountSettings();
  ListFormats formats;
  formats.quantity = settings.text("FormatQuanDecString");
  formats.pieces = settings.text("FormatNumDecString");
  formats.rate = settings.text("FormatExchDecString");
  if (colSetH_) formats.layoutH = colSetH_->columnDefinitions();
  if (colSetB_) formats.layoutB = colSetB_->columnDefinitions();
  if (colSetS_) formats.layoutS = colSetS_->columnDefinitions();
  return formats;
}

void frmWWProduceOrder::fillList(forms::MarlinVouchList& list, std::string_view layout,
                                 RecordsetPtr& rs, const ListFormats& shown) {
  const std::string& quantity = shown.quantity;
  module::VouchFieldFormats formats;
  for (const auto& [field, kind] : cellFormatsOf(list.Name())) {
    formats.emplace_back(std::string(field), kind == CellFormat::Quantity ? quantity
                                             : kind == CellFormat::Pieces ? shown.pieces
                                                                          : shown.rate);
  }
  // The order type shows by its name; as a shown text, not written into every row, so that heads
  // still loading are drawn as they come.
  const module::VouchFieldTexts texts{{"iProperty", &propertyText}};
  module::FillVouchList(list, layout, rs.get(), formats, quantity, texts);
}

void frmWWProduceOrder::emptyList(forms::MarlinVouchList& list, const ListFormats& formats) {
  RecordsetPtr none;
  components::MarlinColSet* set = &list == &VouchListH   ? colSetH_.get()
                                  : &list == &VouchListB ? colSetB_.get()
                                                         : colSetS_.get();
  const std::string& layout = &list == &VouchListH   ? formats.layoutH
                              : &list == &VouchListB ? formats.layoutB
                                                     : formats.layoutS;
  if (set != nullptr) fillList(list, layout, none, formats);
  openQuantityColumns(list);
}

void frmWWProduceOrder::openQuantityColumns(forms::MarlinVouchList& list) {
  for (const char* key : {"iCurQuantity", "iCurNum", "iCurOutQuantity", "iCurOutNum"}) {
    if (const int col = list.colIndex(key); col > 0 && &list != &VouchListH) {
      list.setColEditable(col, true);
    }
  }
}

void frmWWProduceOrder::showHeaders(const ListFormats& formats) {
  fillList(VouchListH, formats.layoutH, headers_, formats);
  captionOrderNumbers();
}

void frmWWProduceOrder::showLines() {
  FillVouchListByColSet(VouchListB, *colSetB_, lines_);
  openQuantityColumns(VouchListB);
  // Lines whose own columns show the order's number (receipt mode) need no label beside them.
  if (VouchListB.colIndex(kOrderNumberKey) > 0) {
    VouchListB.setRowLabelColumn({});
    headNumbersCaptioned();
  }
  labelOrderNumbers(VouchListB, "MainID");
}

void frmWWProduceOrder::showMaterials() {
  FillVouchListByColSet(VouchListS, *colSetS_, materials_);
  openQuantityColumns(VouchListS);
  labelOrderNumbers(VouchListS, "mainid");
}

// ---- order numbers

void frmWWProduceOrder::captionOrderNumbers() {
  const int col = VouchListH.colIndex(kOrderNumberKey);
  const std::string caption = col > 0 ? VouchListH.TextMatrix(0, col) : std::string();
  VouchListB.setRowLabelColumn(caption);
  VouchListS.setRowLabelColumn(caption);
  headNumbersCaptioned();
}

std::map<std::string, std::string> frmWWProduceOrder::readLineNumbers() {
  std::map<std::string, std::string> numberOfOrder;
  std::vector<std::string> orders;
  const int numberCol = VouchListH.colIndex(kOrderNumberKey);
  for (int row : module::MarkedRows(VouchListH)) {
    const std::string id = automation::Trim(module::VouchCell(VouchListH, row, "ID"));
    orders.push_back(id);
    numberOfOrder[id] = numberCol > 0 ? VouchListH.TextMatrix(row, numberCol) : std::string();
  }
  std::map<std::string, std::string> numbers;
  const auto sql = lineOrdersSql(orders);
  if (!sql || numberCol <= 0) return numbers;
  ado::Recordset rs;
  rs.open(Variant(*sql), Variant(asObject(connection())), ado::adOpenStatic, ado::adLockReadOnly);
  for (; rs.isOpen() && !rs.eof(); rs.moveNext()) {
    const auto order = numberOfOrder.find(automation::Trim(rs.value("ID").displayText()));
    if (order == numberOfOrder.end()) continue;
    numbers[automation::Trim(rs.value("MainID").displayText())] = order->second;
  }
  return numbers;
}

void frmWWProduceOrder::labelOrderNumbers(forms::MarlinVouchList& list,
                                          std::string_view mainIdKey) {
  if (list.rowLabelCaption().empty() || list.colIndex(mainIdKey) <= 0) return;
  for (int row = 1; row < list.Rows(); ++row) {
    const auto number =
        lineNumbers_.find(automation::Trim(module::VouchCell(list, row, mainIdKey)));
    if (number != lineNumbers_.end()) list.setRowLabel(row, number->second);
  }
}

void frmWWProduceOrder::columnSettings(char list) {
  components::MarlinColSet* set = columnSet(list);
  if (set == nullptr || !set->showSettings()) return;
  switch (list) {
    case 'H':
      showHeaders();
      break;
    case 'B':
      showLines();
      break;
    default:
      showMaterials();
      break;
  }
}

// ---- filter

void frmWWProduceOrder::chkAll_Click() {
  openOnly_ = chkAll.Value() != forms::vbChecked;
}

void frmWWProduceOrder::chkYbjs_Click() {
  // The next filter lists in the mode now chosen; what is loaded belongs to the other one.
  for (RecordsetPtr* level : {&headers_, &lines_, &materials_}) closeLevel(*level);
  emptyList(VouchListH);
  emptyList(VouchListB);
}

void frmWWProduceOrder::cmdFilter_Click() {
  const auto busyPointer = busy();
  rememberFilter();
  const FilterFields fields =
      kit::readOrderFilter(txtLDate, txtUDate, cmbDept, cmbPerson, cmbPOID, cmbVen, cmbInv);
  const FilterText filter =
      ww_produce_order::filterText(fields, originalOnly(module::gVouchType, module::gIsSTQc));

  if (!filter.where.empty() || filter.product.empty()) {
    LoadHeaders(filter.where);
  } else if (lines_) {
    // A product alone narrows the product lines already loaded, without asking the account.
    lines_->setFilter(Variant(filter.product));
    showLines();
    showMaterials();
  }
  txtInvCode.setText("");
  edtInvQuantity.setText("");
}

void frmWWProduceOrder::LoadHeaders(const std::string& filterWhere) {
  errText_.clear();
  const ListFormats formats = listFormats();
  RecordsetPtr rs;
  {
    // Drawn for a person, the heads show their first screen while the rest loads.
    const ado::ProgressiveOpens firstScreen(module::ShownListFirstRows());
    rs = loadHeaders(filterWhere, errText_);
  }
  if (!errText_.empty()) prompt(errText_);
  if (!rs) return;
  if (headers_ && headers_ != rs && headers_->isOpen()) headers_->close();
  headers_ = std::move(rs);
  showHeaders(formats);
  closeLevel(lines_);
  closeLevel(materials_);
  emptyList(VouchListB, formats);
  emptyList(VouchListS, formats);
}

}  // namespace quillon::dialogs
