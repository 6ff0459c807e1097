#include "platform/sim/wildcard.h"

#include <string>
#include <vector>

#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

// Pattern elements after the DOS conversion the file API applies; other
// values are literal (folded) bytes.
constexpr int kStar = -1;     // any characters
constexpr int kDosStar = -2;  // "*" before ".": any characters up to the last dot
constexpr int kDosQm = -3;    // "?": one character, or none at a dot or the end
constexpr int kDosDot = -4;   // "." before a wildcard or at the end: a dot, or nothing at the end

std::vector<int> Compile(std::string_view pattern) {
    const std::string folded = FoldName(pattern);
    std::vector<int> out;
    out.reserve(folded.size());
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const char c = folded[i];
        const char next = i + 1 < folded.size() ? folded[i + 1] : '\0';
        if (c == '*') out.push_back(next == '.' ? kDosStar : kStar);
        else if (c == '?') out.push_back(kDosQm);
        else if (c == '.' && (next == '*' || next == '?' || i + 1 == folded.size())) out.push_back(kDosDot);
        else out.push_back(static_cast<unsigned char>(c));
    }
    return out;
}

}  // namespace

bool HasWildcards(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

bool MatchesPattern(std::string_view pattern, std::string_view name) {
    const std::vector<int> p = Compile(pattern);
    const std::string n = FoldName(name);
    const std::size_t lastDot = n.rfind('.');
    const std::size_t P = p.size(), N = n.size();
    // matches[pi * (N + 1) + ni]: does p[pi..] match n[ni..]? Filled from the end.
    std::vector<char> matches((P + 1) * (N + 1), 0);
    auto at = [&](std::size_t pi, std::size_t ni) -> char& { return matches[pi * (N + 1) + ni]; };
    at(P, N) = 1;
    for (std::size_t pi = P; pi-- > 0;) {
        for (std::size_t ni = N + 1; ni-- > 0;) {
            const bool end = ni == N;
            const char c = end ? '\0' : n[ni];
            bool result = false;
            switch (p[pi]) {
                case kStar: result = at(pi + 1, ni) || (!end && at(pi, ni + 1)); break;
                case kDosStar:
                    result = at(pi + 1, ni) || (!end && (c != '.' || ni != lastDot) && at(pi, ni + 1));
                    break;
                case kDosQm: result = (end || c == '.') ? at(pi + 1, ni) : at(pi + 1, ni + 1); break;
                case kDosDot: result = end ? at(pi + 1, ni) : (c == '.' && at(pi + 1, ni + 1)); break;
                default: result = !end && static_cast<unsigned char>(c) == p[pi] && at(pi + 1, ni + 1); break;
            }
            at(pi, ni) = result;
        }
    }
    return at(0, 0) != 0;
}

}  // namespace kavlo::platform::sim
