#include "framework/qt/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
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

// The colour picker is the toolkit's colour dialog, titled with the prompt
// and opened on the colour given; a cancelled one leaves the colour alone.
TEST(DialogsTest, SelectColorAsksTheToolkitsColourDialog) {
    for (const bool confirm : {true, false}) {
        QString title;
        QColor opened;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            title = dialog->windowTitle();
            opened = dialog->currentColor();
            dialog->setCurrentColor(QColor(0x20, 0x40, 0x60));
            confirm ? dialog->accept() : dialog->reject();
        });
        auto colour = fw::Color::FromRGB(0xF0F0F0);
        EXPECT_EQ(fw::QtDialogs().SelectColor(colour, "Pick one"), confirm);
        EXPECT_EQ(title, QStringLiteral("Pick one"));
        EXPECT_EQ(opened, QColor(0xF0, 0xF0, 0xF0));
        EXPECT_EQ(colour, fw::Color::FromRGB(confirm ? 0x204060 : 0xF0F0F0));
    }
}

}  // namespace
