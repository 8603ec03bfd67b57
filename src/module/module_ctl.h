// ModuleCtl: everything of the module the reference dialogs and public classes share, in one
// include — module state, session opening, settings, list column captions, filter fields and their
// lookups, list and text helpers, class-tree helpers. The reference-dialog protocol itself is the
// dialog kit's (src/dialogs/kit/).
#pragma once

#include "module/account_settings.h"
#include "module/class_tree.h"
#include "module/fill_grid.h"
#include "module/grid_records.h"
#include "module/list_columns.h"
#include "module/list_helpers.h"
#include "module/lookup_fields.h"
#include "module/lookups.h"
#include "module/module_state.h"
#include "module/reference_lists.h"
#include "module/session.h"
#include "module/settings.h"
#include "module/text_helpers.h"
#include "module/vouch_lists.h"
#include "module/warehouse_check.h"
