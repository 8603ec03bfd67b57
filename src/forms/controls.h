// Every control of the forms layer, for form declarations.
#pragma once

#include "forms/buttons.h"
#include "forms/combo_box.h"
#include "forms/form.h"
#include "forms/list_view.h"
#include "forms/menu.h"
#include "forms/numeric_edit.h"
#include "forms/static_controls.h"
#include "forms/status_bar.h"
#include "forms/super_grid.h"
#include "forms/tab_strip.h"
#include "forms/text_box.h"
#include "forms/toolbar.h"
#include "forms/tree_view.h"
#include "forms/vouch_list.h"
