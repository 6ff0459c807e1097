#include "platform/win32/win32_network.h"

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <iphlpapi.h>

#include <cstddef>
#include <cstring>

#include "platform/win32/system_libraries.h"

namespace kavlo::platform::win32 {
namespace {

using GetTcpTableFunction = DWORD(WINAPI*)(PMIB_TCPTABLE, PDWORD, BOOL);
using GetUdpTableFunction = DWORD(WINAPI*)(PMIB_UDPTABLE, PDWORD, BOOL);

constexpr WinError kWsaNoData = 11004;
constexpr DWORD kTcpStateListen = 2;
// A table larger than this is not believed (a million connections).
constexpr DWORD kMaxTableBytes = 64u << 20;

Ipv4Address OctetsOf(DWORD networkOrderAddress) {
    Ipv4Address address{};
    std::memcpy(address.data(), &networkOrderAddress, address.size());
    return address;
}

std::uint16_t PortOf(DWORD networkOrderPort) { return ::ntohs(static_cast<u_short>(networkOrderPort & 0xFFFF)); }

// Calls a table function with a buffer grown to the size it asks for, and hands
// the rows that lie inside the buffer to `take`.
template <class Table, class Function, class Take>
Status ReadTable(const char* functionName, Take take) {
    const auto function = ProcAddress<Function>(IpHelperLibrary(), functionName);
    if (function == nullptr) return Status(IpHelperLibrary() == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_PROC_NOT_FOUND);
    WinsockSession sockets(MAKEWORD(1, 1));
    if (sockets.error() != 0) return Status(static_cast<WinError>(sockets.error()));
    DWORD size = 0;
    std::vector<std::byte> buffer;
    for (int attempt = 0; attempt < 8; ++attempt) {  // the table can grow between calls
        const DWORD result = function(buffer.empty() ? nullptr : reinterpret_cast<Table*>(buffer.data()), &size, TRUE);
        if (result == ERROR_INSUFFICIENT_BUFFER) {
            if (size > kMaxTableBytes || size <= buffer.size()) return Status(ERROR_INSUFFICIENT_BUFFER);
            buffer.assign(size, std::byte{0});
            continue;
        }
        if (result == ERROR_NO_DATA) return Status();  // an empty table
        if (result != NO_ERROR) return Status(result);
        if (buffer.size() < offsetof(Table, table)) return Status();
        const auto* table = reinterpret_cast<const Table*>(buffer.data());
        const std::size_t fits = (buffer.size() - offsetof(Table, table)) / sizeof(table->table[0]);
        const std::size_t count = table->dwNumEntries < fits ? table->dwNumEntries : fits;
        for (std::size_t i = 0; i < count; ++i) take(table->table[i]);
        return Status();
    }
    return Status(ERROR_INSUFFICIENT_BUFFER);
}

WinError LastSocketError() {
    const int error = ::WSAGetLastError();
    return error != 0 ? static_cast<WinError>(error) : kWsaNoData;
}

}  // namespace

Result<std::vector<TcpConnection>> TcpConnections() {
    std::vector<TcpConnection> rows;
    const Status status = ReadTable<MIB_TCPTABLE, GetTcpTableFunction>("GetTcpTable", [&](const MIB_TCPROW& row) {
        TcpConnection connection;
        connection.state = row.dwState;
        connection.localAddress = OctetsOf(row.dwLocalAddr);
        connection.localPort = PortOf(row.dwLocalPort);
        // A listener has no remote end; the table leaves whatever it holds there.
        if (row.dwState != kTcpStateListen) {
            connection.remoteAddress = OctetsOf(row.dwRemoteAddr);
            connection.remotePort = PortOf(row.dwRemotePort);
        }
        rows.push_back(connection);
    });
    if (!status) return Result<std::vector<TcpConnection>>::Failure(status.error());
    return rows;
}

Result<std::vector<UdpListener>> UdpListeners() {
    std::vector<UdpListener> rows;
    const Status status = ReadTable<MIB_UDPTABLE, GetUdpTableFunction>("GetUdpTable", [&](const MIB_UDPROW& row) {
        rows.push_back(UdpListener{OctetsOf(row.dwLocalAddr), PortOf(row.dwLocalPort)});
    });
    if (!status) return Result<std::vector<UdpListener>>::Failure(status.error());
    return rows;
}

Result<std::vector<Ipv4Address>> HostAddresses() {
    using R = Result<std::vector<Ipv4Address>>;
    WinsockSession sockets(MAKEWORD(1, 1));
    if (sockets.error() != 0) return R::Failure(static_cast<WinError>(sockets.error()));
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return R::Failure(LastSocketError());
    const hostent* host = ::gethostbyname(name);
    if (host == nullptr) return R::Failure(LastSocketError());
    std::vector<Ipv4Address> addresses;
    if (host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list == nullptr) return addresses;
    constexpr std::size_t kMaxAddresses = 4096;
    for (std::size_t i = 0; i < kMaxAddresses && host->h_addr_list[i] != nullptr; ++i) {
        Ipv4Address address{};
        std::memcpy(address.data(), host->h_addr_list[i], address.size());
        addresses.push_back(address);
    }
    return addresses;
}

Result<std::string> HostNameOfAddress(const Ipv4Address& address) {
    WinsockSession sockets(MAKEWORD(1, 1));
    if (sockets.error() != 0) return Result<std::string>::Failure(static_cast<WinError>(sockets.error()));
    const hostent* host = ::gethostbyaddr(reinterpret_cast<const char*>(address.data()), 4, AF_INET);
    if (host == nullptr || host->h_name == nullptr) return Result<std::string>::Failure(LastSocketError());
    return std::string(host->h_name, ::strnlen(host->h_name, 1024));
}

Result<std::string> ServiceNameOfPort(std::uint16_t port, std::string_view protocol) {
    WinsockSession sockets(MAKEWORD(1, 1));
    if (sockets.error() != 0) return Result<std::string>::Failure(static_cast<WinError>(sockets.error()));
    const std::string protocolName(protocol);
    const servent* service = ::getservbyport(static_cast<int>(::htons(port)), protocolName.c_str());
    if (service == nullptr || service->s_name == nullptr) return Result<std::string>::Failure(LastSocketError());
    return std::string(service->s_name, ::strnlen(service->s_name, 1024));
}

}  // namespace kavlo::platform::win32
