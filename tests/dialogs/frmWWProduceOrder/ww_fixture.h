// Shared set-up of the outsourced-order dialog tests: the scale-1 demo account with every class
// registered (tests/support), the field lists of its column sets, and the keys a statement returns.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>

#include "dialogs/frmWWProduceOrder/ww_produce_order_queries.h"

namespace quillon::ado {
class Connection;
}

namespace quillon::dialogs::ww_testing {

// The shared demo account (every class registered first), a private copy for a test that writes,
// and a connection on either.
const std::string& demoPath();
std::string demoCopy(const std::string& name);
std::shared_ptr<ado::Connection> connect(const std::string& path = demoPath());

// The field list of a column set as the user sees it.
std::string fieldsOf(const std::shared_ptr<ado::Connection>& conn, std::string_view table,
                     const std::string& user = "demo");

// The demo account's decimals.
inline const ww_produce_order::Digits kDigits{"2", "2"};

// The values of an integer field over the rows of a statement.
std::set<int> keysOf(const std::shared_ptr<ado::Connection>& conn, const std::string& sql,
                     const char* field);
int rowCount(const std::shared_ptr<ado::Connection>& conn, const std::string& sql);

}  // namespace quillon::dialogs::ww_testing
