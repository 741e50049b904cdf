#include "framework/ui/Dialogs.h"

#include "framework/ui/FolderItem.h"
#include "framework/qt/QtConvert.h"
#include "framework/qt/QtDialogs.h"
#include "framework/qt/QtPrinting.h"
#include "framework/qt/RuntimeState.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QLineEdit>
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

// While a path is typed into its name field, the toolkit's file dialog
// selects in its list the entry that each stage of the path names, and lets
// go of the earlier ones only while the field has the application's keyboard
// focus. Keys that reach the field while another window is the active one
// left every folder on the way selected; as the list's selection goes before
// the typed name, Open went into the first of them, emptied the field and
// stayed open. Each change the user makes to the name therefore starts the
// list's selection afresh, as the focus would. The field and the list are
// found by the object names the toolkit gives them; without them the dialog
// keeps the toolkit's own behaviour.
class FileDialog : public QFileDialog {
public:
    FileDialog(const QString& title, const std::string& filter)
        : QFileDialog(DialogParent(), title, QString(), NameFilters(filter)) {
        auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* list = findChild<QAbstractItemView*>(QStringLiteral("listView"));
        if (!field || !list) return;
        connect(field, &QLineEdit::textEdited, this, [field, list] {
            if (!field->hasFocus()) list->clearSelection();
        });
    }

    std::shared_ptr<FolderItem> Chosen() {
        if (exec() != QDialog::Accepted || selectedFiles().isEmpty()) return nullptr;
        return std::make_shared<FolderItem>(selectedFiles().constFirst().toStdString());
    }
};

}  // namespace

std::shared_ptr<FolderItem> QtDialogs::GetOpenFolderItem(const std::string& filter) {
    FileDialog dialog(QStringLiteral("Open"), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.Chosen();
}

std::shared_ptr<FolderItem> QtDialogs::GetSaveFolderItem(const std::string& filter, const std::string& name) {
    FileDialog dialog(QStringLiteral("Save"), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (filter == "text") dialog.setDefaultSuffix(QStringLiteral("rtf"));
    const std::filesystem::path proposed(name);
    if (proposed.has_parent_path()) dialog.setDirectory(QString::fromStdString(proposed.parent_path().string()));
    dialog.selectFile(QString::fromStdString(proposed.filename().string()));
    return dialog.Chosen();
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
