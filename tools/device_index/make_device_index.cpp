// Makes the PCI device index "drvidx.bin" from a PCI ID list in the form that
// the pci.ids package ships:
//   make_device_index LIST INDEX           writes INDEX
//   make_device_index LIST INDEX --check   fails unless INDEX holds what LIST makes
// Keys are written as the PCI probes look them up: "VEN_" and "DEV_" with
// lower-case hexadecimal digits without leading zeros. Records are ordered by
// key length, so that the first record containing a looked-up key is the one
// whose key equals it.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/device_index.h"

namespace {

using kavlo::platform::DeviceIndexRecord;

// The list is UTF-8; the index holds Windows-1252 text. Characters that code
// page lacks become "?".
std::string ToWindows1252(const std::string& utf8) {
    static const char32_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                       0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > utf8.size()) {
            out += '?';
            ++i;
            continue;
        }
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        i += valid ? length : 1;
        if (!valid) {
            out += '?';
        } else if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            out += static_cast<char>(code);
        } else {
            const auto high = std::find(std::begin(kHigh), std::end(kHigh), code);
            out += code != 0 && high != std::end(kHigh) ? static_cast<char>(0x80 + (high - std::begin(kHigh))) : '?';
        }
    }
    return out;
}

bool IsHexId(const std::string& text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// "8086" gives "8086", "0a5c" gives "a5c".
std::string KeyDigits(const std::string& id) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%x", static_cast<unsigned>(std::stoul(id, nullptr, 16)));
    return digits;
}

// Vendor lines ("8086  Intel Corporation") and device lines ("\t1237  440FX")
// up to the device classes; subsystem lines and comments are left out.
std::vector<DeviceIndexRecord> ReadList(std::istream& in, std::string& error) {
    std::vector<DeviceIndexRecord> records;
    std::string line, vendorKey, vendorName;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line.rfind("C ", 0) == 0) break;  // the device classes follow the vendors
        const bool device = line[0] == '\t';
        if (device && line.size() > 1 && line[1] == '\t') continue;
        const std::string body = device ? line.substr(1) : line;
        const std::string id = body.substr(0, 4);
        if (!IsHexId(id) || body.compare(4, 2, "  ") != 0 || (device && vendorKey.empty())) {
            error = "line " + std::to_string(number) + " is not a vendor or device line: " + line;
            return {};
        }
        const std::string name = ToWindows1252(body.substr(6));
        if (!device) {
            vendorKey = "VEN_" + KeyDigits(id);
            vendorName = name;
            records.push_back({vendorKey, {"", "", vendorName, ""}});
        } else {
            records.push_back({vendorKey + "&DEV_" + KeyDigits(id), {"", name, vendorName, ""}});
        }
    }
    std::stable_sort(records.begin(), records.end(), [](const DeviceIndexRecord& a, const DeviceIndexRecord& b) {
        return a.key.size() != b.key.size() ? a.key.size() < b.key.size() : a.key < b.key;
    });
    return records;
}

}  // namespace

int main(int argc, char** argv) {
    const bool check = argc == 4 && std::string(argv[3]) == "--check";
    if (argc != 3 && !check) {
        std::cerr << "usage: make_device_index LIST INDEX [--check]\n";
        return 2;
    }
    std::ifstream list(argv[1], std::ios::binary);
    if (!list) {
        std::cerr << argv[1] << ": cannot be read (on Debian: apt-get install pci.ids)\n";
        return 1;
    }
    std::string error;
    const auto records = ReadList(list, error);
    if (!error.empty() || records.empty()) {
        std::cerr << argv[1] << ": " << (error.empty() ? "no vendors" : error) << "\n";
        return 1;
    }
    std::string index = "KAVLO drvidx 1.0";  // 16 bytes that readers skip
    for (const DeviceIndexRecord& record : records) {
        const auto bytes = kavlo::platform::EncodeDeviceIndexRecord(record);
        if (!bytes) {
            std::cerr << record.key << ": the record does not fit the index\n";
            return 1;
        }
        index += *bytes;
    }
    index.append(2, '\0');
    if (check) {
        std::ifstream existing(argv[2], std::ios::binary);
        std::ostringstream bytes;
        bytes << existing.rdbuf();
        if (bytes.str() == index) return 0;
        std::cerr << argv[2] << " is not what " << argv[1] << " makes; make it again with make_device_index\n";
        return 1;
    }
    const std::string temporary = std::string(argv[2]) + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(index.data(), static_cast<std::streamsize>(index.size()));
        if (!out.flush()) {
            std::cerr << temporary << ": cannot be written\n";
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::cerr << argv[2] << ": cannot be replaced\n";
        return 1;
    }
    return 0;
}
