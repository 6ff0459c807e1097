#include "ui/views/view_list.h"

#include "ui/resource.h"

namespace kavlo::ui {

view_List::view_List() : ContentView(IDD_VIEW_LIST) {}

void view_List::OnInitialUpdate() {
    list_.Attach(Item(IDC_LIST));
    ContentView::OnInitialUpdate();
}

void view_List::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    const bool fileList = title()->KindContains("filelist");
    list_.SetColumns(title()->kindDetail);
    list_.SetRows(DecodeRows(title()->text, fileList), ParseSortTypes(title()->SortTypes()), fileList);
}

INT_PTR view_List::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && list_.HandleNotify(*reinterpret_cast<NMHDR*>(lParam))) return TRUE;
    return ContentView::HandleMessage(message, wParam, lParam);
}

void view_List::Layout(int width, int height) { MoveWindow(Item(IDC_LIST), 0, 0, width, height, TRUE); }

}  // namespace kavlo::ui
