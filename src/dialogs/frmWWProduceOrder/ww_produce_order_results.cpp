#include "dialogs/frmWWProduceOrder/ww_produce_order_results.h"

#include <utility>

#include "automation/com_error.h"
#include "automation/numeric_text.h"
#include "automation/vb_strings.h"
#include "sql/sql_text.h"

namespace quillon::dialogs::ww_produce_order {

using sql::literal;

namespace {

using Column = std::pair<std::string, std::string>;  // expression, name

class ColumnList {
 public:
  ColumnList& add(std::string expr, std::string name) {
    columns_.emplace_back(std::move(expr), std::move(name));
    return *this;
  }
  ColumnList& empty(std::string name) { return add("''", std::move(name)); }
  // name1 .. nameN from prefix1 .. prefixN, e.g. OM_POMain.cFree1 AS cFree1.
  ColumnList& range(const std::string& prefix, int first, int last, const std::string& name,
                    int nameFirst) {
    for (int i = first; i <= last; ++i) {
      add(prefix + std::to_string(i), name + std::to_string(nameFirst + i - first));
    }
    return *this;
  }
  std::string text(std::string_view select) const {
    std::string out(select);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (i > 0) out += ", ";
      out += columns_[i].first + " AS " + columns_[i].second;
    }
    return out;
  }
  std::string text() const { return text({}); }

 private:
  std::vector<Column> columns_;
};

std::string vendorField(const std::string& column) {
  return "(select VV." + column + " from Vendor VV where VV.cVenCode = P.cVenCode)";
}

// What every header list ends with: the order's row version, defines and vendor.
void addHeaderTail(ColumnList& c) {
  c.add("P.ufts", "brts1").range("P.cDefine", 1, 16, "cdefine", 1);
  c.add("P.iVTid", "iVTid").add("P.cVenCode", "cVenCode");
  for (const char* f : {"cVenBank", "cVenAddress", "cVenPhone", "cVenFax", "cVenPostCode",
                        "cVenPerson", "cVenAccount", "cVenRegCode"}) {
    c.add(vendorField(f), f);
  }
  for (int i = 1; i <= 16; ++i) {
    c.add(vendorField("cVenDefine" + std::to_string(i)), "cvendefine" + std::to_string(i));
  }
}

// The product line's rate: the unit's fixed rate, none for a single unit, else ordered quantity
// per ordered pieces.
std::string exchangeRate(const std::string& inventory, const std::string& line) {
  return "case when " + inventory + ".iGroupType = 1 then computationunit2.iChangRate when " +
         inventory + ".iGroupType = 0 then NULL when isnull(" + line +
         ".fQuantity, 0) <> 0 and isnull(" + line + ".fNum, 0) <> 0 then " + line +
         ".fQuantity / " + line + ".fNum else NULL end";
}

// The receipt columns from SELCOL to cdefine37, as both receipt modes give them.
void addReceiptColumns(ColumnList& c) {
  c.empty("SELCOL")
      .add("OM_POMain.MainID", "MainID")
      .add("OM_POMain.cInvCode", "cInvCode")
      .add("Inventory.cInvName", "cInvName")
      .add("computationUnit.cComUnitName", "cComUnitName")
      .add("Inventory.cInvStd", "cInvStd")
      .add("Inventory.cComUnitCode", "cComUnitCode")
      .add("qm_ncheckvoucher.cCheckCode", "ccheckcode")
      .range("OM_POMain.cFree", 1, 10, "cFree", 1)
      .add("qm_ncheckvouchers.AutoID", "ichkautoid")
      .add("M.fQuantity", "fQuantity")
      .add("M.fInquantity", "fInquantity")
      .empty("iCurQuantity")
      .add("OM_POMain.iTookQuantity", "iTookQuantity")
      .add("OM_POMain.iInvalidQuantity", "iInvalidQuantity")
      .add("OM_POMain.dStartDate", "dStartDate")
      .add("OM_POMain.dEndDate", "dEndDate")
      .add("OM_POMain.cItemName", "citemName")
      .add("OM_POMain.cItemCode", "citemcode")
      .add("fitem.cItem_Name", "cItem_Name")
      .add("M.fNum", "iNum")
      .empty("iCurNum")
      .add("OM_POMain.cItem_class", "citem_Class")
      .add("M.fInNum", "fInNum")
      .add("OM_POMain.fTookNum", "fTookNum")
      .add("OM_POMain.iInvalidNum", "iInvalidNum")
      .range("OM_POMain.cDefine", 22, 37, "cdefine", 22);
}

std::string numberText(std::string_view text, const char* what) {
  std::string digits;
  for (char ch : text) {
    if (ch != ',') digits.push_back(ch);
  }
  if (automation::Trim(digits).empty()) return "NULL";
  const auto value = automation::parseNumericText(digits);
  if (!value) {
    throw automation::ComError(automation::err::kTypeMismatch,
                               std::string(what) + "[" + std::string(text) + "]不是数字");
  }
  return literal(*value);
}

std::string keyText(std::string_view text) {
  const std::string key = automation::Trim(text);
  const auto value = automation::parseNumericText(key);
  if (key.empty() || !value || *value != static_cast<double>(static_cast<long long>(*value))) {
    throw automation::ComError(automation::err::kTypeMismatch,
                               "子件ID[" + std::string(text) + "]不是数字");
  }
  return std::to_string(static_cast<long long>(*value));
}

}  // namespace

std::string materialTableName(int random) {
  return "#WWPODetails" + std::to_string(random < 0 ? -random % 1000 : random % 1000);
}

std::string createMaterialTableSql(std::string_view name) {
  return "CREATE TABLE [" + std::string(name) +
         "] ([tSubID] [int] NULL ,[iCurOutQuantity] [decimal](18, 6) NULL,[iCurOutNum] "
         "[decimal](18, 6) NULL ) ON [PRIMARY]";
}

std::string insertMaterialSql(std::string_view name, const MaterialQuantity& m) {
  return "insert into " + std::string(name) + "(tSubID,iCurOutQuantity,iCurOutNum) values(" +
         keyText(m.subId) + "," + numberText(m.quantity, "本次出库数量") + "," +
         numberText(m.pieces, "本次出库件数") + ")";
}

std::string childSql(std::string_view name, const std::vector<std::string>& subIds) {
  const std::string table(name);
  ColumnList before;
  before.add("OM_PODetails.SubID", "SubID")
      .add("OM_ProductPO.cCode", "cCode")
      .add("OM_PODetails.cInvCode", "cInvCode")
      .add("d.cInvName", "cInvName")
      .add("d.cInvStd", "cInvStd")
      .add("OM_PODetails.cUnitID", "Expr1")
      .add("d.cComUnitCode", "cComUnitCode")
      .add("ComputationUnit.cComUnitName", "cComUnitName")
      .range("OM_PODetails.cFree", 1, 10, "cFree", 1)
      .add("OM_PODetails.fQuantity", "fQuantity")
      .add("PM.cInvCode", "cinvcode1")
      .add("d1.cInvName", "cinvname1")
      .add("OM_PODetails.fOutQuantity", "fOutQuantity")
      .add("d.cAssComUnitCode", "cassunit")
      .add("computationunit2.cComUnitName", "cinva_unit")
      .add(exchangeRate("d", "OM_PODetails"), "iinvexchrate")
      .add("OM_PODetails.fNum", "fnum")
      .add("OM_PODetails.fOutNum", "foutnum");
  ColumnList after;
  after.add("OM_PODetails.cWhCode", "cwhcode")
      .add("W.cWhName", "cWhName")
      .add("OM_PODetails.cDepCode", "cdepcode")
      .add("De.cDepName", "cDepName")
      .add("OM_PODetails.iPSQuantity", "ipsquantity")
      .add("isnull(OM_PODetails.tdqtyd, 1)", "tdqtyd")
      .add("OM_PODetails.iWasteRate", "iwasterate")
      .add("OM_PODetails.MainID", "mainid")
      .range("PM.cDefine", 22, 37, "cdefine", 1)
      .range("OM_PODetails.cDefine", 22, 37, "cdefine", 22)
      .add("OM_PODetails.cItem_class", "citem_class")
      .add("fitem.cItem_Name", "citem_name")
      .add("OM_PODetails.cItemCode", "citemcode")
      .add("OM_PODetails.cItemName", "citemname");
  std::string keys;
  for (const std::string& id : subIds) {
    if (!keys.empty()) keys += ",";
    keys += keyText(id);
  }
  return before.text("select ") + ", " + table + ".iCurOutQuantity," + table + ".iCurOutNum," +
         after.text(" ") + " " +
         "FROM OM_PODetails LEFT OUTER JOIN      OM_POMain PM ON OM_PODetails.MainID = PM.MainId "
         "left outer join OM_ProductPO on  OM_ProductPO.id = PM.id  LEFT OUTER JOIN      "
         "Inventory d ON d.cInvCode = OM_PODetails.cInvCode LEFT OUTER JOIN      ComputationUnit "
         "ON       d.cComUnitCode = ComputationUnit.cComunitCode LEFT OUTER JOIN      Warehouse W "
         "ON W.cWhCode = OM_PODetails.cwhcode LEFT OUTER JOIN      Department De ON De.cDepCode "
         "= OM_PODetails.cdepcode LEFT OUTER JOIN fitem ON  OM_PODetails.citem_class = "
         "fitem.citem_class LEFT OUTER JOIN  ComputationUnit as computationunit2 on "
         "OM_PODetails.cunitid = computationunit2.ccomunitcode " +
         "left join " + table + " on " + table + ".tSubID=OM_PODetails.SubID" +
         " LEFT OUTER JOIN inventory d1 ON d1.cinvcode = pm.cinvcode" + " where " + "subid" +
         " IN (" + keys + ")";
}

std::string selectionCondition(const std::vector<SelectedLine>& lines) {
  std::string joined;
  for (const SelectedLine& l : lines) {
    if (!joined.empty()) joined += " or ";
    joined += "( ";
    joined += " om_pomain.mainid=" + literal(automation::Trim(l.mainId)) + " ";
    if (!automation::Trim(l.checkId).empty()) {
      joined += std::string(" and ") +
                " qm_ncheckvouchers.autoid=" + literal(automation::Trim(l.checkId)) + " ";
    }
    if (!automation::Trim(l.rejectId).empty()) {
      joined +=
          std::string(" and ") + " qm_ncvreject.id=" + literal(automation::Trim(l.rejectId)) + " ";
    }
    joined += " ) ";
  }
  return "(" + joined + ")";
}

std::string headerCondition(std::string_view ids) {
  return std::string("p.id") + " IN " + std::string(ids);
}

std::string reReadSql(std::string_view statement, std::string_view fields, std::string_view columns,
                      std::string_view condition) {
  const auto at = fields.empty() ? std::string_view::npos : statement.find(fields);
  if (at == std::string_view::npos) {
    throw automation::ComError(automation::err::kInvalidProcedureCall,
                               "The list's statement does not hold its field list");
  }
  return std::string(columns) + std::string(statement.substr(at + fields.size())) + " AND " +
         std::string(condition);
}

std::string headerColumns(bool severalHeaders) {
  ColumnList c;
  const std::string department =
      "(select DD.cDepName from Department DD where DD.cDepCode = P.cDepCode)";
  const std::string person =
      "(select PP.cPersonName from Person PP where PP.cPersonCode = P.cPersonCode)";
  if (severalHeaders) {
    c.add(vendorField("cVenName"), "cVenName").add("P.ID", "ID");
    for (const char* f : {"cPeriod", "ccode", "dDate", "iProperty", "cDepCode", "cDepName",
                          "cPersonCode", "cPersonName", "cMaker", "cVerifier", "dCheckDate"}) {
      c.empty(f);
    }
  } else {
    c.empty("SELCOL")
        .add("P.ID", "ID")
        .add("P.cPeriod", "cPeriod")
        .add("P.cCode", "cCode")
        .add("P.dDate", "dDate")
        .add("P.iProperty", "iProperty")
        .add("P.cDepCode", "cDepCode")
        .add(department, "cDepName")
        .add(vendorField("cVenName"), "cVenName")
        .add("P.cPersonCode", "cPersonCode")
        .add(person, "cPersonName")
        .add("P.cMaker", "cMaker")
        .add("P.cVerifier", "cVerifier")
        .add("P.dCheckDate", "dCheckDate");
  }
  addHeaderTail(c);
  // The receipt headers join the order's lines: one row per order all the same.
  return c.text("select distinct ");
}

std::string lineColumns(Mode mode, bool severalHeaders, bool makePrice) {
  ColumnList c;
  switch (mode) {
    case Mode::Receipt:
    case Mode::Concession:
      if (severalHeaders) c.add("om_productPo.cCode", "ccode");
      addReceiptColumns(c);
      if (mode == Mode::Receipt) {
        c.add("venandinv.cVenInvCode", "cveninvcode")
            .add("venandinv.cVenInvName", "cveninvname")
            .add("Inventory.cAssComUnitCode", "cassunit")
            .add("computationunit2.cComUnitName", "cinva_unit")
            .add(exchangeRate("Inventory", "OM_POMain"), "iinvexchrate")
            .add("0", "iarrptrintype");
      } else {
        c.add("1", "iarrptrintype")
            .add("qm_ncheckvouchers.AutoID", "ichkautoid")
            .add("qm_ncheckvouchers.iRejID", "irejid")
            .add("qm_ncvreject.ufts", "crejbrts")
            .add("qm_ncvreject.cRejText", "crejtext")
            .add(exchangeRate("Inventory", "OM_POMain"), "iinvexchrate")
            .add("M.fNum", "iNum");
      }
      if (makePrice) c.add("OM_POMain.iMakeCharge", "MakePrice");
      break;
    case Mode::Issue:
      if (severalHeaders) {
        c.add("OM_POMain.MainID", "MainID");
        for (const char* f : {"cInvCode", "cInvName", "cComUnitName", "cInvStd", "cComUnitCode"}) {
          c.empty(f);
        }
        for (int i = 1; i <= 10; ++i) c.empty("cFree" + std::to_string(i));
        for (const char* f :
             {"fQuantity", "iCurQuantity", "fInquantity", "iTookQuantity", "iInvalidQuantity",
              "dStartDate", "dEndDate", "citemName", "citemcode", "cItem_Name", "citem_Class",
              "fNum", "iCurNum", "fTookNum", "iInvalidNum"}) {
          c.empty(f);
        }
        for (int i = 22; i <= 37; ++i) c.empty("cdefine" + std::to_string(i));
      } else {
        c.empty("selcol")
            .add("OM_POMain.MainID", "mainid")
            .add("OM_POMain.cInvCode", "cinvcode")
            .add("Inventory.cInvName", "cinvname")
            .range("OM_POMain.cFree", 1, 10, "cfree", 1)
            .add("OM_POMain.fQuantity", "fquantity")
            .empty("icurquantity")
            .add("OM_POMain.fInQuantity", "finquantity")
            .add("OM_POMain.iTookQuantity", "itookquantity")
            .add("OM_POMain.iInvalidQuantity", "iinvalidquantity")
            .add("OM_POMain.dStartDate", "dstartdate")
            .add("OM_POMain.dEndDate", "denddate")
            .add("OM_POMain.cItemName", "citemname")
            .add("OM_POMain.cItemCode", "citemcode")
            .add("fitem.cItem_Name", "citem_name")
            .add("OM_POMain.cItem_class", "citem_class")
            .add("OM_POMain.fNum", "fnum")
            .empty("icurnum")
            .add("OM_POMain.fInNum", "finnum")
            .add("OM_POMain.fTookNum", "ftooknum")
            .add("OM_POMain.iInvalidNum", "iinvalidnum")
            .range("OM_POMain.cDefine", 22, 37, "cdefine", 22)
            .range("Inventory.cInvDefine", 1, 16, "cinvdefine", 1);
      }
      break;
  }
  return c.text("select ");
}

}  // namespace quillon::dialogs::ww_produce_order
