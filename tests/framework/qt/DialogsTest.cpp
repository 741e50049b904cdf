#include "framework/qt/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
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

}  // namespace
