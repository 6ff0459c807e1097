#pragma once
// The application object: start-up in its order, the single document, the main
// window, and then the timed-report dialog or the wizard.

#include <windows.h>

#include <memory>
#include <string>

#include "engine/app_context.h"
#include "platform/machine.h"
#include "present/timed_mode.h"

namespace kavlo::ui {

class CMainFrame;
class Document;

/// How the program was started (tests start it with a simulated machine).
struct AppOptions {
    std::string machineFolder;   ///< empty: the real machine
    std::wstring commandLine;    ///< the parameters after the program name
    bool showWizard = true;      ///< tests drive the wizard themselves
    bool registerServer = true;  ///< update the automation registration
};

class KavloApp {
public:
    explicit KavloApp(AppOptions options);
    ~KavloApp();

    /// Start-up up to the shown main window. False (after telling the user) when
    /// the program has to end; `exitCode` then says how.
    bool InitInstance();
    /// The timed dialog or the wizard; true when the main window stays for browsing.
    bool RunStartDialogs();
    /// The message loop of the main window.
    int Run();

    CMainFrame& frame() { return *frame_; }
    Document& document() { return *document_; }
    AppContext& context() { return *context_; }
    const TimedSettings& timedSettings() const { return timed_; }
    int exitCode() const { return exitCode_; }
    /// A report named on the command line was opened (the wizard is skipped).
    bool openedFromCommandLine() const { return openedFromCommandLine_; }

private:
    AppOptions options_;
    std::unique_ptr<platform::Machine> machine_;
    std::unique_ptr<AppContext> context_;
    std::unique_ptr<Document> document_;
    std::unique_ptr<CMainFrame> frame_;
    TimedSettings timed_;
    HMODULE richEdit_ = nullptr;
    bool socketsStarted_ = false;
    bool oleStarted_ = false;
    int exitCode_ = 0;
    bool openedFromCommandLine_ = false;
};

/// The whole program: WinMain's body.
int RunKavlo(const AppOptions& options);

}  // namespace kavlo::ui
