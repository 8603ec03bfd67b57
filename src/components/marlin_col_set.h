// MarlinColSet: the column set of one list of the outsourced-order dialog — which fields its
// statement reads, and how the list shows them. One object per list.
//
//  - initialise(firstText, secondText, connection): the login's two identifying texts (the user
//    code and the account key) and the account's connection; the set is read and saved there.
//  - bind(table): one of "OM_ProductPO", "qm_ncheckvoucher", "OM_POMain", "OM_PODetails"
//    (compared without regard to case). The set is read once here: the user's own set when he
//    has one, else the account default. Any other name, or a table without any set, raises
//    kErrBadArgument and leaves the object as it was.
//  - fieldList(): "expr AS name,expr AS name,..." in display order, every field of the set (hidden
//    ones included), exactly the same text until the set is bound or saved again.
//  - columnDefinitions(): the MarlinVouchList definition text of the same fields in the same
//    order: "name,caption,width" (width 0 for a hidden field) and, for a field with a number
//    format, the account's display format of quantities, pieces or exchange rates.
//  - showSettings(): the settings dialog of the UI host with the definitions; when the person
//    confirms, the edited order, captions, widths and visibility become the user's own set and
//    the object reads it again. Returns false when cancelled. An edited text that names a field
//    the set does not have, or names one twice, is refused (kErrBadArgument) and nothing is
//    saved; fields the text leaves out stay in the set, hidden, after the others. Expressions
//    and formats are never edited. Without a user (empty first text) nothing can be saved.
//  - keepWidth(field, width): a width the person dragged a column to becomes part of the user's
//    own set (made from the set as it stands when he has none yet); a field the set lacks, a
//    width below 1, or no user, keeps nothing.
// Calls before initialise and bind raise kErrBadArgument.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/dispatch.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::components {

inline constexpr std::string_view kMarlinColSetProgId = "Quillon.Suite.MarlinColSet";

class MarlinColSet : public automation::Object {
 public:
  virtual void initialise(std::string_view firstText, std::string_view secondText,
                          std::shared_ptr<ado::Connection> connection) = 0;
  virtual void bind(std::string_view tableName) = 0;
  // The table bound last, as the account spells it; "" before bind.
  virtual std::string tableName() const = 0;
  virtual std::string fieldList() const = 0;
  virtual std::string columnDefinitions() = 0;
  virtual bool showSettings() = 0;
  virtual void keepWidth(std::string_view field, int width) = 0;
};

}  // namespace quillon::components
