#include "engine/command_table.h"

#include <stdexcept>
#include <string>

namespace kavlo {
namespace {

using G = CommandGroup;
using R = Reads;

struct RowSpec {
    std::string_view name;
    CommandGroup group;
    Reads reads;
    int flag = 0;
};

// Dispatch order: group A, group A2 (NT only), then group B in this order.
constexpr RowSpec kRows[kCommandCount] = {
    {"TETFernwaySettingsLog:", G::A, R::Title},
    {"TERegList:", G::A, R::AfterColon},
    {"CNetstat:", G::A, R::AfterColon},
    {"TRegKeyRightsList:", G::A2, R::AfterColon},
    {"CLFNtoSFN:", G::A2, R::AfterColon},
    {"TERKeyPermList:", G::A2, R::AfterColon},
    {"TERKeyPerm:", G::A2, R::AfterColon},
    {"TEDcomCnfg:", G::A2, R::AfterColon},
    {"TEAppDcomCnfg:", G::A2, R::AfterColon},
    {"[SYSTEM VIDEO]", G::B, R::Block},
    {"TMyPrivilage:", G::B, R::Argument},
    {"CWinShares:", G::B, R::Argument},
    {"CEvtLog:", G::B, R::Argument},
    {"TEWinServerType:", G::B, R::TitleAndFlag, 1},
    {"CWinServerType:", G::B, R::TitleAndFlag, 0},
    {"SwapFileSize:", G::B, R::Argument},
    {"[OTHER]", G::B, R::Nothing},
    {"[OS:", G::B, R::Line},
    {"FileReadTextSection:", G::B, R::Argument},
    {"CPerfMonExe:", G::B, R::Argument},
    {"CPerfMon:", G::B, R::Argument},
    {"SetVar:", G::B, R::Argument},
    {"FileReadText:", G::B, R::Argument},
    {"TextFileExpand:", G::B, R::ArgumentAndFile},
    {"TextLine:", G::B, R::ArgumentAndFile},
    {"Text:", G::B, R::ArgumentAndFile},
    {"TDefaultCryptoProviders:", G::B, R::Argument},
    {"CSystemMemory:", G::B, R::Argument},
    {"CFileSearchPath:", G::B, R::Argument},
    {"CFileSearch:", G::B, R::Argument},
    {"COstrell7Log:", G::B, R::Argument},
    {"CDirSearch:", G::B, R::Argument},
    {"TDrvRightsList:", G::B, R::Argument},
    {"TFilRightsList:", G::B, R::Argument},
    {"TDirRightsList:", G::B, R::Argument},
    {"TDirList:", G::B, R::Argument},
    {"TEDirList:", G::B, R::Argument},
    {"DspAddressCache:", G::B, R::Argument},
    {"DspClient:", G::B, R::Argument},
    {"MIRROLET_CHF:", G::B, R::Argument},
    {"MODEM_INFO:", G::B, R::Argument},
    {"StartService:", G::B, R::Argument},
    {"ServiceInteracts:", G::B, R::Argument},
    {"InstallPath:", G::B, R::Argument},
    {"MyServiceRights:", G::B, R::Argument},
    {"CServiceStatus:", G::B, R::Argument},
    {"ServiceConfg:", G::B, R::Argument},
    {"LogonInfo:", G::B, R::Title},
    {"CFileInfo:", G::B, R::Nothing},
    {"FileInfo:", G::B, R::Argument},
    {"ListAllFileRights:", G::B, R::Argument},
    {"FileSearch:", G::B, R::Argument},
    {"CENUMRVAL:", G::B, R::ArgumentAndFile},
    {"RVAL:", G::B, R::ArgumentAndFile},
    {"RVALPRESENT:", G::B, R::Argument},
    {"RKEYPRESENT:", G::B, R::Argument},
    {"RKEYEXIT:", G::B, R::ArgumentAndFile},
    {"LocalHDSize:", G::B, R::Argument},
    {"PCI_INFO:", G::B, R::Argument},
    {"PCI_DISP:", G::B, R::Argument},
    {"ReadRValStr:", G::B, R::Argument},
    {"RunningApps:", G::B, R::Title},
    {"StartUpApps:", G::B, R::Title},
    {"MIRROLET_NET:", G::B, R::Title},
    {"TRoot:", G::B, R::Argument},
    {"TAddChild:", G::B, R::Argument},
    {"TBack:", G::B, R::Argument},
    {"TIRCheck:", G::B, R::Argument},
    {"TIRTextValue:", G::B, R::ArgumentAndFile},
    {"TIFCheck:", G::B, R::Argument},
    {"TIFTextValue:", G::B, R::ArgumentAndFile},
    {"TCOstrell7Main:", G::B, R::ArgumentAndFile},
    {"TAddText:", G::B, R::Argument},
    {"IF", G::B, R::ArgumentAndFile},
};

std::size_t BucketOf(CommandGroup group, unsigned char first) { return static_cast<std::size_t>(group) * 256 + first; }
}  // namespace

CommandTable::CommandTable() {
    for (std::size_t i = 0; i < kCommandCount; ++i)
        rows_[i] = CommandRow{kRows[i].name, kRows[i].group, kRows[i].reads, kRows[i].flag, nullptr};
    // Counting sort by bucket keeps table order inside each bucket.
    std::array<std::uint16_t, kGroups * 256 + 1> counts{};
    for (const CommandRow& row : rows_) ++counts[BucketOf(row.group, static_cast<unsigned char>(row.name[0])) + 1];
    for (std::size_t b = 1; b < counts.size(); ++b) counts[b] = static_cast<std::uint16_t>(counts[b] + counts[b - 1]);
    bucketStart_ = counts;
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        const std::size_t b = BucketOf(rows_[i].group, static_cast<unsigned char>(rows_[i].name[0]));
        byFirst_[counts[b]++] = static_cast<std::uint8_t>(i);
    }
}

std::span<const std::uint8_t> CommandTable::Candidates(CommandGroup group, unsigned char first) const {
    const std::size_t b = BucketOf(group, first);
    return std::span<const std::uint8_t>(byFirst_.data() + bucketStart_[b], byFirst_.data() + bucketStart_[b + 1]);
}

bool CommandTable::Bind(std::string_view name, Handler handler) {
    for (CommandRow& row : rows_) {
        if (row.name != name) continue;
        if (handler == nullptr || row.reads == R::Nothing) return false;
        row.handler = handler;
        return true;
    }
    return false;
}

void CommandTable::BindAll(std::initializer_list<std::pair<std::string_view, Handler>> bindings) {
    for (const auto& [name, handler] : bindings)
        if (!Bind(name, handler)) throw std::logic_error("no command row can take a handler: " + std::string(name));
}

const CommandRow* CommandTable::Find(std::string_view name) const {
    for (const CommandRow& row : rows_)
        if (row.name == name) return &row;
    return nullptr;
}

}  // namespace kavlo
