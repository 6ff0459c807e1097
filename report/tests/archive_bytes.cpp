#include "report/tests/archive_bytes.h"

#include <stdexcept>

namespace kavlo::report::testing {

std::string Write(const ReportContents& report) {
    StringSink sink;
    if (WriteReport(report, sink) != WriteStatus::Ok) throw std::runtime_error("report not writable");
    return sink.bytes;
}

ReadStatus Read(std::string_view bytes, ReportContents& out) {
    MemorySource source(bytes);
    return ReadReport(source, out);
}

ReportContents SampleReport() {
    ReportContents report;
    report.navigation.Add(NavNode::kRootMarker, 1, "OFFICE7  [local computer]");
    report.navigation.Add(1, 2, "Base.dbg");
    report.navigation.Add(2, 3, "Notes");
    report.navigation.Add(2, 4, "System files");
    report.navigation.Add(2, 5, "Services");
    report.infoPage.kind = "text";
    report.infoPage.runPending = 0;
    report.infoPage.text = "Current Date: 03/14/01 21:05:00\n\n";

    auto file = std::make_unique<ScriptRecord>("C:\\KAVLO\\Base.dbg", "Base.dbg");
    file->treeKey = 2;
    TitleRecord& notes = file->AddTitle("Notes");
    notes.treeKey = 3;
    notes.kind = "text";
    notes.text = "Hello\r\nW\xE9lt\n";
    notes.runPending = 0;
    TitleRecord& files = file->AddTitle("System files");
    files.treeKey = 4;
    files.SetKindLine("filelist,Name,20,Version,12");
    files.header1 = "FNAME,FVERSION";
    files.header2 = "ASCIINoCase,NoSort";
    files.text = "kernel32.dll,5.0.2195\n";
    TitleRecord& services = file->AddTitle("Services");
    services.treeKey = 5;
    services.SetKindLine("treexptxt,Name,20,State,10");
    services.PrepareRun();
    ResultNode& running = services.root.AddChild("[D] Running");
    running.AddChild("[D] Spooler");
    running.AddChild("[D] EventLog").AddChild("auto");
    services.root.AddChild("[D] Stopped");
    report.catalog.push_back(std::move(file));
    return report;
}

}  // namespace kavlo::report::testing
