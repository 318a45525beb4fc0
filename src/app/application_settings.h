#pragma once

// The settings the program makes once its application object exists: its name, that the
// title screen (not the last window) decides when it ends, and the layout fonts.
//
// No display name is set: the window system would append it to every window's caption,
// and each screen's caption is to show exactly as the screen gives it.
void ApplyApplicationSettings();
