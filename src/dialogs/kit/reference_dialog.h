// ReferenceDialog: the shell of every dialog through which a public class lets the user pick
// source rows and hands them back. It holds the public members the owner sets before showing it
// (the filter text, the connection, the owner itself), reaches the owner late-bound as the
// owner's class is reached (a property read, its "oCollection" set on OK and cleared on cancel),
// reads the chosen rows again on OK, refusing rows that changed since they were listed, and
// refuses an OK with nothing chosen.
//
// It owns the steps every such dialog takes alike (a template, as Form_Load shows):
//   - the filter fields with their one lookup button (filterField, bindFilterFields): their kinds,
//   the button
//     kept out of the tab order and hidden while no field has the focus, F2 and the key filter
//     (the dialog's KeyDown and KeyPress);
//   - OK and cancel (bindButtons): Enter presses one and Esc the other; cancel hands the owner
//     Nothing and unloads, unless the dialog cancels otherwise;
//   - loading: the session must be open, the dialog loads what is its own (loadDialog), the
//     lookup button hides and the account's dialog style applies;
//   - the list pop-up menus a right click opens;
//   - the filter a person last used: the filter fields are remembered per user and dialog each
//     time the filter runs (rememberFilter) and restored as the dialog loads, where a person works
//     it (forms::UiHost::remembersFilters); a clear button (bindClearFilter) empties them;
//   - the head-number column of line lists that mix the lines of several heads (bindHeadNumbers):
//     the pop-up menus' item that hides or shows it, remembered per user and dialog for a person.
// A dialog adds its controls, its filter, its queries, its rules and messages, and OK.
#pragma once

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "automation/dispatch.h"
#include "forms/dialog_shell.h"
#include "module/lookup_fields.h"

namespace quillon::ado {
class Connection;
class Recordset;
}  // namespace quillon::ado
namespace quillon::automation {
class Collection;
}
namespace quillon::forms {
class CommandButton;
class Control;
class CorvidXTabStrip;
class Menu;
class RowLabels;
class TextBox;
}  // namespace quillon::forms

namespace quillon::dialogs::kit {

class ReferenceDialog : public forms::DialogShell {
 public:
  ~ReferenceDialog() override;

  const std::string& filterText() const { return filter_; }
  // The owner's filter, a condition the dialog's queries join to theirs: one expression
  // (sql::checkCondition), else refused with that error and the filter stays as it was.
  void setFilterText(std::string filter);
  const std::shared_ptr<ado::Connection>& connection() const { return conn_; }
  void setConnection(std::shared_ptr<ado::Connection> conn) { conn_ = std::move(conn); }
  void setOwner(const automation::ObjectPtr& owner) { owner_ = owner; }

 protected:
  ReferenceDialog(std::string name, std::string caption, int width, int height,
                  forms::HandlerErrors handlerErrors);

  // Declares a filter field as the form file does, with its kind: the Tag its lookup goes by
  // ("rfdate", "rfvendor", "rfnull": no list).
  forms::TextBox& filterField(std::string name, forms::Geometry geometry, std::string_view kind);
  // Wires the filter fields to the dialog's one lookup button (their lookups store the chosen codes
  // and show the names); with `textTips` a field shows its whole text as its tool tip.
  void bindFilterFields(forms::CommandButton& lookupButton, bool textTips = false);
  module::LookupFields& lookupFields();
  // A field declared with filterField that is no part of the filter (the date a voucher gets): it
  // is neither remembered nor cleared.
  void leaveOutOfFilter(forms::TextBox& field);
  // The filter runs: where a person works the dialog, what the filter fields hold (text and the
  // codes their lookups stored) is kept for the user and dialog.
  void rememberFilter();
  // `clear`'s click empties the filter fields (text and codes) and forgets the remembered filter.
  void bindClearFilter(forms::CommandButton& clear);
  void clearFilter();
  // OK and cancel: Enter presses `ok`, Esc `cancel`; their clicks run okClicked (under `okPolicy`,
  // else the dialog's policy) and cancelClicked.
  void bindButtons(forms::CommandButton& ok, forms::CommandButton& cancel,
                   std::optional<forms::HandlerErrors> okPolicy = std::nullopt);
  virtual void okClicked() = 0;
  // Hands the owner Nothing and unloads.
  virtual void cancelClicked();
  // `menu` is a pop-up menu, hidden from the menu bar, that a right click on `list` opens.
  void popupMenuOn(forms::Control& list, forms::Menu& menu);

  // Line lists that mix the lines of several heads show beside each line the number of its head, a
  // column of the view alone (forms::RowLabels; the dialog sets its caption and the labels). Each
  // of `menus` gets an item, "显示" and the column's caption, checked while the column shows; it
  // hides or shows the column in all of `lists`. A person finds the column as he last left it in
  // this dialog; a scripted run always starts with it shown and keeps nothing.
  void bindHeadNumbers(std::initializer_list<forms::Menu*> menus,
                       std::vector<forms::RowLabels*> lists);
  // The lists' column captions changed: the items take the first list's caption, and hide while no
  // list has the column.
  void headNumbersCaptioned();
  void showHeadNumbers(bool on, bool remember);

  // Checks that the session is open, runs loadDialog, hides the lookup button and applies the
  // account's dialog style.
  void Form_Load() override;
  virtual void loadDialog() = 0;
  // F2 on a filter field opens its lookup.
  void Form_KeyDown(int& KeyCode, int Shift) override;
  // Characters that would break a statement never reach a field.
  void Form_KeyPress(int& KeyAscii) override;

  // The connection as the suite's services take it: they may hand another one back.
  std::shared_ptr<ado::Connection>& connectionRef() { return conn_; }

  // A property of the owner; nothing while the dialog has no owner.
  std::optional<automation::Variant> ownerProperty(std::string_view name) const;
  // The owner's eVouchType, or the module's voucher type without an owner.
  int ownerVouchType() const;
  // The owner's oCollection becomes `results`: the collection on OK, Nothing (null) on cancel.
  void handToOwner(const std::shared_ptr<automation::Collection>& results);
  // The same with a collection of `items` under their keys, in order; an item whose value is
  // Nothing (a level OK does not return) is left out.
  void handToOwner(std::initializer_list<std::pair<std::string_view, automation::Variant>> items);
  // A recordset as an item of OK's collection.
  static automation::Variant item(const std::shared_ptr<ado::Recordset>& rs);

  // The chosen rows read again by `statement` on the dialog's connection (the text is kept in
  // gSQL); null, after the stale-rows prompt, when it finds none.
  std::shared_ptr<ado::Recordset> reReadChosen(const std::string& statement);
  // The same with `level`'s own source narrowed to `condition` (NarrowedSource).
  std::shared_ptr<ado::Recordset> reReadChosen(const ado::Recordset& level,
                                               std::string_view condition);

  // Refuses OK with "请选择" + `what` + "！".
  void refuseNothingChosen(std::string_view what);
  // The same for the list on a tab, named by the tab's caption; the tab comes to the front.
  void refuseNothingChosen(forms::CorvidXTabStrip& tabs, int tab);

 private:
  std::string filter_;
  std::shared_ptr<ado::Connection> conn_;
  std::weak_ptr<automation::Object> owner_;
  // The filter a person last used back in the fields (Form_Load, after loadDialog set its
  // defaults); nothing when none is remembered.
  void restoreFilter();
  std::vector<forms::TextBox*> filterFields_;
  std::vector<forms::TextBox*> notFilter_;
  forms::CommandButton* lookupButton_ = nullptr;
  std::optional<module::LookupFields> lookupFields_;
  std::vector<forms::Menu*> headNumberItems_;
  std::vector<forms::RowLabels*> headNumberLists_;
  // The head-number column as the person last left it (Form_Load, after loadDialog).
  void restoreHeadNumbers();
};

}  // namespace quillon::dialogs::kit
