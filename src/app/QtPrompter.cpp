#include "app/QtPrompter.h"

#include "app/DisplayText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace ballotine {

namespace {

const QString kCaption = QStringLiteral("Ballotine");

// Qt's filter notation: the shown name with the pattern in parentheses. A name that already
// shows its pattern, as "VoteMap List (*.VML)" does, is taken as it is.
QString FilterText(const FileDialogRequest& request) {
    const QString name = ToDisplayText(request.filterName);
    const QString pattern = ToDisplayText(request.filterPattern);
    if (name.endsWith(QStringLiteral("(") + pattern + QStringLiteral(")"))) {
        return name;
    }
    return name + QStringLiteral(" (") + pattern + QStringLiteral(")");
}

// A name typed without an extension gets the request's, when opening as when saving.
void SetDefaultSuffix(QFileDialog& dialog, const FileDialogRequest& request) {
    QString suffix = ToDisplayText(request.defaultExtension);
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
}

} // namespace

void QtPrompter::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, kCaption, ToDisplayText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::AskYesNo(std::string_view question) {
    return Ask(question, true);
}

bool QtPrompter::AskBeforeAbandoning(std::string_view question) {
    return Ask(question, false);
}

bool QtPrompter::Ask(std::string_view question, bool yesOnEnter) {
    QMessageBox box(QMessageBox::Question, kCaption, ToDisplayText(question),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    box.setDefaultButton(yesOnEnter ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::ChooseFileToOpen(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, ToDisplayText(request.title), ToDisplayText(request.initialFolder),
                       FilterText(request));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    SetDefaultSuffix(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return FromDisplayText(dialog.selectedFiles().constFirst());
}

std::optional<std::string> QtPrompter::ChooseFileToSave(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, ToDisplayText(request.title), ToDisplayText(request.initialFolder),
                       FilterText(request));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    SetDefaultSuffix(dialog, request);
    if (!request.initialName.empty()) {
        dialog.selectFile(ToDisplayText(request.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return FromDisplayText(dialog.selectedFiles().constFirst());
}

void QtPrompter::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

} // namespace ballotine
