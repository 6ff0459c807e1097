#pragma once
// CMainFrame: the main window with its menu, tool bar, status bar and the
// splitter of the navigation tree and the content view.

#include <memory>
#include <string>
#include <vector>

#include "ui/app/document.h"
#include "ui/frame/navigation_view.h"
#include "ui/frame/splitter.h"
#include "ui/win/handles.h"
#include "ui/win/window.h"

namespace kavlo::ui {

class CMainFrame : public Window, public ViewHost {
public:
    explicit CMainFrame(Document& document);
    ~CMainFrame() override;

    bool Create();
    /// Translates accelerators and dialog keys of the frame; true when handled.
    bool PreTranslate(MSG& msg);

    // ViewHost
    ContentView* ReplaceRightView(ViewKind kind) override;
    void UpdateAllViews(int hint) override;

    NavigationView& leftView() { return *leftView_; }
    CSplitter& splitter() { return splitter_; }
    ContentView* rightView() const { return splitter_.RightView(); }
    HWND statusBar() const { return status_; }
    HWND toolBar() const { return toolbar_; }
    /// The text of a status bar pane.
    std::wstring StatusText(int pane) const;

    /// Opens a report as File > Open does after its dialog.
    bool OpenReport(const std::string& path);
    /// Saves the report to a path under the progress dialog; shows failures.
    bool SaveReport(const std::string& path);
    /// Saves under a progress dialog owned by `owner` and returns the outcome.
    DocOutcome SaveWithProgress(const std::string& path, HWND owner);
    /// After the saved report was compressed: the document, recent files and
    /// status bar name the compressed file.
    void ReportMoved(const std::string& from, const std::string& to);
    /// The recently used files, newest first.
    const std::vector<std::string>& recentFiles() const { return recentFiles_; }
    /// F6 moves the focus between the panes; Tab through the tree and the right
    /// pane's controls (backwards with Shift).
    void MoveFocus(bool betweenPanes, bool backwards);
    /// Sets the window title from the document.
    void UpdateTitle();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnCreate();
    void OnSize();
    void OnCommand(int id);
    void OnInitMenuPopup(HMENU menu);
    void OnMenuSelect(UINT id, UINT flags);
    void UpdateToolbarStates();
    void ShowPrompt(UINT id);
    bool ConfirmClose();

    void CommandOpen();
    bool CommandSaveAs();
    void CommandSave();
    void CommandSend();
    void CommandCopy();
    void CommandContact();
    void CommandHelp();
    TextView* PrintableText() const;

    // recently used files
    void LoadRecentFiles();
    void SaveRecentFiles() const;
    void AddRecentFile(const std::string& path);
    void RemoveRecentFile(const std::string& path);
    void ShowFileStatus(const std::string& path);
    void RefreshRecentMenu();

    Document& document_;
    CSplitter splitter_;
    std::unique_ptr<NavigationView> leftView_;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    HACCEL accelerators_ = nullptr;
    UniqueImageList toolbarImages_;
    std::vector<std::string> recentFiles_;
};

}  // namespace kavlo::ui
