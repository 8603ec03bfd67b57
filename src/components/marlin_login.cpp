#include "components/marlin_login.h"

#include "ado/connection.h"

namespace quillon::components {

std::shared_ptr<ado::Connection> MarlinLogin::deskConnection() {
  auto connection = std::make_shared<ado::Connection>();
  connection->open(connectionText(), "", "", ado::adOptionUnspecified);
  return connection;
}

}  // namespace quillon::components
