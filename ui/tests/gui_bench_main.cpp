// GUI benchmark under Wine: the time from handing a large title to the right
// pane until the pane is drawn and the program answers again, and the time to
// leave it, with the process's peak memory. One case per run, so that the
// peak belongs to that case: kavlo_gui_bench CASE [SIZE].
//   text MB        a text title of MB megabytes in lines of 64 characters
//   tree N         a tree of N nodes (N / 100 parents of 100 children each)
//   exptree N      the same as an expandable tree ("[D] " nodes)
// (what docs/ui.md claims of large titles: the text shows at once, trees
// insert a node's children when it is first expanded).

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui/frame/main_frame.h"
#include "ui/tests/ui_driver.h"

using namespace kavlo;
using namespace kavlo::ui;

namespace {

double Seconds(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

double PeakMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

void Fill(TitleRecord& title, const std::string& kind, long size) {
    title.runPending = 0;
    title.kind = kind;
    if (kind == "text") {
        const std::string line(63, 'x');
        const long bytes = size * 1024 * 1024;
        title.text.reserve(static_cast<std::size_t>(bytes));
        while (static_cast<long>(title.text.size()) + 64 <= bytes) title.text.append(line).push_back('\n');
    } else {
        const bool expandable = kind == "treexp";
        const char* marker = expandable ? "[D] " : "";
        for (long parent = 0; parent < size / 100; ++parent) {
            ResultNode& node = title.Root().AddChild(std::string(marker) + "parent " + std::to_string(parent));
            for (int child = 0; child < 99; ++child)
                node.AddChild(std::string(marker) + "child " + std::to_string(child));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kavlo_gui_bench text|tree|exptree [SIZE]\n");
        return 2;
    }
    const std::string which = argv[1];
    const long size = argc > 2 ? std::atol(argv[2]) : (which == "text" ? 10 : 100000);
    const std::string kind = which == "exptree" ? "treexp" : which;
    const ViewKind view = which == "text" ? ViewKind::Text : which == "tree" ? ViewKind::Tree : ViewKind::ExpTree;

    KavloApp app(testing::SampleOptions());
    if (!app.InitInstance()) return 1;
    MoveWindow(app.frame().hwnd(), 0, 0, 1000, 700, TRUE);
    testing::PumpFor(300);
    TitleRecord title("bench", nullptr);
    Fill(title, kind, size);
    const double before = PeakMegabytes();

    // Shown: the view filled, drawn, and the queue empty again.
    auto start = std::chrono::steady_clock::now();
    ContentView* pane = app.frame().ReplaceRightView(view);
    pane->ShowTitle(&title);
    app.frame().UpdateAllViews(kHintShowTitle);
    RedrawWindow(app.frame().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpFor(0);
    const double shown = Seconds(start);

    start = std::chrono::steady_clock::now();
    app.frame().leftView().ShowInformationPage();
    RedrawWindow(app.frame().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testing::PumpFor(0);
    const double left = Seconds(start);

    std::printf("%-8s %8ld  shown %7.3f s  left %7.3f s  peak %7.1f MB (%7.1f MB with the title, before showing)\n",
                which.c_str(), size, shown, left, PeakMegabytes(), before);
    DestroyWindow(app.frame().hwnd());
    return 0;
}
