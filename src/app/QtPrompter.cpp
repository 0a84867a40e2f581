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

} // namespace

void QtPrompter::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, kCaption, ToDisplayText(text), QMessageBox::Ok, m_parent);
    box.exec();
}

bool QtPrompter::AskYesNo(std::string_view question) {
    QMessageBox box(QMessageBox::Question, kCaption, ToDisplayText(question),
                    QMessageBox::Yes | QMessageBox::No, m_parent);
    return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtPrompter::ChooseFileToOpen(const FileDialogRequest& request) {
    QFileDialog dialog(m_parent, ToDisplayText(request.title), ToDisplayText(request.initialFolder),
                       FilterText(request));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
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
    if (!request.defaultExtension.empty()) {
        QString suffix = ToDisplayText(request.defaultExtension);
        if (suffix.startsWith(QLatin1Char('.'))) {
            suffix.remove(0, 1);
        }
        dialog.setDefaultSuffix(suffix);
    }
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
