// The published properties of the framework's controls (for code that stores properties by
// name): position and size, visibility, hint, font, an edit's text, a memo's lines, a check
// box's state. Registered once, on the first call.
#pragma once

void RegisterControlProps();
