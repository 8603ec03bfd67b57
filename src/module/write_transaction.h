// A piece of work done in a transaction of its own: committed when it returns, rolled back when it
// throws. On an account that holds the write lock for the whole transaction.
#pragma once

#include "ado/connection.h"

namespace quillon::module {

template <typename Work>
void inWriteTransaction(ado::Connection& connection, Work&& work) {
  connection.beginTrans();
  try {
    work();
    connection.commitTrans();
  } catch (...) {
    if (connection.inTransaction()) connection.rollbackTrans();
    throw;
  }
}

}  // namespace quillon::module
