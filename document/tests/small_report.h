#pragma once
// A small report built in memory, shared by the document and command tests:
// one script of four titles (text, a file list, an expandable tree and one
// that was never gathered) below "PC1  [local computer]".

#include <cstdint>
#include <memory>

#include "report/report_file.h"

namespace kavlo::testing {

inline report::ReportContents SmallReport() {
    report::ReportContents report;
    report.navigation.Add(NavNode::kRootMarker, 100, "PC1  [local computer]");
    report.navigation.Add(100, 200, "Base");
    for (std::uint32_t key : {301u, 302u, 303u, 304u}) report.navigation.Add(200, key, "");
    report.infoPage.kind = "text";
    report.infoPage.runPending = 0;
    report.infoPage.text = "Current Date: 03/14/01 21:05:00\n";
    auto file = std::make_unique<ScriptRecord>("C:\\KAVLO\\Base.dbg", "Base");
    file->treeKey = 200;
    const char* names[] = {"Notes", "Files", "Services", "Empty"};
    for (std::uint32_t i = 0; i < 4; ++i) {
        TitleRecord& title = file->AddTitle(names[i]);
        title.treeKey = 301 + i;
        title.runPending = i == 3 ? 1 : 0;
        const_cast<NavNode*>(report.navigation.Find(301 + i))->SetText(names[i]);
    }
    file->titles[0]->kind = "text";
    file->titles[0]->text = "Hello\nW\xE9lt\n";
    file->titles[1]->SetKindLine("filelist,Name,8,Version,10");
    file->titles[1]->text = "0,kernel32.dll,5.0\n1,ntdll.dll,\n";
    TitleRecord& services = *file->titles[2];
    services.SetKindLine("treexptxt,Name,20");
    services.PrepareRun();
    ResultNode& running = services.root.AddChild("[D] Running");
    running.AddChild("[D] Spooler");
    running.AddChild("plain entry");
    services.root.AddChild("{D} Stopped");
    file->titles[3]->kind = "col";
    report.catalog.push_back(std::move(file));
    return report;
}

}  // namespace kavlo::testing
