#include "framework/ui/Dialogs.h"

#include "framework/ui/FolderItem.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/QtDialogs.h"
#include "framework/qt/QtPrinting.h"
#include "framework/qt/RuntimeState.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <filesystem>

namespace fw {

namespace {

QWidget* DialogParent() { return QApplication::activeWindow(); }

// The name filters that a file-type filter stands for. "text" is the
// program's styled text; an empty filter shows every file.
QString NameFilters(const std::string& filter) {
    if (filter == "text") return QStringLiteral("Styled text (*.rtf);;All files (*)");
    return QStringLiteral("All files (*)");
}

}  // namespace

std::shared_ptr<FolderItem> QtDialogs::GetOpenFolderItem(const std::string& filter) {
    const auto path =
        QFileDialog::getOpenFileName(DialogParent(), QStringLiteral("Open"), QString(), NameFilters(filter));
    if (path.isEmpty()) return nullptr;
    return std::make_shared<FolderItem>(path.toStdString());
}

std::shared_ptr<FolderItem> QtDialogs::GetSaveFolderItem(const std::string& filter, const std::string& name) {
    QFileDialog dialog(DialogParent(), QStringLiteral("Save"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(NameFilters(filter));
    if (filter == "text") dialog.setDefaultSuffix(QStringLiteral("rtf"));
    const std::filesystem::path proposed(name);
    if (proposed.has_parent_path()) dialog.setDirectory(QString::fromStdString(proposed.parent_path().string()));
    dialog.selectFile(QString::fromStdString(proposed.filename().string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return nullptr;
    return std::make_shared<FolderItem>(dialog.selectedFiles().constFirst().toStdString());
}

bool QtDialogs::SelectColor(Color& color, const std::string& prompt) {
    const auto chosen = QColorDialog::getColor(ToQt(color), DialogParent(), ToQt(prompt));
    if (!chosen.isValid()) return false;
    color = FromQt(chosen);
    return true;
}

void QtDialogs::MsgBox(const std::string& message) {
    QMessageBox box(DialogParent());
    box.setWindowTitle(QStringLiteral("Plumora"));
    // The message is shown as it stands, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQt(message));
    box.exec();
}

bool QtDialogs::Confirm(const std::string& message, const std::string& confirm, const std::string& cancel) {
    QMessageBox box(DialogParent());
    box.setWindowTitle(QStringLiteral("Plumora"));
    box.setIcon(QMessageBox::Warning);
    box.setText(ToQt(message));
    auto* yes = box.addButton(ToQt(confirm), QMessageBox::AcceptRole);
    auto* no = box.addButton(ToQt(cancel), QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::Beep() { QApplication::beep(); }

bool QtDialogs::PageSetupDialog(PrinterSetup& setup) {
    QPrinter printer;
    ApplySetup(setup, printer);
    QPageSetupDialog dialog(&printer, nullptr);
    if (dialog.exec() != QDialog::Accepted) return false;
    ReadSetup(printer, setup);
    return true;
}

std::unique_ptr<Graphics> QtDialogs::OpenPrinterDialog(PrinterSetup* setup) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (setup) ApplySetup(*setup, *printer);
    QPrintDialog dialog(printer.get(), nullptr);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
    if (setup) ReadSetup(*printer, *setup);
    return OpenPage(std::move(printer));
}

void SetDialogs(std::unique_ptr<Dialogs> dialogs) { State().dialogs = std::move(dialogs); }

Dialogs& CurrentDialogs() {
    auto& dialogs = State().dialogs;
    if (!dialogs) dialogs = std::make_unique<QtDialogs>();
    return *dialogs;
}

}  // namespace fw
