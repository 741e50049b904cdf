#pragma once

// What the benchmarks of the document window share: the runtime as the
// program starts it and the large styled documents they work on.
#include "framework/qt/MenuRouting.h"
#include "framework/qt/testing/ScriptedDialogs.h"
#include "framework/text/StyledText.h"
#include "framework/ui/Runtime.h"
#include "menubar/MenuBar1.h"
#include "shell/Startup.h"

#include "FillerText.h"

#include <QApplication>

#include <cstddef>
#include <cstdint>
#include <optional>

inline constexpr std::size_t kMegabyte = 1'000'000;

// Styled text of about `bytes` bytes of text, shaped like a document that
// LibreOffice Writer saved: paragraphs of some 500 characters, the character
// format changing every two to four words among the fonts, sizes, emphases
// and colours such a document uses, an accented letter now and then, and
// every tenth paragraph centred.
inline fw::StyledText MakeDocument(std::size_t bytes) {
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

// The runtime as the program starts it, on the offscreen platform, with the
// toolkit's application object that main already made: the framework's
// classes, its keyboard routing, the application object with its menu bar
// and handlers, and dialogs that answer by script instead of waiting for a
// person.
inline fw::testing::ScriptedDialogs* StartRuntime() {
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
