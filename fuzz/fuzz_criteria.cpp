// Recordset criteria: any Filter or Find text is applied or refused with ComError 3001, never a
// crash; a refused Filter leaves the view as it was (filter, rows and position); an accepted one
// keeps its meaning in parentheses and joined with itself by AND or OR.
#include <memory>
#include <string>

#include "ado/criteria.h"
#include "ado/data_type.h"
#include "ado/recordset.h"
#include "automation/com_error.h"
#include "fuzz_input.h"

namespace {

using quillon::automation::Variant;

std::shared_ptr<quillon::ado::Recordset> sample() {
  using namespace quillon::ado;
  auto rs = Recordset::fabricate({{"cInvCode", adVarWChar},
                                  {"存货名称", adVarWChar},
                                  {"iQuantity", adDouble},
                                  {"AutoID", adInteger},
                                  {"bFlag", adBoolean},
                                  {"dDate", adDate}});
  const char* codes[] = {"A001", "b'2", "", "C%3", "中文"};
  for (int i = 0; i < 5; ++i) {
    rs->addNew();
    rs->setValue(Variant("cInvCode"), Variant(codes[i]));
    rs->setValue(Variant("存货名称"),
                 i == 2 ? Variant::null() : Variant(std::string(codes[i]) + " x"));
    rs->setValue(Variant("iQuantity"), Variant(i * 2.5 - 3));
    rs->setValue(Variant("AutoID"), Variant(std::int32_t{i + 1}));
    rs->setValue(Variant("bFlag"), Variant(i % 2 == 0));
    rs->setValue(Variant("dDate"), Variant(quillon::automation::DateValue{46000.0 + i}));
    rs->update();
  }
  return rs;
}

// The AutoIDs the filter shows, or "refused".
std::string rowsOf(quillon::ado::Recordset& rs, const std::string& filter) {
  try {
    rs.setFilter(Variant(filter));
  } catch (const quillon::automation::ComError&) {
    return "refused";
  }
  std::string ids;
  if (rs.bof() && rs.eof()) return ids;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) ids += rs.value("AutoID").toString() + ",";
  return ids;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillon;
  const auto parts = fuzz::twoParts(fuzz::textOf(data, size));
  const std::string_view criteria = parts.first;
  const std::string_view find = parts.second;
  static const auto rs = sample();
  rs->setFilter(Variant("AutoID > 1"));
  rs->moveFirst();
  rs->moveNext();
  const std::int32_t shown = rs->recordCount();
  const Variant position = rs->value("AutoID");
  bool accepted = true;
  try {
    rs->setFilter(Variant(std::string(criteria)));
  } catch (const automation::ComError& e) {
    accepted = false;
    fuzz::check(e.number() == 3001, "a refused filter is error 3001", e.description());
    fuzz::check(rs->filter() == Variant("AutoID > 1") && rs->recordCount() == shown &&
                    rs->value("AutoID") == position,
                "a refused filter leaves the view as it was", criteria);
  }
  const std::string c(criteria);
  if (accepted && c.find_first_not_of(" \t\r\n") != std::string::npos) {
    const std::string rows = rowsOf(*rs, c);
    fuzz::check(rows != "refused", "an accepted filter is accepted again", c);
    const std::string grouped = rowsOf(*rs, "(" + c + ")");
    if (grouped != "refused") fuzz::check(grouped == rows, "parentheses keep the meaning", c);
    const std::string both = rowsOf(*rs, "(" + c + ") and (" + c + ")");
    if (both != "refused") fuzz::check(both == rows, "c AND c is c", c);
    const std::string either = rowsOf(*rs, "(" + c + ") or (" + c + ")");
    if (either != "refused") fuzz::check(either == rows, "c OR c is c", c);
  }
  try {
    rs->setFilter(Variant());
    rs->moveFirst();
    rs->find(find);
  } catch (const automation::ComError& e) {
    fuzz::check(e.number() == 3001, "a refused Find is error 3001", e.description());
  }
  return 0;
}
