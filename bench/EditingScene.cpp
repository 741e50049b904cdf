#include "EditingScene.h"

#include "editor/Plumora.h"
#include "framework/qt/MenuRouting.h"
#include "framework/qt/TextDocumentConvert.h"
#include "framework/qt/WindowFrame.h"
#include "framework/text/StyledText.h"
#include "framework/ui/Runtime.h"
#include "menubar/MenuBar1.h"
#include "shell/Startup.h"

#include "FillerText.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdint>
#include <string>
#include <system_error>

#include <unistd.h>

namespace {

constexpr std::size_t kMegabyte = 1'000'000;

// Styled text of about `bytes` bytes of text, shaped like a document that
// LibreOffice Writer saved: paragraphs of some 500 characters, the character
// format changing every two to four words among the fonts, sizes, emphases
// and colours such a document uses, an accented letter now and then, and
// every tenth paragraph centred.
fw::StyledText MakeDocument(std::size_t bytes) {
    const fw::Color red = fw::Color::FromRGB(0xC9211E), blue = fw::Color::FromRGB(0x2A6099);
    const fw::CharStyle kStyles[] = {
        {"Liberation Sans", 12, false, false, false, std::nullopt},
        {"Liberation Sans", 12, true, false, false, std::nullopt},
        {"Liberation Sans", 12, false, true, false, std::nullopt},
        {"Liberation Sans", 12, false, false, true, std::nullopt},
        {"Liberation Sans", 12, false, false, false, red},
        {"Liberation Serif", 10.5, false, false, false, std::nullopt},
        {"Liberation Mono", 14, false, false, false, blue},
        {"Liberation Sans", 12, true, true, true, red},
    };
    constexpr auto kStyleCount = static_cast<std::uint32_t>(sizeof kStyles / sizeof kStyles[0]);

    Sequence random(7);
    fw::StyledText text;
    std::size_t total = 0;
    while (total < bytes) {
        auto& paragraph = text.paragraphs.emplace_back();
        if (text.paragraphs.size() % 10 == 0) paragraph.alignment = fw::Alignment::Center;
        std::size_t length = 0;
        while (length < 495 && total + length < bytes) {
            fw::StyledRun run{{}, kStyles[random.Next(kStyleCount)]};
            const auto words = 2 + random.Next(3);
            for (std::uint32_t w = 0; w < words; ++w) {
                if (random.Next(40) == 0) run.text += "\xC3\xA9";
                run.text += kFillerWords[random.Next(kFillerWordCount)];
                run.text += ' ';
            }
            length += run.text.size();
            paragraph.runs.push_back(std::move(run));
        }
        total += length + 1;
    }
    return text;
}

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

// The runtime as the program starts it, on the offscreen platform, with the
// toolkit's application object that main already made: the framework's
// classes, its keyboard routing, the application object with its menu bar
// and handlers, and dialogs that answer by script instead of waiting for a
// person.
fw::testing::ScriptedDialogs* StartRuntime() {
    static fw::testing::ScriptedDialogs* dialogs = [] {
        qApp->setQuitOnLastWindowClosed(false);
        fw::InstallMenuRouting();
        fw::RuntimeInitExternalClasses();
        fw::InitPluginEntrypoints();
        auto* scripted = &fw::testing::InstallScriptedDialogs();
        SetUpClasses();
        NewAppInstance();
        ApplicationAddMenuHandlers();
        return scripted;
    }();
    return dialogs;
}

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
    scene.folder = std::filesystem::temp_directory_path() /
                   ("plumora-editing-bench-" + std::to_string(::getpid()));
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

