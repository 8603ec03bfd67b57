// ModuleCtl: everything the reference dialogs and public classes share, in one include — module
// state, session opening, settings, list column captions, filter-field lookups, list and text
// helpers, class-tree helpers.
#pragma once

#include "module/class_tree.h"
#include "module/list_columns.h"
#include "module/list_helpers.h"
#include "module/lookups.h"
#include "module/module_state.h"
#include "module/session.h"
#include "module/settings.h"
#include "module/text_helpers.h"
