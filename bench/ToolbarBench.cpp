// The toolbar on a large styled document: the toolbar following the
// selection after a one-character caret move and after Select All, and bold
// and a size given to the whole document from the toolbar's buttons. Each is
// measured beside the same action in a bare QTextEdit that holds the same
// document: the caret move or Select All with a read of the format there,
// the bare merge of the same format into the whole document.
#include "EditingScene.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

// Moves the caret one character right and back, alternately.
void MoveCaret(QTextEdit& edit, int& step) {
    auto cursor = edit.textCursor();
    cursor.setPosition(edit.document()->characterCount() / 2 + (step++ % 2));
    edit.setTextCursor(cursor);
}

void BM_PlumoraCaretMove(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    int step = 0;
    // The first move after a change of the whole document waits for the
    // toolkit to lay it out again, which the benchmarks of whole-document
    // commands before this one leave to do: that move is not the one timed.
    MoveCaret(scene.Editor(), step);
    for (auto _ : state) MoveCaret(scene.Editor(), step);
    Describe(state, scene);
}

void BM_BareCaretMove(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    int step = 0;
    MoveCaret(*scene.bare, step);
    for (auto _ : state) {
        MoveCaret(*scene.bare, step);
        benchmark::DoNotOptimize(scene.bare->currentCharFormat().fontWeight());
    }
    Describe(state, scene);
}

// Select All from a caret, which is put back untimed before each. The first
// character's underline is switched untimed as well, so that every Select
// All meets a changed document, as after an edit, and no styles kept from the
// last one serve.
template <class Selected>
void TimeSelectAll(benchmark::State& state, QTextEdit& edit, Selected selected) {
    bool underline = false;
    for (auto _ : state) {
        state.PauseTiming();
        QTextCursor first(edit.document());
        first.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        QTextCharFormat change;
        change.setFontUnderline(underline = !underline);
        first.mergeCharFormat(change);
        edit.setTextCursor(QTextCursor(edit.document()));
        state.ResumeTiming();
        edit.selectAll();
        selected();
    }
}

void BM_PlumoraSelectAll(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    TimeSelectAll(state, scene.Editor(), [] {});
    if (scene.window->sizemenu()->Caption() != std::to_string(scene.Field().SelTextSize()))
        state.SkipWithError("the toolbar did not follow the selection");
    Describe(state, scene);
}

void BM_BareSelectAll(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    TimeSelectAll(state, *scene.bare, [&] { benchmark::DoNotOptimize(scene.bare->currentCharFormat().fontWeight()); });
    Describe(state, scene);
}

// The same when every character is bold: the toolbar must then look at every
// run to know that the whole selection is bold.
void BM_PlumoraSelectAllBold(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    scene.Field().SelectAll();
    scene.Field().SelBold(true);
    Settle();
    TimeSelectAll(state, scene.Editor(), [] {});
    if (!scene.window->BoldButton()->Value()) state.SkipWithError("the bold button does not show the bold selection");
    Describe(state, scene);
}

// The whole document selected, then each iteration one press of the button
// or one choice of the menu; the layout that follows is left untimed.
void BM_PlumoraBoldDocument(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    scene.Field().SelectAll();
    for (auto _ : state) {
        scene.window->BoldButton()->Press();
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
    Describe(state, scene);
}

void BM_PlumoraSizeDocument(benchmark::State& state) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    scene.Field().SelectAll();
    int step = 0;
    for (auto _ : state) {
        scene.window->sizemenu()->ChooseRow(step++ % 2 ? 14 : 26);
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
    Describe(state, scene);
}

template <class Format>
void TimeBareMerge(benchmark::State& state, Format format) {
    Scene& scene = SceneOf(static_cast<std::size_t>(state.range(0)));
    QTextCursor all(scene.bare->document());
    all.select(QTextCursor::Document);
    int step = 0;
    for (auto _ : state) {
        QTextCharFormat merged;
        format(merged, step++ % 2 == 0);
        all.mergeCharFormat(merged);
        state.PauseTiming();
        Settle();
        state.ResumeTiming();
    }
    Describe(state, scene);
}

void BM_BareBoldDocument(benchmark::State& state) {
    TimeBareMerge(state, [](QTextCharFormat& f, bool on) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
}

void BM_BareSizeDocument(benchmark::State& state) {
    TimeBareMerge(state, [](QTextCharFormat& f, bool big) { f.setFontPointSize(big ? 24 : 12); });
}

#define PLUMORA_TOOLBAR_BENCHMARK(name) BENCHMARK(name)->Apply(Sizes)->Arg(5)
// The untimed change before each Select All costs far more than the timed
// part: a fixed count keeps the run short.
#define PLUMORA_SELECT_ALL_BENCHMARK(name) PLUMORA_TOOLBAR_BENCHMARK(name)->Iterations(200)

PLUMORA_TOOLBAR_BENCHMARK(BM_PlumoraCaretMove);
PLUMORA_TOOLBAR_BENCHMARK(BM_BareCaretMove);
PLUMORA_SELECT_ALL_BENCHMARK(BM_PlumoraSelectAll);
PLUMORA_SELECT_ALL_BENCHMARK(BM_BareSelectAll);
PLUMORA_SELECT_ALL_BENCHMARK(BM_PlumoraSelectAllBold);
PLUMORA_TOOLBAR_BENCHMARK(BM_PlumoraBoldDocument);
PLUMORA_TOOLBAR_BENCHMARK(BM_BareBoldDocument);
PLUMORA_TOOLBAR_BENCHMARK(BM_PlumoraSizeDocument);
PLUMORA_TOOLBAR_BENCHMARK(BM_BareSizeDocument);

}  // namespace
