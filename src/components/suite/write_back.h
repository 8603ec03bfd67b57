// What the suite's write-back services share: running a write inside its own transaction (unless
// the caller holds one), refusals that leave the database as it was, and the quantity texts of
// their messages.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace quillon::ado {
class Connection;
}
namespace quillon::sql {
class Database;
}
namespace quillon::components {
class SessionContext;
}

namespace quillon::components::suite {

// Thrown by a write to refuse it with a text for the caller.
struct WriteRefusal {
  std::string text;
};

// Runs `work` on the connection's database and returns "" when it completed, or the refusal's
// text (or the failing statement's error text) after undoing what it wrote.
std::string runWriteBack(const std::shared_ptr<ado::Connection>& conn,
                         const std::function<void(sql::Database&)>& work);

// A quantity as its messages show it: at most six decimals, no trailing zeros.
std::string quantityText(double value);

// Who a write records as the closer of a line: the session's user name, else its user code, else
// "系统".
std::string closerName(const std::shared_ptr<SessionContext>& context);

// Issued quantities are compared with this tolerance, so rounding of stored decimals never
// refuses an exact issue.
inline constexpr double kQuantityTolerance = 1e-7;

}  // namespace quillon::components::suite
