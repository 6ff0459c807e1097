#include "ui/app/app.h"

#include <winsock2.h>
#include <ole2.h>
#include <commctrl.h>

#include "engine/os_detection.h"
#include "platform/machine_factory.h"
#include "ui/app/automation.h"
#include "ui/app/document.h"
#include "ui/app/report_argument.h"
#include "ui/frame/main_frame.h"
#include "present/report_paths.h"
#include "ui/resource.h"
#include "ui/timed/timed_dialog.h"
#include "ui/win/text.h"
#include "ui/wizard/wizard.h"

namespace kavlo::ui {

KavloApp::KavloApp(AppOptions options) : options_(std::move(options)) {}

KavloApp::~KavloApp() {
    frame_.reset();
    document_.reset();
    context_.reset();
    machine_.reset();
    if (oleStarted_) OleUninitialize();
    if (socketsStarted_) WSACleanup();
    if (richEdit_) FreeLibrary(richEdit_);
}

bool KavloApp::InitInstance() {
    // 1. The operating system.
    platform::MachineChoice choice = platform::OpenMachine(options_.machineFolder);
    if (!choice.machine) {
        MessageBoxText(nullptr, Widen(choice.error).c_str(), MB_OK | MB_ICONSTOP);
        exitCode_ = 1;
        return false;
    }
    machine_ = std::move(choice.machine);
    OsInfo os = DetectOs(*machine_);

    // 2. Sockets and OLE.
    WSADATA wsa{};
    if (WSAStartup(MAKEWORD(1, 1), &wsa) != 0) {
        MessageBoxText(nullptr, std::wstring(LoadStringView(IDS_SOCKETS_INIT_FAILED)).c_str(), MB_OK | MB_ICONSTOP);
        exitCode_ = 1;
        return false;
    }
    socketsStarted_ = true;
    if (FAILED(OleInitialize(nullptr))) {
        MessageBoxText(nullptr, std::wstring(LoadStringView(IDS_OLE_INIT_FAILED)).c_str(), MB_OK | MB_ICONSTOP);
        exitCode_ = 1;
        return false;
    }
    oleStarted_ = true;

    // 3. Controls: common controls and the rich edit classes of the views.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    richEdit_ = LoadLibraryW(L"MSFTEDIT.DLL");

    // 4. The single document (a new report of the current directory).
    wchar_t directory[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(static_cast<DWORD>(std::size(directory)), directory);
    context_ = std::make_unique<AppContext>(*machine_, std::move(os), Narrow(directory));
    document_ = std::make_unique<Document>(*context_);

    // 5. The command line, for the timed-report settings only.
    timed_ = ParseTimedSettings(SplitCommandLine(Narrow(options_.commandLine)),
                                WindowsDriveRoot(machine_->WindowsDirectory()));
    if (timed_.timed && !timed_.error.empty()) {
        MessageBoxText(nullptr, Widen(timed_.error).c_str(), MB_OK | MB_ICONSTOP);
        exitCode_ = 2;
        return false;
    }

    // 6. Automation and embedding starts serve the class object only.
    if (IsAutomationStart(options_.commandLine)) {
        exitCode_ = RunAutomationServer();
        return false;
    }

    // 7. Registration, the new document, the main window.
    if (options_.registerServer) {
        wchar_t exe[MAX_PATH * 2] = {};
        GetModuleFileNameW(nullptr, exe, static_cast<DWORD>(std::size(exe)));
        UpdateServerRegistration(exe);
    }
    document_->New();
    frame_ = std::make_unique<CMainFrame>(*document_);
    if (!frame_->Create()) {
        exitCode_ = 1;
        return false;
    }
    frame_->leftView().BuildForNewDocument();
    frame_->splitter().SetLeftWidth(frame_->leftView().PreferredWidth());
    frame_->UpdateTitle();
    ShowWindow(frame_->hwnd(), SW_SHOW);
    UpdateWindow(frame_->hwnd());

    // A report named on the command line (the shell's "open" of a report file)
    // is shown instead of the wizard; a failed open leaves the new report.
    const std::string report = ReportPathArgument(Narrow(options_.commandLine));
    if (!report.empty() && !timed_.timed) openedFromCommandLine_ = frame_->OpenReport(report);
    return true;
}

bool KavloApp::RunStartDialogs() {
    auto save = [this](const std::string& path, HWND owner) { return frame_->SaveWithProgress(path, owner); };
    if (timed_.timed) {
        TimedDialog dialog(*document_, timed_, save);
        dialog.RunModal(frame_->hwnd());
        return false;
    }
    if (!options_.showWizard || openedFromCommandLine_) return true;
    auto moved = [this](const std::string& from, const std::string& to) { frame_->ReportMoved(from, to); };
    ReportWizard wizard(*document_, save, moved);
    return !wizard.Run(frame_->hwnd());
}

int KavloApp::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (frame_ && frame_->PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

int RunKavlo(const AppOptions& options) {
    KavloApp app(options);
    if (!app.InitInstance()) return app.exitCode();
    if (!app.RunStartDialogs()) {
        DestroyWindow(app.frame().hwnd());
        return 0;
    }
    return app.Run();
}

}  // namespace kavlo::ui
