#include "module/lookup_fields.h"

#include "automation/text_compare.h"
#include "forms/buttons.h"
#include "forms/dialog_shell.h"
#include "forms/text_box.h"
#include "module/text_helpers.h"

namespace quillon::module {

LookupFields::LookupFields(forms::DialogShell& dialog, forms::CommandButton& button,
                           LookupCodes codes, bool showNames)
    : dialog_(dialog), button_(button), codes_(codes), showNames_(showNames) {}

void LookupFields::bind(const std::vector<forms::TextBox*>& fields) {
  button_.Click =
      dialog_.handler([this] { openLookup(dialog_.find<forms::TextBox>(button_.Tag())); });
  for (forms::TextBox* field : fields) {
    field->GotFocus = dialog_.handler([this, field] { gotFocus(*field); });
    field->LostFocus = dialog_.handler([this, field] { lostFocus(*field); });
    if (automation::asciiLower(field->Tag()) == "rfdate") {
      field->Validate = [field](bool& cancel) { ValidateDateField(*field, cancel); };
    }
  }
}

void LookupFields::showColumn(forms::TextBox& field, std::string column) {
  shownColumns_.emplace_back(&field, std::move(column));
}

void LookupFields::keyDown(int& keyCode) {
  if (keyCode != forms::vbKeyF2 || !button_.Visible()) return;
  auto* field = dynamic_cast<forms::TextBox*>(dialog_.ActiveControl());
  dialog_.runHandler([&] { openLookup(field); });
  keyCode = 0;
}

void LookupFields::keyPress(int& keyAscii) {
  FilterKeyAscii(keyAscii);
}

std::string LookupFields::codeOf(const forms::TextBox& field) {
  return field.LinkItem().empty() ? field.Text() : field.LinkItem();
}

std::string LookupFields::columnOf(const forms::TextBox& field, std::string_view column) {
  if (field.LinkItem().empty()) return field.Text();
  const std::string found = RecordColumn(field.Tag(), field.LinkItem(), column);
  return found.empty() ? field.Text() : found;
}

void LookupFields::gotFocus(forms::TextBox& field) {
  std::string error;
  PlaceLookupButton(field, button_, error);
  report(error);
}

void LookupFields::lostFocus(forms::TextBox& field) {
  if (dialog_.ActiveControl() == &button_) return;
  button_.setVisible(false);
  std::string error;
  if (!CheckEntry(field, error, showNames_)) {
    dialog_.prompt(error);
    std::string ignored;  // the entry's own message has been shown already
    PlaceLookupButton(field, button_, ignored);
    return;
  }
  for (const auto& [shown, column] : shownColumns_) {
    if (shown != &field || field.LinkItem().empty()) continue;
    const std::string text = RecordColumn(field.Tag(), field.LinkItem(), column);
    if (!text.empty()) field.setText(text);
  }
}

void LookupFields::openLookup(forms::TextBox* field) {
  if (field == nullptr || !button_.Visible()) return;
  std::string error;
  OpenLookup(automation::Variant::nothing(), *field, button_, codes_, error);
  report(error);
}

void LookupFields::report(const std::string& error) {
  if (!error.empty()) dialog_.prompt(error);
}

}  // namespace quillon::module
