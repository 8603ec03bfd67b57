// The stock reference the line-grid dialogs' pickers work through (dialogs/kit/stock_reference.h),
// provided by RefSelect: its selection dialog (Refer, AutoRefer) and its work-table members, called
// with the session's login. The classes that show the order and delivery-note dialogs hand one to
// each dialog they make.
#pragma once

#include <memory>

#include "dialogs/kit/stock_reference.h"

namespace quillon::classes {

// A new stock reference over a RefSelect of its own (kept for the dialog's life: the last
// selection dialog stays readable through it, as RefSelect keeps it).
std::shared_ptr<dialogs::kit::StockReference> NewStockReference();

}  // namespace quillon::classes
