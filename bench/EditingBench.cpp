// Editing a large styled document in the program's document window: one
// typed character, one mouse press in the page, and saving and opening the
// document. Each is measured beside the same action in a bare QTextEdit that
// holds the same document, so that what the program adds to the toolkit's
// own work shows. Key and mouse events go through QApplication::sendEvent in
// both, the road the toolkit takes for real input.
#include "EditingScene.h"

#include "editor/WordCount.h"
#include "framework/ui/FolderItem.h"
#include "framework/qt/MenuRouting.h"
#include "framework/ui/Runtime.h"
#include "framework/text/StyledText.h"
#include "framework/text/Strings.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/WindowFrame.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "menubar/MenuBar1.h"
#include "shell/Startup.h"

#include "BenchRuntime.h"
#include "FillerText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

namespace {

void TypeCharacter(QWidget& target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&target, &release);
}

// A click in the middle of the visible part of the page.
void Press(QTextEdit& edit) {
    QWidget* viewport = edit.viewport();
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    const QPointF global = viewport->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

enum class Where { End, Middle };

void PlaceCursor(QTextEdit& edit, Where where) {
    edit.activateWindow();
    edit.setFocus(Qt::OtherFocusReason);
    QTextCursor cursor(edit.document());
    if (where == Where::End) cursor.movePosition(QTextCursor::End);
    else cursor.setPosition(edit.document()->characterCount() / 2);
    edit.setTextCursor(cursor);
    Settle();
}

// One typed character must reach the document and, in the window, the word
// count; a benchmark that measures less would flatter the program.
bool CheckTyping(benchmark::State& state, QTextEdit& edit, const Scene* scene) {
    const int before = edit.document()->characterCount();
    if (scene) scene->window->TextHasChanged = false;
    TypeCharacter(edit);
    Settle();
    if (edit.document()->characterCount() != before + 1) {
        state.SkipWithError("the typed character did not reach the document");
        return false;
    }
    if (scene) {
        const std::string expected = "There are: " + std::to_string(CountWords(scene->Field().Text())) + " Words.";
        if (!scene->window->TextHasChanged || scene->window->StaticText5()->Text() != expected) {
            state.SkipWithError("the window's TextChange handler did not run for the typed character");
            return false;
        }
    }
    return true;
}

void ProgramKeystroke(benchmark::State& state, Where where) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextEdit& edit = scene.Editor();
    PlaceCursor(edit, where);
    if (!CheckTyping(state, edit, &scene)) return;
    for (auto _ : state) {
        TypeCharacter(edit);
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
    Describe(state, scene);
}

void BareKeystroke(benchmark::State& state, Where where) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextEdit& edit = *scene.bare;
    PlaceCursor(edit, where);
    if (!CheckTyping(state, edit, nullptr)) return;
    for (auto _ : state) {
        TypeCharacter(edit);
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
    Describe(state, scene);
}

void BM_PlumoraKeystrokeAtEnd(benchmark::State& state) { ProgramKeystroke(state, Where::End); }
void BM_BareKeystrokeAtEnd(benchmark::State& state) { BareKeystroke(state, Where::End); }
void BM_PlumoraKeystrokeInMiddle(benchmark::State& state) { ProgramKeystroke(state, Where::Middle); }
void BM_BareKeystrokeInMiddle(benchmark::State& state) { BareKeystroke(state, Where::Middle); }

// A press in the page takes the undo snapshot before the field moves the
// insertion point. With typedBefore, a character is typed (untimed) before
// each press, so that the snapshot differs from the text as after real
// typing; without, the snapshot already holds the text.
// Times presses in the middle of the text; with typedBefore a character is
// typed, untimed, before each press.
void TimePresses(benchmark::State& state, QTextEdit& edit, bool typedBefore) {
    for (auto _ : state) {
        if (typedBefore) {
            state.PauseTiming();
            TypeCharacter(edit);
            Settle();
            state.ResumeTiming();
        }
        Press(edit);
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
}

void ProgramPress(benchmark::State& state, bool typedBefore) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextEdit& edit = scene.Editor();
    PlaceCursor(edit, Where::Middle);
    TypeCharacter(edit);
    Press(edit);
    Settle();
    if (scene.window->EditField4()->Text() != scene.Field().Text()) {
        state.SkipWithError("the press did not take the undo snapshot");
        return;
    }
    TimePresses(state, edit, typedBefore);
    Describe(state, scene);
}

void BarePress(benchmark::State& state, bool typedBefore) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    PlaceCursor(*scene.bare, Where::Middle);
    TimePresses(state, *scene.bare, typedBefore);
    Describe(state, scene);
}

void BM_PlumoraPress(benchmark::State& state) { ProgramPress(state, false); }
void BM_BarePress(benchmark::State& state) { BarePress(state, false); }
void BM_PlumoraPressAfterTyping(benchmark::State& state) { ProgramPress(state, true); }
void BM_BarePressAfterTyping(benchmark::State& state) { BarePress(state, true); }

std::int64_t FileSize(const std::filesystem::path& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<std::int64_t>(size);
}

// Reports the file's size as the bytes each iteration wrote or read, or the
// failure when the work did not succeed or left no file.
void ReportFile(benchmark::State& state, Scene& scene, const std::filesystem::path& path, bool succeeded,
                const char* failure) {
    const auto size = FileSize(path);
    if (!succeeded || size <= 0) {
        state.SkipWithError(failure);
        return;
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["file_MB"] = static_cast<double>(size) / 1e6;
    Describe(state, scene);
}

// Saving through the window's own command: the document has a file, so no
// dialog is asked; the field's styled text is written as RTF.
void BM_PlumoraSave(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    auto* dialogs = StartRuntime();
    const auto path = scene.folder / "document.rtf";
    scene.window->Document = std::make_shared<fw::FolderItem>(path);
    dialogs->calls.clear();
    for (auto _ : state) scene.window->SaveFile(scene.window->Title(), false);
    ReportFile(state, scene, path, dialogs->calls.empty(), "the save failed or asked the user");
}

// Qt's own styled format, HTML, written by the toolkit's document writer.
void BM_BareSave(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const auto path = scene.folder / "document.html";
    const QString name = QString::fromStdString(path.string());
    bool written = true;
    for (auto _ : state) {
        QTextDocumentWriter writer(name, "HTML");
        written = writer.write(scene.bare->document()) && written;
    }
    ReportFile(state, scene, path, written, "the bare field's document was not written");
}

// Opening the saved file into the window's page: reading the RTF, filling
// the field, and the word count that the change of text brings.
void BM_PlumoraOpen(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const auto path = scene.folder / "document-to-open.rtf";
    scene.window->Document = std::make_shared<fw::FolderItem>(path);
    scene.window->SaveFile(scene.window->Title(), false);
    if (FileSize(path) <= 0) {
        state.SkipWithError("the document could not be saved for opening");
        return;
    }
    const fw::FolderItem file(path);
    const int expected = scene.Editor().document()->characterCount();
    for (auto _ : state) file.OpenStyledEditField(scene.Field());
    ReportFile(state, scene, path, scene.Editor().document()->characterCount() == expected,
               "the opened document differs from the saved one");
    LayOutAll(scene.Editor());
    Settle();
}

void BM_BareOpen(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const auto path = scene.folder / "document-to-open.html";
    const QString name = QString::fromStdString(path.string());
    if (!QTextDocumentWriter(name, "HTML").write(scene.bare->document())) {
        state.SkipWithError("the document could not be written for opening");
        return;
    }
    const int expected = scene.bare->document()->characterCount();
    for (auto _ : state) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            state.SkipWithError("the HTML file could not be read");
            return;
        }
        scene.bare->setHtml(QString::fromUtf8(file.readAll()));
    }
    ReportFile(state, scene, path, scene.bare->document()->characterCount() == expected,
               "the opened document differs from the saved one");
    LayOutAll(*scene.bare);
    Settle();
}

// A search text near the end of the document that occurs in text once, even
// ignoring case, in upper case so that only a search that ignores case finds
// it: the shortest such end of the document's last paragraph as it was made,
// whatever the benchmarks before typed after it. It stays within the
// paragraph, as the find window's one-line field does; "" when there is none.
QString UniqueTail(const Scene& scene, const QString& text) {
    QString last;
    for (const auto& run : scene.document.paragraphs.back().runs) last += QString::fromStdString(run.text);
    last = last.trimmed();
    for (qsizetype length = 16;; length *= 2) {
        const QString tail = last.right(length);
        const auto first = text.indexOf(tail, 0, Qt::CaseInsensitive);
        if (first >= 0 && first == text.lastIndexOf(tail, -1, Qt::CaseInsensitive)) return tail.toUpper();
        if (length >= last.size()) return {};
    }
}

// Find as the Find button runs it: the whole text taken from the field,
// searched, and the match selected.
void BM_PlumoraFind(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const QString needle = UniqueTail(scene, QString::fromStdString(scene.Field().Text()));
    const std::string search = needle.toStdString();
    scene.Field().SelStart(0);
    for (auto _ : state) scene.window->Find(search, "");
    if (needle.isEmpty() || QString::fromStdString(scene.Field().SelText()).toUpper() != needle)
        state.SkipWithError("Find did not select the one match");
    Describe(state, scene);
}

void BM_BareFind(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const QString text = scene.bare->toPlainText();
    const QString needle = UniqueTail(scene, text);
    qsizetype found = -1;
    for (auto _ : state) benchmark::DoNotOptimize(found = text.indexOf(needle, 0, Qt::CaseInsensitive));
    if (found < 0 || found != text.lastIndexOf(needle, -1, Qt::CaseInsensitive))
        state.SkipWithError("indexOf did not find the one match");
    Describe(state, scene);
}

// UPPER CASE of the whole document through the window's command, which keeps
// each character's format and counts the words again. Upper and lower case
// take turns, so that every turn rewrites every letter.
void BM_PlumoraUppercaseAll(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    bool upper = true;
    for (auto _ : state) {
        state.PauseTiming();
        scene.Field().SelectAll();
        state.ResumeTiming();
        if (upper) scene.window->ChangeCaseUPPERCASE_Action();
        else scene.window->ChangeCaselowercase_Action();
        upper = !upper;
    }
    if (scene.Field().Text() != fw::Lowercase(scene.Field().Text()) &&
        scene.Field().Text() != fw::Uppercase(scene.Field().Text()))
        state.SkipWithError("the whole text did not change case");
    Describe(state, scene);
    // The next benchmarks find the document as it was.
    scene.Field().SetStyledText(scene.document);
    Settle();
}

// The bare field's own replacement of the whole styled text by its upper
// case, which drops the formats; the document is refilled, untimed, before each.
void BM_BareUppercaseAll(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextEdit& edit = *scene.bare;
    for (auto _ : state) {
        state.PauseTiming();
        fw::SetDocumentStyledText(*edit.document(), scene.document);
        QTextCursor cursor(edit.document());
        cursor.select(QTextCursor::Document);
        state.ResumeTiming();
        cursor.insertText(cursor.selectedText().toUpper());
    }
    Describe(state, scene);
    fw::SetDocumentStyledText(*edit.document(), scene.document);
    Settle();
}

// One Date Stamp at the end of the document, through the window's command.
void BM_PlumoraDateStamp(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    const int before = scene.Editor().document()->characterCount();
    for (auto _ : state) scene.window->InsertDate_Action();
    if (scene.Editor().document()->characterCount() <= before) state.SkipWithError("no stamp was appended");
    Describe(state, scene);
}

void BM_BareDateStamp(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextCursor cursor(scene.bare->document());
    for (auto _ : state) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral(" ") + QLocale().toString(QDate::currentDate(), QLocale::LongFormat));
    }
    Describe(state, scene);
}

// Benchmarks of one document size run together, so that each size's window
// is filled once.

#define PLUMORA_EDITING_BENCHMARK(name, megabytes) BENCHMARK(name)->Apply(Sizes)->Arg(megabytes)

PLUMORA_EDITING_BENCHMARK(BM_PlumoraKeystrokeAtEnd, 1);
PLUMORA_EDITING_BENCHMARK(BM_BareKeystrokeAtEnd, 1);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraKeystrokeInMiddle, 1);
PLUMORA_EDITING_BENCHMARK(BM_BareKeystrokeInMiddle, 1);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraPress, 1);
PLUMORA_EDITING_BENCHMARK(BM_BarePress, 1);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraPressAfterTyping, 1);
PLUMORA_EDITING_BENCHMARK(BM_BarePressAfterTyping, 1);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraSave, 1);
PLUMORA_EDITING_BENCHMARK(BM_BareSave, 1);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraOpen, 1);
PLUMORA_EDITING_BENCHMARK(BM_BareOpen, 1);

PLUMORA_EDITING_BENCHMARK(BM_PlumoraKeystrokeAtEnd, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareKeystrokeAtEnd, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraKeystrokeInMiddle, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareKeystrokeInMiddle, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraPress, 5);
PLUMORA_EDITING_BENCHMARK(BM_BarePress, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraPressAfterTyping, 5);
PLUMORA_EDITING_BENCHMARK(BM_BarePressAfterTyping, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraSave, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareSave, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraOpen, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareOpen, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraFind, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareFind, 5);
PLUMORA_EDITING_BENCHMARK(BM_PlumoraDateStamp, 5);
PLUMORA_EDITING_BENCHMARK(BM_BareDateStamp, 5);
BENCHMARK(BM_PlumoraUppercaseAll)->Apply(Sizes)->Arg(5)->Iterations(4);
BENCHMARK(BM_BareUppercaseAll)->Apply(Sizes)->Arg(5)->Iterations(4);

}  // namespace
