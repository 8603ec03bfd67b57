#include "classes/class_kit.h"

#include "automation/error_info.h"
#include "module/module_state.h"

namespace quillon::classes {

std::string trappedErrMsg(std::string_view prefix) {
  automation::trapCurrentException(*module::gErrInfo);
  return automation::trappedMessage(prefix, *module::gErrInfo);
}

bool trapInto(std::string_view prefix, std::string& ErrMsg, const std::function<bool()>& member,
              const std::function<void()>& onError) {
  try {
    return member();
  } catch (...) {
    ErrMsg = trappedErrMsg(prefix);
    if (onError) onError();
    return false;
  }
}

automation::Variant withErrMsg(automation::Args& a, std::size_t at,
                               const std::function<bool(std::string& ErrMsg)>& member,
                               std::optional<std::string_view> trapPrefix) {
  std::string err = a.str(at);
  bool ok = false;
  if (trapPrefix) {
    ok = trapInto(*trapPrefix, err, [&] { return member(err); });
  } else {
    ok = member(err);
  }
  a[at] = automation::Variant(err);
  return automation::Variant(ok);
}

}  // namespace quillon::classes
