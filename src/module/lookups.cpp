#include "module/lookups.h"

#include <memory>
#include <optional>
#include <vector>

#include "ado/fields.h"
#include "ado/recordset.h"
#include "ado/recordset_view.h"
#include "automation/com_error.h"
#include "automation/error_info.h"
#include "automation/vb_format.h"
#include "automation/vb_runtime.h"
#include "automation/vb_strings.h"
#include "components/archive.h"
#include "components/marlin_login.h"
#include "components/registration.h"
#include "components/session_context.h"
#include "forms/buttons.h"
#include "forms/form.h"
#include "forms/recordset_rows.h"
#include "forms/scope_guard.h"
#include "forms/text_box.h"
#include "forms/ui_host.h"
#include "module/module_state.h"
#include "sql/sql_text.h"

namespace quillon::module {

using forms::ScopeGuard;

namespace {

constexpr int kDatePicture = 1108;
constexpr int kLookupPicture = 219;

struct RecordKind {
  std::string_view tag;
  components::ArchiveKind archive;
  std::string_view permissionKind;
  std::string_view table;
  std::string_view codeField;
  std::string_view nameField;
};

constexpr RecordKind kRecordKinds[] = {
    {"rfinventory", components::ArchiveKind::Inventory, "inventory", "Inventory", "cInvCode",
     "cInvName"},
    {"rfwarehouse", components::ArchiveKind::Warehouse, "warehouse", "Warehouse", "cWhCode",
     "cWhName"},
    {"rfcustomer", components::ArchiveKind::Customer, "customer", "Customer", "cCusCode",
     "cCusName"},
    {"rfdepartment", components::ArchiveKind::Department, "department", "department", "cDepCode",
     "cDepName"},
    {"rfperson", components::ArchiveKind::Person, "person", "Person", "cPersonCode", "cPersonName"},
    {"rfvendor", components::ArchiveKind::Vendor, "vendor", "Vendor", "cVenCode", "cVenName"},
};

const RecordKind* recordKindOf(const std::string& lowerTag) {
  for (const auto& kind : kRecordKinds) {
    if (kind.tag == lowerTag) return &kind;
  }
  return nullptr;
}

std::string tagOf(const forms::TextBox& field) {
  return automation::LCase(field.Tag());
}

components::SessionContext& context() {
  if (!gContext) {
    throw automation::ComError::objectNotSet();
  }
  return *gContext;
}

// The typed text matches anywhere in the code or the name; it is one literal, so whatever it
// holds, the permission clause appended after the query still applies.
std::string lookupQuery(const RecordKind& kind, const std::string& typed) {
  using components::ArchiveKind;
  const std::string t = sql::literal("%" + typed + "%");
  switch (kind.archive) {
    case ArchiveKind::Inventory:
      return "SELECT * FROM Inventory WHERE (cInvCode LIKE " + t + " OR cInvAddCode LIKE " + t +
             " OR cInvName LIKE " + t + ")";
    case ArchiveKind::Warehouse:
      return "SELECT * FROM Warehouse WHERE (cWhCode LIKE " + t + " OR cWhName LIKE " + t + ")";
    case ArchiveKind::Customer:
      return "SELECT * FROM Customer WHERE (cCusCode LIKE " + t + " OR cCusName LIKE " + t + ")";
    case ArchiveKind::Department:
      return "SELECT * FROM department WHERE bdepend = 1 AND (cDepcode LIKE " + t +
             " OR cDepName LIKE " + t + ")";
    case ArchiveKind::Person:
      return "SELECT * FROM Person WHERE (cPersoncode LIKE " + t + " OR cPersonName LIKE " + t +
             ")";
    case ArchiveKind::Vendor:
      return "SELECT * FROM Vendor WHERE (cVencode LIKE " + t + " OR cVenName LIKE " + t + ")";
  }
  return {};
}

std::string permissionPart(const RecordKind& kind, const std::string& list) {
  if (list.empty()) return {};
  using components::ArchiveKind;
  switch (kind.archive) {
    case ArchiveKind::Inventory:
      return " AND iID IN(" + list + ")";
    case ArchiveKind::Warehouse:
      return " AND cWhCode IN(" + list + ")";
    case ArchiveKind::Customer:
      return " AND cCusCode IN(" + list + ")";
    case ArchiveKind::Department:
      return " AND cDepcode IN(" + list + ")";
    case ArchiveKind::Person:
      return " AND cPersoncode IN(" + list + ")";
    case ArchiveKind::Vendor:
      return " AND cVencode IN(" + list + ")";
  }
  return {};
}

void focusBack(forms::TextBox& field) {
  if (field.form() != nullptr && field.isReachable() && !field.hasFocus()) field.SetFocus();
}

void selectAll(forms::TextBox& field) {
  field.setSelStart(0);
  field.setSelLength(automation::Len(field.Text()));
}

// The date picked in the calendar, written back in the dialogs' date form.
bool lookUpDate(forms::TextBox& field) {
  forms::CalendarRequest request;
  if (const auto current = forms::parseIsoDate(field.Text())) {
    request.initial = *current;
  } else if (const auto login = gContext ? gContext->login() : nullptr) {
    // An empty field opens on the session's date (the voucher's), not on the machine's.
    request.initial = login->loginDate();
  }
  const auto chosen = forms::currentUiHost().calendar(request);
  if (!chosen) return false;
  field.setText(automation::Format(automation::Variant(*chosen), "YYYY-MM-DD"));
  if (field.Visible() && field.Enabled()) focusBack(field);
  return true;
}

bool lookUpRecord(const RecordKind& kind, const automation::Variant& callerContext,
                  forms::TextBox& field, LookupCodes codesTo) {
  auto& session = context();
  const std::string list = session.permissionList(kind.permissionKind, "", "");
  const std::string query = lookupQuery(kind, field.Text()) + permissionPart(kind, list);
  (void)callerContext;  // the suite's list keeps the caller's context for its own settings
  const std::vector<LookupRow> chosen =
      ChooseFromLookup(query, std::string(components::archiveCaption(kind.archive)),
                       std::string(kind.table), kind.codeField, kind.nameField, true);
  if (chosen.empty()) return false;

  std::string names;
  std::string codes;
  for (const LookupRow& row : chosen) {
    names += row.name + ",";
    codes += row.code + ",";
  }
  names.pop_back();
  codes.pop_back();

  field.setText(names);
  if (codesTo == LookupCodes::IntoLinkItem) field.setLinkItem(codes);
  setLastReferText(names);
  if (field.Visible() && field.Enabled()) focusBack(field);
  return true;
}

}  // namespace

std::vector<LookupRow> ChooseFromLookup(const std::string& query, std::string title,
                                        std::string table, std::string_view codeField,
                                        std::string_view nameField, bool multiSelect) {
  auto& session = context();
  auto rs = std::make_shared<ado::Recordset>();
  rs->open(automation::Variant(query),
           automation::Variant(automation::ObjectPtr(session.connection())), ado::adOpenStatic,
           ado::adLockReadOnly);
  const ScopeGuard closeAtEnd([&rs] {
    if (rs->isOpen()) rs->close();
  });
  if (!rs->isOpen()) return {};

  // The list reads the rows where they are, so the recordset's position is not disturbed.
  const forms::RecordsetRows rows{ado::RecordsetView(*rs)};
  forms::LookupRequest request;
  request.query = query;
  request.title = std::move(title);
  request.table = std::move(table);
  request.multiSelect = multiSelect;
  request.rows = &rows;
  const auto chosen = forms::currentUiHost().lookupList(request);
  if (!chosen) return {};

  const ado::RecordsetView& view = rows.view();
  const auto code = view.fieldIndex(codeField);
  const auto name = view.fieldIndex(nameField);
  std::vector<LookupRow> out;
  for (const int row : *chosen) {
    if (row < 1 || row > view.rowCount()) continue;
    LookupRow picked;
    if (code) picked.code = view.value(row - 1, *code).displayText();
    if (name) picked.name = view.value(row - 1, *name).displayText();
    out.push_back(std::move(picked));
    if (!multiSelect) break;
  }
  return out;
}

std::string RecordColumn(std::string_view tag, std::string_view code, std::string_view column) {
  const auto* kind = recordKindOf(automation::LCase(tag));
  if (kind == nullptr || code.empty()) return {};
  auto archive =
      components::createAs<components::Archive>(components::archiveProgId(kind->archive));
  auto item =
      components::createAs<components::ArchiveItem>(components::archiveItemProgId(kind->archive));
  archive->setLogin(gContext);
  if (!archive->load(code, *item, true, false)) return {};
  return item->column(column).displayText();
}

std::string LookupQuery(std::string_view tag, const std::string& typed,
                        const std::string& permitted) {
  const auto* kind = recordKindOf(automation::LCase(tag));
  if (kind == nullptr) return {};
  return lookupQuery(*kind, typed) + permissionPart(*kind, permitted);
}

bool PlaceLookupButton(forms::TextBox& field, forms::CommandButton& button, std::string& errText) {
  const std::string tag = tagOf(field);
  if (tag == "rfnull") {
    button.setVisible(false);
    return false;
  }
  try {
    button.setPicture(tag == "rfdate" ? kDatePicture : kLookupPicture);
    button.setTag(field.Name());
    const int height = field.Height() - 60;
    const int width = height;
    // Inside the field: in the frame (or tab) the field stands in, where its place is measured.
    if (button.container() != field.container() || button.containerTab() != field.containerTab()) {
      button.setContainer(field.container(), field.containerTab());
    }
    button.Move(field.Left() + field.Width() - width - 30, field.Top() + 30, width, height);
    button.setVisible(true);
    return true;
  } catch (const automation::ComError& e) {
    errText = e.description();
    return false;
  }
}

bool OpenLookup(const automation::Variant& callerContext, forms::TextBox& field,
                forms::CommandButton& button, LookupCodes codes, std::string& errText) {
  if (!button.Visible()) return false;
  const std::string tag = tagOf(field);
  try {
    if (tag == "rfdate") return lookUpDate(field);
    if (const auto* kind = recordKindOf(tag))
      return lookUpRecord(*kind, callerContext, field, codes);
    return false;
  } catch (const automation::ComError& e) {
    errText = e.description();
    return false;
  }
}

bool CheckEntry(forms::TextBox& field, std::string& errText, bool wantNames) {
  if (field.Text().empty()) {
    field.setLinkItem("");
    return true;
  }
  const std::string tag = tagOf(field);
  if (tag == "rfdate") {
    if (automation::IsDate(automation::Variant(field.Text()))) return true;
    errText = std::string(kDateFormatMessage);
    focusBack(field);
    selectAll(field);
    return false;
  }
  const auto* kind = recordKindOf(tag);
  if (kind == nullptr) return true;

  try {
    auto archive =
        components::createAs<components::Archive>(components::archiveProgId(kind->archive));
    auto item =
        components::createAs<components::ArchiveItem>(components::archiveItemProgId(kind->archive));
    archive->setLogin(gContext);
    const bool endLevelOnly = kind->archive == components::ArchiveKind::Department;
    if (archive->load(field.Text(), *item, true, true, endLevelOnly)) {
      const std::string display = wantNames ? item->name() : item->id();
      field.setLinkItem(item->id());
      field.setText(display);
      return true;
    }
  } catch (const automation::ComError& e) {
    // A missing archive component or a failing database refuses the entry like an unknown code.
    gErrInfo->setLookupMessage(e.description());
  }
  errText = gErrInfo->lookupMessage();
  focusBack(field);
  selectAll(field);
  return false;
}

void ValidateDateField(forms::TextBox& field, bool& cancel) {
  if (field.Text().empty() || automation::IsDate(automation::Variant(field.Text()))) return;
  forms::MsgBox(std::string(kDateFormatMessage), forms::vbCritical, std::string(kDateFormatTitle));
  selectAll(field);
  cancel = true;
}

}  // namespace quillon::module
