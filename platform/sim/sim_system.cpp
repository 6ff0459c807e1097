#include "platform/sim/sim_system.h"

#include "platform/event_record.h"
#include "platform/evt_file.h"
#include "platform/message_table.h"
#include "platform/sim/error_texts.h"

namespace kavlo::platform::sim {
namespace {

constexpr std::string_view kEventLogKey = "SYSTEM\\CurrentControlSet\\Services\\Eventlog\\";
constexpr std::uint64_t kMaxLogFileBytes = 256ull * 1024 * 1024;
constexpr std::uint64_t kMaxMessageFileBytes = 64ull * 1024 * 1024;
constexpr WinError kFileTooLarge = 223;
constexpr WinError kProviderTypeNotDefined = 0x80090017;

// The whole file, refusing sizes beyond `limit` before reading anything.
Result<std::string> ReadWhole(Machine& machine, std::string_view path, std::uint64_t limit) {
    auto file = machine.OpenForRead(path);
    if (!file) return Result<std::string>::Failure(file.error());
    if ((*file)->Size() > limit) return Result<std::string>::Failure(kFileTooLarge);
    std::string bytes(static_cast<std::size_t>((*file)->Size()), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        auto got = (*file)->Read(bytes.data() + filled, bytes.size() - filled);
        if (!got) return Result<std::string>::Failure(got.error());
        if (*got == 0) break;
        filled += *got;
    }
    bytes.resize(filled);
    return bytes;
}

class SimEventLog final : public EventLog {
public:
    SimEventLog(std::string file, std::vector<EvtRecordSpan> records, std::uint32_t codePage)
        : file_(std::move(file)), records_(std::move(records)), next_(records_.size()), codePage_(codePage) {}

    Result<std::string> ReadNewestFirst(std::size_t maxBytes) override {
        std::string out;
        while (next_ > 0) {
            EventRecord record;
            const std::string bytes = EvtRecordBytes(file_, records_[next_ - 1]);
            if (!ParseEventRecord(bytes, EventTextForm::Utf16, codePage_, record)) {
                // The records before the damage are given first; the next read reports it.
                if (out.empty()) return Result<std::string>::Failure(err::kEventLogFileCorrupt);
                break;
            }
            const std::string encoded = EncodeEventRecord(record);
            if (!out.empty() && out.size() + encoded.size() > maxBytes) break;
            out += encoded;
            --next_;
        }
        if (out.empty()) return Result<std::string>::Failure(err::kHandleEof);
        return out;
    }

private:
    std::string file_;                    // the whole log file, read once
    std::vector<EvtRecordSpan> records_;  // oldest first
    std::size_t next_;                    // records [0, next_) are still to be read
    std::uint32_t codePage_;
};

class SimMessageFile final : public MessageFile {
public:
    SimMessageFile(std::optional<MessageTable> table, std::uint32_t codePage)
        : table_(std::move(table)), codePage_(codePage) {}
    Result<std::string> Format(std::uint32_t messageId) const override {
        if (!table_) return Result<std::string>::Failure(err::kResourceTypeNotFound);
        auto text = table_->Find(messageId, codePage_);
        if (!text) return Result<std::string>::Failure(err::kMessageNotFound);
        return ApplyMessageEscapes(*text);
    }

private:
    std::optional<MessageTable> table_;
    std::uint32_t codePage_;
};

class SimCryptoProvider final : public CryptoProvider {
public:
    explicit SimCryptoProvider(const CryptoProviderConfig& config) : config_(config) {}
    Result<std::string> Name() override {
        if (config_.nameError) return Result<std::string>::Failure(config_.nameError);
        return config_.name;
    }
    Result<std::string> Container() override {
        if (config_.containerError) return Result<std::string>::Failure(config_.containerError);
        return config_.container;
    }
    Result<std::uint32_t> Version() override { return config_.version; }
    Result<std::uint32_t> ImplementationType() override { return config_.implementation; }
    Result<std::string> NextContainer(bool first) override {
        if (first) container_ = 0;
        if (container_ >= config_.containers.size()) return Result<std::string>::Failure(err::kNoMoreItems);
        return config_.containers[container_++];
    }
    Result<CryptoAlgorithm> NextAlgorithm(bool first) override {
        if (first) algorithm_ = 0;
        if (algorithm_ >= config_.algorithms.size()) return Result<CryptoAlgorithm>::Failure(err::kNoMoreItems);
        return config_.algorithms[algorithm_++];
    }

private:
    const CryptoProviderConfig& config_;
    std::size_t container_ = 0, algorithm_ = 0;
};

}  // namespace

Result<std::uint32_t> SimServerTypeFlags(const SystemProbeConfig& config) {
    if (!config.networkDescribed) return Result<std::uint32_t>::Failure(err::kModNotFound);
    if (config.serverTypeError) return Result<std::uint32_t>::Failure(config.serverTypeError);
    return config.serverType;
}

Result<std::vector<ShareInfo>> SimShares(const SystemProbeConfig& config) {
    if (!config.networkDescribed) return Result<std::vector<ShareInfo>>::Failure(err::kModNotFound);
    if (config.sharesError) return Result<std::vector<ShareInfo>>::Failure(config.sharesError);
    return config.shares;
}

Result<std::unique_ptr<EventLog>> SimOpenEventLog(Machine& machine, std::string_view logName) {
    using R = Result<std::unique_ptr<EventLog>>;
    auto key = machine.OpenKey(RegRoot::LocalMachine, std::string(kEventLogKey) + std::string(logName));
    // Windows opens the Application log for a name it does not know.
    if (!key || logName.empty())
        key = machine.OpenKey(RegRoot::LocalMachine, std::string(kEventLogKey) + "Application");
    if (!key) return R::Failure(key.error());
    auto file = (*key)->QueryValue("File", 1024);
    if (!file) return R::Failure(file.error());
    std::string path = file->data.substr(0, file->data.find('\0'));
    auto bytes = ReadWhole(machine, machine.ExpandEnvironment(path), kMaxLogFileBytes);
    if (!bytes) return R::Failure(bytes.error());
    EvtFileParse parsed = ReadEvtFile(*bytes);
    // A file damaged part way still gives the records before the damage.
    if (!parsed.error.empty() && parsed.records.empty()) return R::Failure(err::kEventLogFileCorrupt);
    return std::unique_ptr<EventLog>(
        std::make_unique<SimEventLog>(std::move(*bytes), std::move(parsed.records), machine.AnsiCodePage()));
}

Result<std::unique_ptr<MessageFile>> SimLoadMessageFile(Machine& machine, std::string_view path) {
    using R = Result<std::unique_ptr<MessageFile>>;
    auto bytes = ReadWhole(machine, path, kMaxMessageFileBytes);
    if (!bytes) return R::Failure(bytes.error());
    if (bytes->compare(0, 2, "MZ") != 0) return R::Failure(err::kBadExeFormat);
    MemoryBytes image(*bytes);
    return std::unique_ptr<MessageFile>(
        std::make_unique<SimMessageFile>(MessageTable::FromImage(image), machine.AnsiCodePage()));
}

Result<std::string> SimSystemMessage(std::uint32_t messageId) {
    std::string text = SystemErrorText(messageId);
    if (text.rfind("Unknown error ", 0) == 0) return Result<std::string>::Failure(err::kMessageNotFound);
    return text;
}

Result<std::unique_ptr<CryptoProvider>> SimAcquireCryptoProvider(const SystemProbeConfig& config,
                                                                 std::uint32_t providerType) {
    using R = Result<std::unique_ptr<CryptoProvider>>;
    for (const CryptoProviderConfig& provider : config.providers) {
        if (provider.type != providerType) continue;
        if (provider.acquireError) return R::Failure(provider.acquireError);
        return std::unique_ptr<CryptoProvider>(std::make_unique<SimCryptoProvider>(provider));
    }
    return R::Failure(kProviderTypeNotDefined);
}

}  // namespace kavlo::platform::sim
