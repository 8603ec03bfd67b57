#include "components/suite/write_back.h"

#include <cmath>
#include <cstdio>

#include "ado/connection.h"
#include "automation/com_error.h"
#include "components/session_context.h"

namespace quillon::components::suite {

std::string runWriteBack(const std::shared_ptr<ado::Connection>& conn,
                         const std::function<void(sql::Database&)>& work) {
  if (!conn || !conn->isOpen()) return "数据库连接未打开";
  const bool own = !conn->inTransaction();
  try {
    if (own) conn->beginTrans();
    work(conn->database());
    if (own) conn->commitTrans();
    return {};
  } catch (const WriteRefusal& refusal) {
    if (own && conn->inTransaction()) conn->rollbackTrans();
    return refusal.text;
  } catch (const automation::ComError& e) {
    if (own && conn->inTransaction()) conn->rollbackTrans();
    return e.description().empty() ? std::string("数据库错误") : e.description();
  }
}

std::string closerName(const std::shared_ptr<SessionContext>& context) {
  if (context) {
    if (auto login = context->login()) {
      if (!login->userName().empty()) return login->userName();
      if (!login->userId().empty()) return login->userId();
    }
  }
  return "系统";
}

std::string quantityText(double value) {
  if (std::fabs(value) < 5e-7) value = 0;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6f", value);
  std::string text = buffer;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace quillon::components::suite
