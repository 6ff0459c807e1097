#include "platform/sim/short_names.h"

#include <algorithm>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

bool IsShortNameChar(unsigned char c) {
    if (c >= 0x80) return true;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("!#$%&'()-@^_`{}~").find(static_cast<char>(c)) != std::string_view::npos;
}

// Characters that are legal in long names but not in short ones become "_".
bool IsReplacedChar(char c) { return std::string_view("+,;=[]").find(c) != std::string_view::npos; }

std::string ShortPart(std::string_view text, std::size_t limit) {
    std::string out;
    for (char c : text) {
        if (out.size() == limit) break;
        if (c == ' ' || c == '.') continue;
        if (IsReplacedChar(c)) out.push_back('_');
        else if (IsShortNameChar(static_cast<unsigned char>(c))) out.push_back(c);
    }
    return FoldName(out);
}

}  // namespace

bool IsShortName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    const std::size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view ext = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3) return false;
    if (dot != std::string_view::npos && ext.empty()) return false;
    for (char c : base)
        if (!IsShortNameChar(static_cast<unsigned char>(c))) return false;
    for (char c : ext)
        if (!IsShortNameChar(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string ShortNameAllocator::Generate(std::string_view longName) {
    if (IsShortName(longName)) return {};
    // The extension follows the last dot that does not start the name.
    const std::size_t lastDot = longName.rfind('.');
    const bool hasExt = lastDot != std::string_view::npos && lastDot != 0 && lastDot + 1 < longName.size();
    std::string base = ShortPart(hasExt ? longName.substr(0, lastDot) : longName, 8);
    const std::string ext = hasExt ? ShortPart(longName.substr(lastDot + 1), 3) : std::string();
    if (base.empty()) base = "_";
    unsigned& next = nextNumber_.try_emplace(base.substr(0, 6) + "." + ext, 1).first->second;
    for (; next < 1000000; ++next) {
        const std::string tail = "~" + std::to_string(next);
        const std::size_t keep = std::min<std::size_t>(base.size(), std::min<std::size_t>(6, 8 - tail.size()));
        std::string candidate = base.substr(0, keep) + tail;
        if (!ext.empty()) candidate += "." + ext;
        if (taken_.insert(candidate).second) {
            ++next;
            return candidate;
        }
    }
    return {};
}

}  // namespace kavlo::platform::sim
