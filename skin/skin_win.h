// The skin-control toolkit as the rest of the program uses it.
#pragma once

#include "skin/control_base_win.h"
#include "skin/edit_box_win.h"
#include "skin/fonts_win.h"
#include "skin/image_button_win.h"
#include "skin/image_loading_win.h"
#include "skin/layered_surface_win.h"
#include "skin/load_dialog_win.h"
#include "skin/picture_box_win.h"
#include "skin/property_names.h"
#include "skin/toolkit_start_win.h"
