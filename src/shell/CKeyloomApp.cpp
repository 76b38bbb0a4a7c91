#include "shell/CKeyloomApp.h"

#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "core/AccessNotice.h"
#include "device/ReportTrace.h"
#include "model/KeyTable.h"
#include "platform/hid/HidPlatform.h"
#include "platform/instance/InstanceControl.h"
#include "platform/instance/NamedEvents.h"
#include "shell/CKeyloomDlg.h"
#include "shell/InstanceRequests.h"
#include "shell/KeyloomBusService.h"
#include "shell/MessageBoxes.h"
#include "sim/SimSetup.h"
#include "storage/AppPaths.h"
#include "storage/Language.h"
#include "storage/SystemLanguage.h"

namespace keyloom::shell {

void CKeyloomApp::printUsage(std::FILE* out) {
    std::fprintf(out,
                 "Usage: keyloom [OPTIONS]\n"
                 "Configure the keys, macros and lighting of a Keyloom keyboard. The program\n"
                 "lives in the system tray; starting it again opens its window.\n\n"
                 "Options:\n"
                 "  /Start, --start               start hidden: only the tray icon, the window\n"
                 "                                never opens by itself\n"
                 "  /Kill, --kill                 end the running instance, and this start with\n"
                 "                                it; when none is running, start as usual\n"
                 "  --simulate MODEL[:STATEFILE]  add a simulated keyboard (MODEL 0c45:652f or\n"
                 "                                320f:5064), its memory kept in STATEFILE\n"
                 "  --trace FILE                  append every configuration report to FILE\n"
                 "  --data-dir DIR                use DIR as the per-user data folder\n"
                 "  --help, -h                    this text\n"
                 "  --version                     the program's version\n\n"
                 "Session bus: while it runs, the program owns io.github.keyloom.Keyloom and\n"
                 "serves /io/github/keyloom/Keyloom, interface io.github.keyloom.Keyloom1:\n"
                 "  properties  Connected (b), Model (s), ActiveProfile (i, 1-3, 0 unknown),\n"
                 "              ReportRate (i, Hz), Effect (i), Brightness (i, 0-4),\n"
                 "              Modified (b: unapplied changes), announced by PropertiesChanged\n"
                 "  SetActiveProfile(i)  SetEffect(i)  SetBrightness(i)\n"
                 "  Run(as args) -> (i exit_code, s output, s errors): one keyloomctl command\n"
                 "              line, run on this program's state (keyloomctl does this itself)\n"
                 "  errors      io.github.keyloom.Error.NoKeyboard, .InvalidArgument, .Busy\n"
                 "              (a dialog is open, or unapplied changes), .WriteFailed\n"
                 "Calling the name starts 'keyloom --start' when none runs, so a desktop\n"
                 "shortcut can run, for example:\n"
                 "  gdbus call --session --dest io.github.keyloom.Keyloom --object-path\n"
                 "    /io/github/keyloom/Keyloom --method\n"
                 "    io.github.keyloom.Keyloom1.SetActiveProfile 2\n");
}

namespace {

// A supported keyboard this user may not open: said once per start, in a box
// that does not hold up the window, with the commands that fix it.
void tellWhenKeyboardIsBlocked(QWidget& owner) {
    const std::optional<std::string> text = accessNotice();
    if (!text)
        return;
    window::MessageRequest request;
    request.key = "KEYLOOM_NO_ACCESS";
    request.text = *text;
    request.icon = window::MessageIcon::Warning;
    std::unique_ptr<QMessageBox> box = buildMessageBox(request, &owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
    static_cast<void>(box.release());  // the window owns it; it deletes itself when closed
}

}  // namespace

// What prepare() made for run().
struct CKeyloomApp::Prepared {
    instance::StartupArguments args;
    AppPaths paths;
    std::shared_ptr<registry::Registry> registry;
    instance::InstanceControl control;
    sim::Simulation simulation;
    // Nothing in the program waits on the named events: they are created
    // beside the start-up instead of before it.
    std::future<instance::NamedEvents> events;
    StartedCore started;
};

CKeyloomApp::CKeyloomApp() = default;

CKeyloomApp::~CKeyloomApp() {
    // A start that ends before the window took the core stops its threads.
    if (prepared_ && prepared_->started.core)
        prepared_->started.core->stop();
}

std::optional<int> CKeyloomApp::prepare(const std::vector<std::string_view>& arguments) {
    auto prepared = std::make_unique<Prepared>();
    instance::StartupArguments& args = prepared->args;
    args = instance::parseStartupArguments(arguments);
    if (args.help) {
        printUsage(stdout);
        return 0;
    }
    for (const std::string& problem : args.problems)
        std::fprintf(stderr, "keyloom: %s\n", problem.c_str());

    AppPathsOptions options;
    options.dataFolder = args.dataDir;
    AppPaths& paths = prepared->paths;
    const AppPathsStatus status = buildAppPaths(options, paths);
    if (status != AppPathsStatus::Ok) {
        std::fprintf(stderr, "keyloom: %s\n", describeAppPathsStatus(status));
        return 1;
    }
    prepared->registry = std::make_shared<registry::Registry>(paths.registryFile);
    auto languages = std::make_shared<LanguageFiles>(paths.programFolder, prepared->registry,
                                                     systemLanguageId());
    // Parsed here, before the keyboard's read starts: the read looks up a
    // text half-way (the name given to unnamed macros), and the file's first
    // parse would otherwise fall between two of its exchanges, or wait for
    // the window's texts parsing it.
    languages->loadCurrentLanguage();
    installLanguageFiles(languages);
    SetKeyTextLookup([](std::string_view key) { return lookupText(key); });

    if (!args.trace.empty() && !ReportTrace::instance().open(args.trace)) {
        std::fprintf(stderr, "keyloom: cannot open the trace file %s\n", args.trace.c_str());
        return 2;
    }

    // Instance control before anything that other instances would notice.
    instance::InstanceControl& control = prepared->control;
    if (control.run(args) == instance::StartDecision::Exit)
        return control.exitCode();

    // The data folder is ready before the simulated keyboard keeps its state
    // file there (which would create the folder and so skip its first-run
    // seeding) and before the first full read keeps its slot file there.
    prepareDataFolder(paths);
    if (!args.simulate.empty()) {
        std::string error;
        if (!sim::startSimulation(args.simulate, hid::HidPlatform::system(), prepared->simulation,
                                  error)) {
            std::fprintf(stderr, "keyloom: %s\n", error.c_str());
            return 2;
        }
        if (!prepared->simulation.message.empty())
            std::fprintf(stderr, "keyloom: %s\n", prepared->simulation.message.c_str());
    }
    prepared->events =
        std::async(std::launch::async, [] { return instance::NamedEvents::create(); });

    // The core starts now: the keyboard is found and read while the toolkit
    // and the window are built, and what it tells the window waits in the
    // port until the window takes it over.
    CoreSetup core;
    core.startHidden = control.startHidden();
    prepared->started.port = std::make_unique<MainWindowPort>();
    prepared->started.core =
        std::make_unique<KeyloomCore>(prepared->started.port->coreWindow(), paths, core);
    prepared->started.core->start();
    prepared_ = std::move(prepared);
    return std::nullopt;
}

int CKeyloomApp::run() {
    Prepared& prepared = *prepared_;
    const AppPaths& paths = prepared.paths;
    instance::InstanceControl& control = prepared.control;

    // The companion program is started only when it is there; nothing waits
    // for it or talks to it.
    if (::access(paths.companionProgram.c_str(), X_OK) == 0)
        QProcess::startDetached(QString::fromStdString(paths.companionProgram), {});

    DialogSetup setup;
    setup.paths = paths;
    setup.registry = prepared.registry;
    setup.core.startHidden = control.startHidden();
    CKeyloomDlg dialog(std::move(setup), std::move(prepared.started));
    const InitResult init = dialog.initialise();
    if (!init.ok) {
        // Without its pictures the window cannot be drawn; say which one so
        // the end of the program is no mystery.
        std::fprintf(stderr, "keyloom: cannot load the skin picture %s\n",
                     init.missingPicture.c_str());
        dialog.shutdown();
        control.release();
        return 0;
    }
    // The desktop and keyloomctl reach this window over the session bus; the
    // window works on without it.
    KeyloomBusService bus(dialog);
    if (std::string busError; !bus.start(busError))
        std::fprintf(stderr, "keyloom: %s; keyloomctl and desktop shortcuts will not reach it\n",
                     busError.c_str());

    std::unique_ptr<QSocketNotifier> requests;
    if (instance::InstanceServer* server = control.server())
        requests = listenForInstanceRequests(*server, dialog);

    if (prepared.args.simulate.empty())
        QTimer::singleShot(0, &dialog, [&dialog] { tellWhenKeyboardIsBlocked(dialog); });

    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&dialog, &CKeyloomDlg::exitRequested, qApp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QApplication::exec();

    requests.reset();
    dialog.shutdown();
    control.release();
    prepared.events.get().close();
    return 0;
}

}  // namespace keyloom::shell
