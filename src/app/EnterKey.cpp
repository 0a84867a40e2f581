#include "app/EnterKey.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace ballotine {

namespace {

bool IsPlainEnter(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    return modifiers == Qt::NoModifier &&
           (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter);
}

// Sits on the dialog: an Enter that no control took arrives here.
class EnterFilter final : public QObject {
public:
    explicit EnterFilter(QDialog& dialog) : QObject(&dialog), m_dialog(dialog) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_dialog || event->type() != QEvent::KeyPress ||
            !IsPlainEnter(*static_cast<QKeyEvent*>(event))) {
            return false;
        }
        auto* button = qobject_cast<QPushButton*>(m_dialog.focusWidget());
        if (button != nullptr && button->isEnabled() && button->window() == &m_dialog) {
            button->click();
        }
        return true; // never the dialog's own default action
    }

private:
    QDialog& m_dialog;
};

} // namespace

void LetEnterActOnlyOnFocusedButton(QDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    dialog.installEventFilter(new EnterFilter(dialog));
}

} // namespace ballotine
