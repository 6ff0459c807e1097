#include "ui/views/list_pane.h"

#include "ui/resource.h"

namespace kavlo::ui {

ListPane::ListPane() : ContentView(IDD_VIEW_LIST) {}

void ListPane::OnInitialUpdate() {
    list_.Attach(Item(IDC_LIST));
    ContentView::OnInitialUpdate();
}

void ListPane::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    const bool fileList = title()->IsFileList();
    list_.SetColumns(title()->kindDetail);
    list_.SetRows(DecodeRows(title()->text, fileList), ParseSortTypes(title()->SortTypes()), fileList);
}

INT_PTR ListPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && list_.HandleNotify(*reinterpret_cast<NMHDR*>(lParam))) return TRUE;
    return ContentView::HandleMessage(message, wParam, lParam);
}

void ListPane::Layout(int width, int height) { MoveWindow(Item(IDC_LIST), 0, 0, width, height, TRUE); }

}  // namespace kavlo::ui
