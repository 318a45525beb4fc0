// Fatal failures of the world view: a modal message box, then the application is asked to
// end. Each returns false so that the failing operation can return at once.
#pragma once

#include <string>

#include "platform/gfx/result.h"
#include "platform/os/ui_shell.h"

inline bool FatalFailure(const std::string& text, const std::string& caption) {
    Shell().ShowMessage(text, caption);
    Shell().EndApplication();
    return false;
}

// The failure code's name as the text, under the caption naming the step.
inline bool FatalGfxFailure(gfx::Result code, const std::string& caption) {
    return FatalFailure(std::string(gfx::ErrorName(code)), caption);
}

inline constexpr const char* kFatalErrorCaption = "Fatal Error";
