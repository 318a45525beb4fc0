// What the main screen's layout (main_screen_layout_form.cpp) and its handlers and engine
// screen (main_screen_form.cpp) both need to know.
#pragma once

#include "view/view_screen.h"

// Places of the paint boxes: their panel in the client area, then the box in the panel.
inline constexpr PaintBoxPlace kMainMapPlace{0, 39, 1, 1, 575, 287};
inline constexpr PaintBoxPlace kGlobePlace{584, 39, 1, 1, 207, 151};
