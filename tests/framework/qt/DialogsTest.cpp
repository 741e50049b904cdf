#include "framework/qt/QtDialogs.h"
#include "framework/ui/FolderItem.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// A message is shown as it stands: text that looks like markup is not read as markup.
TEST(DialogsTest, TheMessageBoxShowsItsMessageAsPlainText) {
    const std::string message = "Plumora could not find: \"<b>bold</b> & <i>x\".";
    std::string shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            if (box->textFormat() == Qt::PlainText) shown = box->text().toStdString();
            box->accept();
        }
    });
    fw::QtDialogs().MsgBox(message);
    EXPECT_EQ(shown, message);
}

// A path typed into the name field of the Open or the Save dialog and
// confirmed with Return is the file chosen, also when another window is the
// active one while the keys arrive: the folders that the path passes through,
// each selected in the list on the way, are not what the user asks for.
TEST(DialogsTest, AFileDialogTakesThePathTypedWhileAnotherWindowIsActive) {
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
    QWidget other;
    const auto typeIn = [&other](const QString& path, bool& otherActive) {
        QTimer::singleShot(0, [&other, &otherActive, path] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            if (QTest::qWaitForWindowActive(dialog)) {
                other.show();
                other.activateWindow();
                otherActive = QTest::qWaitForWindowActive(&other);
                QTest::keyClick(dialog->focusWidget(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(dialog->focusWidget(), path);
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
            }
            if (dialog->isVisible()) dialog->reject();
        });
    };
    const QString existing = folder.filePath("sub/old.txt");
    ASSERT_TRUE(QFile(existing).open(QIODevice::WriteOnly));
    bool otherActive = false;
    typeIn(existing, otherActive);
    const auto opened = fw::QtDialogs().GetOpenFolderItem("");
    EXPECT_TRUE(otherActive);
    EXPECT_EQ(opened ? opened->Path().string() : "nothing", existing.toStdString());
    const QString fresh = folder.filePath("sub/new.rtf");
    otherActive = false;
    typeIn(fresh, otherActive);
    const auto saved = fw::QtDialogs().GetSaveFolderItem("text", folder.filePath("notes").toStdString());
    EXPECT_TRUE(otherActive);
    EXPECT_EQ(saved ? saved->Path().string() : "nothing", fresh.toStdString());
}

}  // namespace
