#include "forms/scope_guard.h"

#include "forms/constants.h"
#include "forms/form.h"
#include "forms/super_grid.h"

namespace quillon::forms {

ScopeGuard busyPointer(Form& form) {
  form.setMousePointer(vbArrowHourglass);
  return ScopeGuard([&form] { form.setMousePointer(vbDefault); });
}

ScopeGuard redrawPaused(MsSuperGrid& grid) {
  grid.setRedraw(false);
  return ScopeGuard([&grid] { grid.setRedraw(true); });
}

}  // namespace quillon::forms
