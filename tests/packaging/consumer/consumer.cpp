// Another project's C++ program on the installed public headers: the class registry, late-bound
// calls, variants, a collection and a recordset of a query on an account.
#include <ado/connection.h>
#include <ado/recordset.h>
#include <automation/class_registry.h>
#include <automation/collection.h>
#include <automation/com_error.h>
#include <automation/variant.h>
#include <classes/public_classes.h>
#include <components/suite/login.h>

#include <iostream>
#include <memory>

namespace automation = quillon::automation;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  try {
    quillon::classes::registerAllClasses(automation::classRegistry());
    automation::ObjectPtr coll = automation::CreateObject("Collection");
    coll->call("Add", {automation::Variant("first"), automation::Variant("k")});
    coll->call("Add", {automation::Variant(2)});
    std::cout << "count " << coll->get("Count").toLong() << ", item k "
              << coll->call("Item", {automation::Variant("k")}).toString() << '\n';

    auto login = quillon::components::suite::Login::open(argv[1], "demo");
    auto connection = std::make_shared<quillon::ado::Connection>();
    connection->open(login->connectionText());
    quillon::ado::Recordset rs;
    rs.open("SELECT COUNT(*) AS n FROM Inventory", connection);
    std::cout << "items " << rs.value("n").toLong() << '\n';
    try {
      automation::CreateObject("No.Such.Class");
    } catch (const automation::ComError& e) {
      std::cout << "error " << e.number() << '\n';
    }
  } catch (const automation::ComError& e) {
    std::cerr << "consumer_cxx: error " << e.number() << ": " << e.description() << '\n';
    return 1;
  }
  return 0;
}
