// Opening the key assignment dialog after its first opening: initialising it
// for a key, filling its lists and the macro tab, placing it, showing it and
// painting it once, then closing it. The first opening (which decodes the
// skin pictures) runs before the measurement. Offscreen, with the skin and
// language file the build drew.
//   bench_key_dialog_open [--benchmark_repetitions=N]

#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>

#include "editors/qt/Keyloom_DlgComposite.h"
#include "model/KeyTable.h"
#include "storage/AppPaths.h"
#include "storage/Language.h"
#include "storage/SystemLanguage.h"

namespace {

using namespace keyloom;

struct Opening {
    WorkingStore store;
    std::unique_ptr<editors::qt::Keyloom_DlgComposite> dialog;

    explicit Opening(int events) {
        const std::string program = KEYLOOM_BENCH_PROGRAM_DIR "/";
        auto registry = std::make_shared<registry::Registry>("/dev/null/registry.ini");
        installLanguageFiles(
            std::make_shared<LanguageFiles>(program, registry, systemLanguageId()));
        SetKeyTextLookup([](std::string_view key) { return lookupText(key); });
        {
            // Ten macros of `events` events; the clicked key plays the first.
            auto working = store.lock();
            for (std::uint16_t n = 1; n <= 10; ++n) {
                MacroRecord macro;
                macro.number = n;
                macro.name = u"Macro " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10));
                for (int i = 0; i < events; ++i)
                    macro.actions.push_back({40, 0x1E, static_cast<std::uint16_t>(i % 2)});
                working->macros.push_back(std::move(macro));
            }
            working->image->block(0)[0x1E] = {AssignmentKind::Macro, 1, 1};
        }
        editors::qt::CompositeSetup setup;
        setup.skinFolder = program + "Skins/";
        setup.store = &store;
        dialog = std::make_unique<editors::qt::Keyloom_DlgComposite>(std::move(setup));
    }

    void openAndClose() {
        editors::KeyButtonContext context;
        context.activeProfile = 0;
        dialog->prepare(1058, context, QRect(100, 100, 40, 40), QStringLiteral("A"));
        dialog->show();
        dialog->repaint();
        QApplication::processEvents();
        dialog->closeIfOpen();
        QApplication::processEvents();
    }
};

void BM_OpenKeyDialog(benchmark::State& state) {
    Opening opening(static_cast<int>(state.range(0)));
    opening.openAndClose();  // the first opening loads the pictures
    for (auto _ : state)
        opening.openAndClose();
}
// A macro of 30 events, and one of 4000 (the most a macro holds).
BENCHMARK(BM_OpenKeyDialog)->Arg(30)->Arg(4000)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
