#include "ScriptedDialogs.h"

#include "framework/qt/QtConvert.h"
#include "framework/qt/QtGraphics.h"
#include "framework/qt/QtPrinting.h"

#include <QPicture>
#include <QPrinter>

namespace fw::testing {

namespace {

template <class T>
T Next(std::deque<T>& answers) {
    if (answers.empty()) return T{};
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

// The page Graphics' stand-in: draws into a picture and keeps where each
// block went and how often a page was added.
struct PicturePage {
    QPicture picture;
    QPainter painter;
};

class RecordingGraphics : private PicturePage, public QtGraphics {
public:
    RecordingGraphics(int width, int height, ScriptedDialogs::Printed& record)
        : QtGraphics(painter, width, height), record_(record) {
        painter.begin(&picture);
    }

    void PaintBlock(const QRectF& block, const std::function<void(QPainter&)>& paint) override {
        record_.blocks.push_back({block.x(), block.y(), block.width(), block.height()});
        QtGraphics::PaintBlock(block, paint);
    }
    void NextPage() override { ++record_.nextPages; }

private:
    ScriptedDialogs::Printed& record_;
};

}  // namespace

std::shared_ptr<FolderItem> ScriptedDialogs::GetOpenFolderItem(const std::string&) {
    calls.push_back({"open", ""});
    return Next(openAnswers);
}

std::shared_ptr<FolderItem> ScriptedDialogs::GetSaveFolderItem(const std::string&, const std::string& name) {
    calls.push_back({"save", name});
    return Next(saveAnswers);
}

bool ScriptedDialogs::SelectColor(Color& color, const std::string& prompt) {
    calls.push_back({"color", prompt});
    colorStarts.push_back(color);
    const auto answer = Next(colorAnswers);
    if (answer) color = *answer;
    return answer.has_value();
}

void ScriptedDialogs::MsgBox(const std::string& message) { calls.push_back({"msgbox", message}); }

bool ScriptedDialogs::Confirm(const std::string& message, const std::string&, const std::string&) {
    calls.push_back({"confirm", message});
    return Next(confirmAnswers);
}

void ScriptedDialogs::Beep() { calls.push_back({"beep", ""}); }

bool ScriptedDialogs::PageSetupDialog(PrinterSetup& setup) {
    calls.push_back({"pagesetup", setup.SetupString()});
    const auto change = Next(pageSetupAnswers);
    if (change) change(setup);
    return static_cast<bool>(change);
}

std::unique_ptr<Graphics> ScriptedDialogs::OpenPrinterDialog(PrinterSetup* setup) {
    calls.push_back({"print", setup ? setup->SetupString() : ""});
    const auto answer = Next(printAnswers);
    if (!answer) return nullptr;
    PrinterSetup chosen = setup ? *setup : PrinterSetup{};
    if (answer->change) answer->change(chosen);
    if (setup) *setup = chosen;
    if (answer->pdfPath.empty())
        return std::make_unique<RecordingGraphics>(chosen.Width(), chosen.Height(), printed.emplace_back());
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(ToQt(answer->pdfPath));
    ApplySetup(chosen, *printer);
    return OpenPage(std::move(printer));
}

std::vector<ScriptedDialogs::Call> ScriptedDialogs::CallsOf(const std::string& dialog) const {
    std::vector<Call> found;
    for (const auto& call : calls)
        if (call.dialog == dialog) found.push_back(call);
    return found;
}

ScriptedDialogs& InstallScriptedDialogs() {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    auto& installed = *dialogs;
    SetDialogs(std::move(dialogs));
    return installed;
}

}  // namespace fw::testing
