#include "app/QtPrompter.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

// What the file dialog showed, read while it is open; it is then cancelled.
struct SeenDialog {
    QString title;
    QStringList filters;
    QString folder;
    QString suffix;
    QStringList selected;
};

TEST(QtPrompter, FileDialogsShowTheRequestedFilterFolderAndName) {
    test::TempDir dir;
    FileDialogRequest request;
    request.title = "Save A VoteMap List...";
    request.filterName = "VoteMap List (*.VML)";
    request.filterPattern = "*.VML";
    request.initialFolder = dir.Path().string() + "/";
    request.initialName = "default.VML";
    request.defaultExtension = ".VML";

    QtPrompter prompter;
    SeenDialog seen;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->directory().path(),
                    dialog->defaultSuffix(), dialog->selectedFiles()};
            dialog->reject();
        }
    });
    EXPECT_EQ(prompter.ChooseFileToSave(request), std::nullopt);
    EXPECT_EQ(seen.title, "Save A VoteMap List...");
    EXPECT_EQ(seen.filters, QStringList{"VoteMap List (*.VML)"});
    EXPECT_EQ(seen.folder, QString::fromStdString(dir.Path().string()));
    EXPECT_EQ(seen.suffix, "VML");
    ASSERT_EQ(seen.selected.size(), 1);
    EXPECT_TRUE(seen.selected.front().endsWith("/default.VML"));

    request.filterName = "Text files";
    request.filterPattern = "*.txt";
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            seen.filters = dialog->nameFilters();
            dialog->reject();
        }
    });
    EXPECT_EQ(prompter.ChooseFileToOpen(request), std::nullopt);
    EXPECT_EQ(seen.filters, QStringList{"Text files (*.txt)"});
}

} // namespace
} // namespace ballotine
