// DefineItemService: the captions and attributes of the account's user-defined fields (cdefine1..)
// and free items (cfree1..), kept by definition key ("01".."37").
//
// Use, as the column definitions of the lists do: the first object is given the session context,
// and GetDefine(key, second) fills the second object with the definition; its "Name" is the
// caption. An undefined key leaves the second object empty: Name "" and Defined False.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "automation/dispatch.h"
#include "components/session_context.h"

namespace quillon::components {

struct DefineItem {
  std::string key;
  std::string name;
  std::string type;  // "文本", "数值", "日期", ...
  int length = 0;
  std::string source;  // the table or archive the values come from, when there is one
};

class DefineItemService : public automation::Object {
 public:
  virtual void setContext(std::shared_ptr<SessionContext> context) = 0;
  virtual std::optional<DefineItem> lookup(std::string_view key) = 0;
  // Fills `target` with the definition of `key`; false (and target emptied) when undefined.
  virtual bool getDefine(std::string_view key, DefineItemService& target) = 0;
  // The definition this object was filled with; nullopt when empty.
  virtual const std::optional<DefineItem>& definition() const = 0;
  virtual void assign(std::optional<DefineItem> item) = 0;
};

// The definition key of a user-defined field or free item: "cdefine" N gives "01".."10" for
// N <= 10 and N as it is above; "cfree" N gives 20, 21 for N = 1, 2 and N + 25 above. Names are
// compared without regard to case; anything else gives nullopt.
std::optional<std::string> defineKeyOfField(std::string_view fieldName);

}  // namespace quillon::components
