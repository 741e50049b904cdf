#include "EditingScene.h"

#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/WindowFrame.h"

#include "BenchRuntime.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>

#include <algorithm>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

std::size_t RunCount(const fw::StyledText& text) {
    std::size_t runs = 0;
    for (const auto& paragraph : text.paragraphs) runs += paragraph.runs.size();
    return runs;
}

Scene& CurrentScene() {
    static Scene scene;
    return scene;
}

// Closes the window and the bare field and forgets the document; run before
// the toolkit goes at the end of the process.
void ReleaseScene() {
    auto& scene = CurrentScene();
    delete scene.bare;
    scene.bare = nullptr;
    fw::RuntimeReleaseWindows();
    scene.window = nullptr;
    if (!scene.folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(scene.folder, ignored);
    }
    scene = Scene{};
}

void ReleaseAll() {
    ReleaseScene();
    fw::RuntimeRegisterAppObject(nullptr);
    ReleaseMenuBar1();
}

}  // namespace

QTextEdit& Scene::Editor() const { return *static_cast<QTextEdit*>(fw::ViewOf(Field())); }

void Settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

void LayOutAll(QTextEdit& edit) { benchmark::DoNotOptimize(edit.document()->documentLayout()->documentSize()); }

Scene& SceneOf(std::size_t megabytes) {
    auto& scene = CurrentScene();
    const std::size_t bytes = megabytes * kMegabyte;
    if (scene.bytes == bytes && scene.window) return scene;
    StartRuntime();
    static const bool cleanUpRegistered = [] {
        qAddPostRoutine(ReleaseAll);
        return true;
    }();
    (void)cleanUpRegistered;
    ReleaseScene();

    scene.bytes = bytes;
    scene.document = MakeDocument(bytes);
    scene.folder = std::filesystem::temp_directory_path() / ("plumora-editing-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(scene.folder);

    scene.window = fw::MakeWindow<class Plumora>();
    scene.Field().SetStyledText(scene.document);

    // The bare field is as large as the window's page and wraps its lines the same way.
    scene.bare = new QTextEdit;
    scene.bare->resize(scene.Editor().size());
    scene.bare->setLineWrapMode(scene.Editor().lineWrapMode());
    fw::SetDocumentStyledText(*scene.bare->document(), scene.document);
    scene.bare->show();

    Settle();
    LayOutAll(scene.Editor());
    LayOutAll(*scene.bare);
    // The first press copies the whole text into the undo snapshot; later
    // presses find it there, as they do after the first click in a session.
    auto& snapshot = *scene.window->EditField4();
    snapshot.Text(scene.Field().Text());
    Settle();
    return scene;
}

void Describe(benchmark::State& state, const Scene& scene) {
    state.counters["text_MB"] = static_cast<double>(scene.Editor().document()->characterCount()) / 1e6;
    state.counters["paragraphs"] = static_cast<double>(scene.document.paragraphs.size());
    state.counters["runs"] = static_cast<double>(RunCount(scene.document));
}

// The least time over repetitions: on a shared machine the least disturbed.
double Minimum(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Minimum);
}
