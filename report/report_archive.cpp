#include "report/report_archive.h"

#include "engine/tree_walk.h"
#include "report/archive_reader.h"
#include "report/archive_writer.h"
#include "report/record_copy.h"

namespace kavlo::report {
namespace {

// Every list element starts with at least a WORD tag.
constexpr std::size_t kMinElementBytes = 2;
constexpr std::uint64_t kCopyAllowance = 1 << 20;

// ------------------------------------------------------------------ writing

class RecordWriter {
public:
    explicit RecordWriter(ArchiveWriter& out) : out_(out) {}

    void Report(const ReportContents& report) {
        out_.Dword(kFormatVersion);
        out_.Dword(kBuildNumber);
        Navigation(report.navigation);
        Title(report.infoPage);
        out_.Count(report.catalog.size());
        for (const auto& file : report.catalog) {
            out_.NewObject(RecordClass::ScriptRecord);
            File(*file);
        }
    }

private:
    // `fields` writes a node's own fields and its count of children; every node
    // below the root is an object of its own.
    template <class Node, class WriteFields>
    void Subtree(const Node& root, RecordClass cls, WriteFields fields) {
        const WalkEnd end = WalkTree(root, kMaxNesting - 1, [&](const Node& node, std::size_t depth) {
            if (depth > 0) out_.NewObject(cls);
            fields(node);
            return out_.ok() ? Visit::Children : Visit::Stop;
        });
        if (end == WalkEnd::TooDeep) TooDeep();
    }

    void Navigation(const NavNode& root) {
        Subtree(root, RecordClass::NavNode, [this](const NavNode& node) { NavigationFields(node); });
    }

    void NavigationFields(const NavNode& node) {
        out_.String(node.Text());
        out_.Dword(node.key());
        out_.Count(node.children().size());
    }

    void Tree(const ResultNode& root) {
        Subtree(root, RecordClass::ResultNode, [this](const ResultNode& node) {
            out_.String(node.title());
            out_.Count(node.children().size());
        });
    }

    void Title(const TitleRecord& title) {
        out_.Dword(static_cast<std::uint32_t>(title.runPending));
        out_.Dword(title.treeKey);
        out_.String(title.name);
        out_.String(title.text);
        out_.String(title.kind);
        out_.String(title.kindDetail);
        out_.String(title.header1);
        out_.String(title.header2);
        if (title.HasTree()) Tree(title.root);
    }

    void File(const ScriptRecord& file) {
        out_.String(file.path);
        out_.Dword(file.treeKey);
        out_.String(file.fileName);
        out_.Count(file.titles.size());
        for (const auto& title : file.titles) {
            out_.NewObject(RecordClass::TitleRecord);
            Title(*title);
        }
    }

    void TooDeep() { out_.Fail(); }

    ArchiveWriter& out_;
};

// ------------------------------------------------------------------ reading

class RecordReader {
public:
    // Copies made for back-references may cost about as much memory as the file
    // itself, plus a little for tiny files; more means the file is an expansion bomb.
    RecordReader(ArchiveReader& in, BuildBudget& total) : in_(in), total_(total) {
        budget_.bytesLeft = in.Size() + kCopyAllowance;
        budget_.total = &total;
        in_.SetBudget(&total);
    }

    bool Report(ReportContents& report) {
        char start[3];
        if (!in_.Peek(start, sizeof start)) return Fail();
        report.legacy = *IsLegacyStart(start, sizeof start);
        if (report.legacy) {
            report.formatVersion = 0;
            report.buildNumber = 0;
        } else {
            report.formatVersion = in_.Dword();
            report.buildNumber = in_.Dword();
        }
        version_ = report.formatVersion;
        if (!Navigation(report.navigation) || !TitleFields(report.infoPage)) return false;
        const std::uint32_t count = in_.Count(kMinElementBytes);
        for (std::uint32_t i = 0; i < count && !in_.failed(); ++i) {
            auto file = FileElement();
            if (!file) return false;
            report.catalog.push_back(std::move(file));
        }
        if (in_.failed()) return false;
        // Nothing may follow the catalog.
        if (in_.Remaining() != 0) return Fail();
        return true;
    }

private:
    bool Fail() {
        in_.Fail();
        return false;
    }

    /// The object a back-reference names, when it is of the expected class and
    /// completely read (an incomplete one is an ancestor: the reference would be a cycle).
    template <class Record>
    const Record* Earlier(const ObjectRef& ref, RecordClass expected) {
        bool complete = false;
        const void* object = in_.ObjectAt(ref.number, &complete);
        if (!object || !complete || ref.cls != expected) return nullptr;
        return static_cast<const Record*>(object);
    }

    // Reads the nested child lists below a root whose own fields are read;
    // `fields` reads a new node's fields and returns its number of children.
    // Walked with an explicit stack: the depth comes from the file.
    template <class Node, class ReadFields, class CopyEarlier>
    bool Subtree(Node& root, std::uint32_t rootChildren, RecordClass cls, ReadFields fields, CopyEarlier copyEarlier) {
        struct Frame {
            Node* node;
            std::uint32_t left;
            std::uint32_t number;
        };
        std::vector<Frame> stack;
        stack.push_back({&root, rootChildren, 0});
        while (!stack.empty()) {
            if (in_.failed()) return false;
            Frame& top = stack.back();
            if (top.left == 0) {
                in_.MarkComplete(top.number);
                stack.pop_back();
                continue;
            }
            --top.left;
            Node* parent = top.node;
            const auto ref = in_.Reference();
            if (!ref || ref->cls != cls) return Fail();
            if (ref->kind == ObjectRef::Kind::Existing) {
                const Node* earlier = Earlier<Node>(*ref, cls);
                if (!earlier) return Fail();
                auto copy = copyEarlier(*earlier, kMaxNesting - stack.size(), budget_);
                if (!copy) return Fail();
                parent->AppendChild(std::move(copy));
                continue;
            }
            if (stack.size() >= kMaxNesting || !total_.TakeNode(sizeof(Node))) return Fail();
            Node& child = parent->AppendChild(std::make_unique<Node>());
            in_.Bind(ref->number, &child);
            const std::uint32_t children = fields(child);
            stack.push_back({&child, children, ref->number});
        }
        return !in_.failed();
    }

    bool Navigation(NavNode& root) {
        return Subtree(
            root, NavigationFields(root), RecordClass::NavNode,
            [this](NavNode& node) { return NavigationFields(node); }, CopyNavigation);
    }

    std::uint32_t NavigationFields(NavNode& node) {
        node.SetText(in_.String());
        node.set_key(in_.Dword());
        return in_.Count(kMinElementBytes);
    }

    std::uint32_t TreeFields(ResultNode& node) {
        node.set_title(in_.String());
        return in_.Count(kMinElementBytes);
    }

    bool Tree(ResultNode& root) {
        return Subtree(
            root, TreeFields(root), RecordClass::ResultNode, [this](ResultNode& node) { return TreeFields(node); },
            CopyTree);
    }

    bool TitleFields(TitleRecord& title) {
        title.runPending = static_cast<std::int32_t>(in_.Dword());
        title.treeKey = in_.Dword();
        title.name = in_.String();
        title.text = in_.String();
        title.kind = in_.String();
        title.kindDetail = in_.String();
        title.header1 = in_.String();
        if (version_ >= kFormatVersion) title.header2 = in_.String();
        if (in_.failed()) return false;
        if (title.HasTree() && !Tree(title.root)) return false;
        return !in_.failed();
    }

    std::unique_ptr<TitleRecord> TitleElement(ScriptRecord* owner) {
        const auto ref = in_.Reference();
        if (!ref || ref->cls != RecordClass::TitleRecord) return Fail(), nullptr;
        if (ref->kind == ObjectRef::Kind::Existing) {
            const TitleRecord* earlier = Earlier<TitleRecord>(*ref, RecordClass::TitleRecord);
            if (!earlier) return Fail(), nullptr;
            auto copy = CopyTitle(*earlier, owner, budget_);
            if (!copy) Fail();
            return copy;
        }
        if (!total_.TakeNode(sizeof(TitleRecord))) return Fail(), nullptr;
        auto title = std::make_unique<TitleRecord>(std::string(), owner);
        in_.Bind(ref->number, title.get());
        if (!TitleFields(*title)) return nullptr;
        in_.MarkComplete(ref->number);
        return title;
    }

    std::unique_ptr<ScriptRecord> FileElement() {
        const auto ref = in_.Reference();
        if (!ref || ref->cls != RecordClass::ScriptRecord) return Fail(), nullptr;
        if (ref->kind == ObjectRef::Kind::Existing) {
            const ScriptRecord* earlier = Earlier<ScriptRecord>(*ref, RecordClass::ScriptRecord);
            if (!earlier) return Fail(), nullptr;
            auto copy = CopyFile(*earlier, budget_);
            if (!copy) Fail();
            return copy;
        }
        if (!total_.TakeNode(sizeof(ScriptRecord))) return Fail(), nullptr;
        auto file = std::make_unique<ScriptRecord>();
        in_.Bind(ref->number, file.get());
        file->path = in_.String();
        file->treeKey = in_.Dword();
        file->fileName = in_.String();
        const std::uint32_t count = in_.Count(kMinElementBytes);
        for (std::uint32_t i = 0; i < count && !in_.failed(); ++i) {
            auto title = TitleElement(file.get());
            if (!title) return nullptr;
            file->titles.push_back(std::move(title));
        }
        if (in_.failed()) return nullptr;
        in_.MarkComplete(ref->number);
        return file;
    }

    ArchiveReader& in_;
    BuildBudget& total_;
    CopyBudget budget_;
    std::uint32_t version_ = 0;
};

}  // namespace

WriteStatus WriteReport(const ReportContents& report, ByteSink& sink) {
    ArchiveWriter out(sink);
    RecordWriter writer(out);
    writer.Report(report);
    if (out.Flush()) return WriteStatus::Ok;
    return out.sinkFailed() ? WriteStatus::SinkFailed : WriteStatus::NotWritable;
}

std::optional<bool> IsLegacyStart(const char* firstBytes, std::size_t size) {
    if (size < 3) return std::nullopt;
    return firstBytes[2] != 0;
}

ReadStatus ReadReport(ByteSource& source, ReportContents& out, const ReadOptions& options) {
    ArchiveReader in(source, options.codePage);
    ReportContents read;
    BuildBudget total(options.maxNodes, options.maxMemoryBytes);
    RecordReader reader(in, total);
    if (!reader.Report(read) || in.failed()) return in.sourceFailed() ? ReadStatus::ReadError : ReadStatus::FormatError;
    out = std::move(read);
    return ReadStatus::Ok;
}

}  // namespace kavlo::report
