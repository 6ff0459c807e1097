#pragma once
// The result records: result tree nodes, titles, script files and the navigation
// model. The document owns files, files own titles, titles embed their tree root.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo {

class ScriptRecord;
class ScriptFile;

/// Deepest level a result tree reaches (its root is level 1); report files hold
/// trees up to exactly this depth, so every gathered tree can be saved.
inline constexpr std::size_t kMaxTreeLevels = 10000;

/// One node of a title's result tree.
class ResultNode {
public:
    ResultNode() = default;
    ResultNode(std::string title, std::string detail) : title_(std::move(title)), detail_(std::move(detail)) {}
    ResultNode(std::string title, std::string detail, std::string extra)
        : title_(std::move(title)), detail_(std::move(detail)), extra_(std::move(extra)) {}
    ResultNode(const ResultNode&) = delete;
    ResultNode& operator=(const ResultNode&) = delete;
    ResultNode(ResultNode&&) noexcept = default;
    ResultNode& operator=(ResultNode&&) noexcept = default;
    ~ResultNode();

    /// Creates, appends and returns a child; below a parent with `extra` the
    /// argument's first comma splits the child's title from its own `extra`.
    ResultNode& AddChild(std::string_view argument);
    /// Appends an already built child (used by the report reader).
    ResultNode& AppendChild(std::unique_ptr<ResultNode> child);
    /// Destroys every descendant and empties the node stack.
    void DeleteSubtree();

    // node stack, used on a title's root while the title runs
    void Push(ResultNode* node) { nodeStack_.push_back(node); }
    void Pop() {
        if (!nodeStack_.empty()) nodeStack_.pop_back();
    }
    ResultNode* Top() const { return nodeStack_.empty() ? nullptr : nodeStack_.back(); }
    void ClearStack() { nodeStack_.clear(); }
    /// The node the next child goes below: the top of the stack, or this node
    /// when the stack is empty. Trees stop growing deeper at kMaxTreeLevels (this
    /// node being level 1): a node at the last level takes no children, its
    /// parent takes them instead, so nothing a script adds is lost.
    ResultNode& Current() {
        if (nodeStack_.empty()) return *this;
        if (nodeStack_.size() >= kMaxTreeLevels - 1) return *nodeStack_[kMaxTreeLevels - 3];
        return *nodeStack_.back();
    }

    const std::string& title() const { return title_; }
    void set_title(std::string t) { title_ = std::move(t); }
    const std::string& detail() const { return detail_; }
    const std::string& extra() const { return extra_; }
    void SetExtra(std::string e) { extra_ = std::move(e); }
    void SetTitleAndDetail(std::string t, std::string d) {
        title_ = std::move(t);
        detail_ = std::move(d);
    }
    const std::vector<std::unique_ptr<ResultNode>>& children() const { return children_; }
    /// Number of nodes in this subtree, this node included.
    std::size_t CountNodes() const;
    /// Moves the children out (for iterative teardown of deep trees).
    void DetachChildrenInto(std::vector<std::unique_ptr<ResultNode>>& out);

private:
    std::string title_;
    std::vector<std::unique_ptr<ResultNode>> children_;
    std::vector<ResultNode*> nodeStack_;
    std::string detail_;
    std::string extra_;
};

/// One title of a script and its gathered result.
class TitleRecord {
public:
    TitleRecord() = default;
    TitleRecord(std::string name, ScriptRecord* owner) : owner(owner), name(std::move(name)) {}

    /// Sets kind and kindDetail from a kind line (header lines are read by the catalog).
    void SetKindLine(std::string_view line);
    /// SetKindLine, then reads the header lines the kind needs from the script:
    /// header1 for "filelist" and "col", header2 for "filelist"; none without a comma.
    void ParseKindLine(ScriptFile& file, std::string_view line);
    bool KindNeedsHeader1() const;
    bool KindNeedsHeader2() const;
    void AppendText(std::string_view more) { text.append(more); }
    void ClearText() { text.clear(); }
    /// header2 for "filelist" kinds, else header1.
    const std::string& SortTypes() const;
    // What the kind asks for. A kind line names one kind, but stored reports and scripts
    // rely on the word being found anywhere in it ("treexptxt" is a tree and an expandable tree).
    bool KindContains(std::string_view word) const { return kind.find(word) != std::string::npos; }
    bool HasTree() const { return KindContains("tree"); }
    bool IsExpandableTree() const { return KindContains("treexp"); }
    bool IsFileList() const { return KindContains("filelist"); }
    bool IsList() const { return IsFileList() || KindContains("col"); }
    bool TakesText() const { return KindContains("text"); }
    /// Clears text; for tree kinds empties the tree and names its root.
    void PrepareRun();
    ResultNode& Root() { return root; }
    const ResultNode& Root() const { return root; }
    std::string ScriptPath() const;

    ScriptRecord* owner = nullptr;
    std::string name;
    std::uint32_t treeKey = 0;
    std::uint32_t startOffset = 0;
    bool hasBody = false;  ///< false for a listed title without a "[TITLE]" body
    std::string kind, kindDetail, header1, header2;
    std::string text;
    std::int32_t runPending = 1;
    ResultNode root;
};

/// One script file of the catalog.
class ScriptRecord {
public:
    ScriptRecord() = default;
    ScriptRecord(std::string path, std::string fileName) : path(std::move(path)), fileName(std::move(fileName)) {}
    ScriptRecord(const ScriptRecord&) = delete;
    ScriptRecord& operator=(const ScriptRecord&) = delete;

    /// The title whose name equals the text exactly, or null.
    TitleRecord* FindTitle(std::string_view title);
    TitleRecord& AddTitle(std::string title);

    std::string path;
    std::string fileName;
    std::uint32_t treeKey = 0;
    std::vector<std::unique_ptr<TitleRecord>> titles;
    std::string engine, version, date;
};

/// One item of the navigation model that mirrors the left pane.
class NavNode {
public:
    static constexpr std::uint32_t kRootMarker = 0xFFFF0000u;

    NavNode() = default;
    NavNode(std::uint32_t key, std::string text) : text_(std::move(text)), key_(key) {}
    NavNode(const NavNode&) = delete;
    NavNode& operator=(const NavNode&) = delete;
    NavNode(NavNode&&) noexcept = default;
    NavNode& operator=(NavNode&&) noexcept = default;
    ~NavNode();

    /// With parentKey kRootMarker sets this item's own key and text; otherwise
    /// appends a child under the item with that key (nothing when there is none).
    void Add(std::uint32_t parentKey, std::uint32_t key, std::string text);
    NavNode* Find(std::uint32_t key);
    std::uint32_t ValueOf(std::uint32_t key);
    void SetValue(std::uint32_t v) { value_ = v; }
    /// Destroys every descendant (iteratively: models read from files can be deep).
    void DeleteChildren();

    const std::string& Text() const { return text_; }
    void SetText(std::string t) { text_ = std::move(t); }
    std::uint32_t key() const { return key_; }
    void set_key(std::uint32_t k) { key_ = k; }
    std::uint32_t value() const { return value_; }
    const std::vector<std::unique_ptr<NavNode>>& children() const { return children_; }
    NavNode& AppendChild(std::unique_ptr<NavNode> child);

private:
    std::string text_;
    std::uint32_t key_ = 0;
    std::uint32_t value_ = 0;
    std::vector<std::unique_ptr<NavNode>> children_;
};

}  // namespace kavlo
