#pragma once
// The pictures of the state numbers that result trees show ("|NN|" titles),
// check items among them. The stored numbers stay as reports hold them; the
// control's state image n + 1 shows number n, because the control never
// draws state image 0 and number 0 is a checked box.

#include <windows.h>
#include <commctrl.h>

#include <string_view>

namespace kavlo::ui {

/// The state image list: placeholder, then one picture per stored number.
HIMAGELIST LoadStateImages();
/// The control's state image for a stored number; 0 (none) without a state field.
int StateImageOf(bool hasState, int storedNumber);
/// What a state image means, for the tool tip; empty when it means nothing of note.
std::wstring_view StateLegend(int stateImage);

}  // namespace kavlo::ui
