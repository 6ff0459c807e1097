#include "engine/command_table.h"

#include <type_traits>

namespace kavlo {
namespace {

using G = CommandGroup;

struct RowSpec {
    std::string_view name;
    CommandGroup group;
    Form form;
};

// Dispatch order: group A, group A2 (NT only), then group B in this order.
constexpr RowSpec kRows[kCommandCount] = {
    {"TETFernwaySettingsLog:", G::A, Form::T},
    {"TERegList:", G::A, Form::R},
    {"CNetstat:", G::A, Form::R},
    {"TRegKeyRightsList:", G::A2, Form::R},
    {"CLFNtoSFN:", G::A2, Form::R},
    {"TERKeyPermList:", G::A2, Form::R},
    {"TERKeyPerm:", G::A2, Form::R},
    {"TEDcomCnfg:", G::A2, Form::R},
    {"TEAppDcomCnfg:", G::A2, Form::R},
    {"[SYSTEM VIDEO]", G::B, Form::S},
    {"TMyPrivilage:", G::B, Form::N},
    {"CWinShares:", G::B, Form::N},
    {"CEvtLog:", G::B, Form::N},
    {"TEWinServerType:", G::B, Form::B1},
    {"CWinServerType:", G::B, Form::B0},
    {"SwapFileSize:", G::B, Form::N},
    {"[OTHER]", G::B, Form::Nothing},
    {"[OS:", G::B, Form::O},
    {"FileReadTextSection:", G::B, Form::N},
    {"CPerfMonExe:", G::B, Form::N},
    {"CPerfMon:", G::B, Form::N},
    {"SetVar:", G::B, Form::N},
    {"FileReadText:", G::B, Form::N},
    {"TextFileExpand:", G::B, Form::F},
    {"TextLine:", G::B, Form::F},
    {"Text:", G::B, Form::F},
    {"TDefaultCryptoProviders:", G::B, Form::N},
    {"CSystemMemory:", G::B, Form::N},
    {"CFileSearchPath:", G::B, Form::N},
    {"CFileSearch:", G::B, Form::N},
    {"COstrell7Log:", G::B, Form::N},
    {"CDirSearch:", G::B, Form::N},
    {"TDrvRightsList:", G::B, Form::N},
    {"TFilRightsList:", G::B, Form::N},
    {"TDirRightsList:", G::B, Form::N},
    {"TDirList:", G::B, Form::N},
    {"TEDirList:", G::B, Form::N},
    {"DspAddressCache:", G::B, Form::N},
    {"DspClient:", G::B, Form::N},
    {"MIRROLET_CHF:", G::B, Form::N},
    {"MODEM_INFO:", G::B, Form::N},
    {"StartService:", G::B, Form::N},
    {"ServiceInteracts:", G::B, Form::N},
    {"InstallPath:", G::B, Form::N},
    {"MyServiceRights:", G::B, Form::N},
    {"CServiceStatus:", G::B, Form::N},
    {"ServiceConfg:", G::B, Form::N},
    {"LogonInfo:", G::B, Form::T},
    {"CFileInfo:", G::B, Form::Nothing},
    {"FileInfo:", G::B, Form::N},
    {"ListAllFileRights:", G::B, Form::N},
    {"FileSearch:", G::B, Form::N},
    {"CENUMRVAL:", G::B, Form::F},
    {"RVAL:", G::B, Form::F},
    {"RVALPRESENT:", G::B, Form::N},
    {"RKEYPRESENT:", G::B, Form::N},
    {"RKEYEXIT:", G::B, Form::F},
    {"LocalHDSize:", G::B, Form::N},
    {"PCI_INFO:", G::B, Form::N},
    {"PCI_DISP:", G::B, Form::N},
    {"ReadRValStr:", G::B, Form::N},
    {"RunningApps:", G::B, Form::T},
    {"StartUpApps:", G::B, Form::T},
    {"MIRROLET_NET:", G::B, Form::T},
    {"TRoot:", G::B, Form::N},
    {"TAddChild:", G::B, Form::N},
    {"TBack:", G::B, Form::N},
    {"TIRCheck:", G::B, Form::N},
    {"TIRTextValue:", G::B, Form::F},
    {"TIFCheck:", G::B, Form::N},
    {"TIFTextValue:", G::B, Form::F},
    {"TCOstrell7Main:", G::B, Form::F},
    {"TAddText:", G::B, Form::N},
    {"IF", G::B, Form::F},
};

bool FormAccepts(Form form, const Handler& handler) {
    switch (form) {
        case Form::N: return std::holds_alternative<HandlerN>(handler);
        case Form::F: return std::holds_alternative<HandlerF>(handler);
        case Form::R: return std::holds_alternative<HandlerR>(handler);
        case Form::T: return std::holds_alternative<HandlerT>(handler);
        case Form::B1:
        case Form::B0: return std::holds_alternative<HandlerB>(handler);
        case Form::S: return std::holds_alternative<HandlerS>(handler);
        case Form::O: return std::holds_alternative<HandlerO>(handler);
        case Form::Nothing: return false;
    }
    return false;
}

bool IsNullHandler(const Handler& handler) {
    return std::visit(
        [](auto h) {
            if constexpr (std::is_pointer_v<decltype(h)>) return h == nullptr;
            else return false;
        },
        handler);
}

std::size_t BucketOf(CommandGroup group, unsigned char first) {
    return static_cast<std::size_t>(group) * 256 + first;
}
}  // namespace

CommandTable::CommandTable() {
    for (std::size_t i = 0; i < kCommandCount; ++i)
        rows_[i] = CommandRow{kRows[i].name, kRows[i].group, kRows[i].form, NoHandler{}};
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
        if (!FormAccepts(row.form, handler) || IsNullHandler(handler)) return false;
        row.handler = handler;
        return true;
    }
    return false;
}

const CommandRow* CommandTable::Find(std::string_view name) const {
    for (const CommandRow& row : rows_)
        if (row.name == name) return &row;
    return nullptr;
}

}  // namespace kavlo
