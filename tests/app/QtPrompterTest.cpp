#include "app/QtPrompter.h"

#include "support/TestFiles.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace ballotine {
namespace {

TEST(QtPrompter, FileDialogsShowTheRequestedFilterFolderAndName) {
    test::TempDir dir;
    FileDialogRequest request{"Save A VoteMap List...",  "VoteMap List (*.VML)", "*.VML",
                              dir.Path().string() + "/", "default.VML",          ".VML"};
    QStringList seen;
    const auto readAndCancel = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seen << dialog->windowTitle() << dialog->nameFilters() << dialog->directory().path()
             << dialog->defaultSuffix() << dialog->selectedFiles();
        dialog->reject();
    };
    QtPrompter prompter;
    QTimer::singleShot(0, readAndCancel);
    EXPECT_EQ(prompter.ChooseFileToSave(request), std::nullopt);
    const QString folder = QString::fromStdString(dir.Path().string());
    EXPECT_EQ(seen, QStringList({"Save A VoteMap List...", "VoteMap List (*.VML)", folder, "VML",
                                 folder + "/default.VML"}));

    request.filterName = "Text files";
    request.filterPattern = "*.txt";
    seen.clear();
    QTimer::singleShot(0, readAndCancel);
    EXPECT_EQ(prompter.ChooseFileToOpen(request), std::nullopt);
    EXPECT_EQ(seen.value(1), "Text files (*.txt)") << "the pattern joins a name without it";
}

// A name typed without an extension gets the list extension when loading, as when saving.
TEST(QtPrompter, TheOpenDialogAddsTheDefaultExtension) {
    test::TempDir dir;
    test::WriteFile(dir / "cup.VML", "VML Header V1.2\n");
    const FileDialogRequest request{"Select A VoteMap List...",
                                    "VoteMap List (*.VML)",
                                    "*.VML",
                                    dir.Path().string() + "/",
                                    "",
                                    ".VML"};
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QStringLiteral("cup"));
        // A refused name shows a warning over the dialog; both are closed then.
        QTimer::singleShot(100, dialog, [dialog] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "refused: " << box->text().toStdString();
                box->reject();
            }
            dialog->reject();
        });
        QTest::keyClick(name, Qt::Key_Return);
    });
    QtPrompter prompter;
    EXPECT_EQ(prompter.ChooseFileToOpen(request), (dir.Path() / "cup.VML").string());
}

// Enter answers Yes to an ordinary question and No to one whose Yes abandons work; Escape
// answers No to both.
TEST(QtPrompter, AbandoningQuestionsDefaultToNo) {
    const struct {
        bool abandoning;
        int key;
        bool expected;
    } cases[] = {
        {false, Qt::Key_Return, true},
        {true, Qt::Key_Return, false},
        {false, Qt::Key_Escape, false},
        {true, Qt::Key_Escape, false},
    };
    QtPrompter prompter;
    for (const auto& c : cases) {
        QTimer::singleShot(0, [&c] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, static_cast<Qt::Key>(c.key));
        });
        const bool answer =
            c.abandoning ? prompter.AskBeforeAbandoning("Abandon?") : prompter.AskYesNo("Go on?");
        EXPECT_EQ(answer, c.expected) << c.abandoning << " " << c.key;
    }
}

} // namespace
} // namespace ballotine
