// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The window's behaviour: the Change handlers of the two locator fields, the
// Calculate and Exit commands. Written once, against the runtime operations
// of forms_runtime.h; each toolkit's window delivers its events here.

#include "forms_runtime.h"

#include <string>
#include <string_view>

namespace window {

enum class Event { Change, Click };

// Runs the handler of `event` on `control`, if the window has one: Change of
// Text3 and Text5, Click of Command1 and Command2. Every other event of every
// other control is ignored, so a runtime may deliver all of them.
void raise(FormsRuntime &form, std::string_view control, Event event);

// What the control `box` takes of a text the user types, pastes or drops
// into it. The locator fields take it in capitals, as their Change handlers
// would leave it: each runtime hands it over so, the handlers find nothing
// left to change, and the field's undo history stays as the user made it
// (both toolkits clear it when a field's whole text is assigned). Every
// other control takes the text as it is.
std::u16string enteredText(std::string_view box, std::u16string_view text);

void onLocator1Changed(FormsRuntime &form);
void onLocator2Changed(FormsRuntime &form);
void onCalculateClicked(FormsRuntime &form);
void onExitClicked(FormsRuntime &form);

} // namespace window
