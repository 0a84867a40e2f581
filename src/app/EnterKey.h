#pragma once

class QDialog;

namespace ballotine {

// Enter acts only on the push button that has the keyboard focus. Anywhere else (a list, a
// slider, a check box, a text field) it does nothing, so it can never close the window by
// surprise, and no button is drawn as the dialog's default. Call once the dialog's buttons
// exist; Escape keeps its meaning.
void LetEnterActOnlyOnFocusedButton(QDialog& dialog);

} // namespace ballotine
