#pragma once
// The common-controls library is loaded when something first needs it: the shadow of the first
// tip, the options or the comparison of tariffs. A telvane that waits in the notification area
// does without it.

// Whether the tip window may cast a shadow (dropShadowAvailable), found once.
void checkDropShadow();

// Initialises the common controls once; false with AppError set when the system refuses them.
bool prepareCommonControls();
