#pragma once

// The document window and a bare QTextEdit holding the same large styled
// document, shared by the benchmarks that compare the program with the
// toolkit's own text widget.

#include "editor/Plumora.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/text/StyledText.h"
#include "framework/ui/EditField.h"

#include <QTextEdit>

#include <benchmark/benchmark.h>

#include <cstddef>
#include <filesystem>
#include <vector>

// The document window and the bare field, both holding the same document of
// one size, laid out in full, kept from one benchmark to the next because
// filling them takes seconds.
struct Scene {
    std::size_t bytes = 0;
    fw::StyledText document;
    class Plumora* window = nullptr;
    QTextEdit* bare = nullptr;
    std::filesystem::path folder;

    fw::EditField& Field() const { return *window->EditField1(); }
    QTextEdit& Editor() const;
};

// The scene of a document of that many megabytes, made and laid out once.
Scene& SceneOf(std::size_t megabytes);

// Runs the events that wait.
void Settle();
void LayOutAll(QTextEdit& edit);

// The document's size, paragraphs and runs as the benchmark's counters.
void Describe(benchmark::State& state, const Scene& scene);

// Milliseconds, real time, and the least time over repetitions.
void Sizes(benchmark::internal::Benchmark* b);
