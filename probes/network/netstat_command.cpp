#include "engine/records.h"
#include "engine/script_engine.h"
#include "probes/network/netstat_texts.h"
#include "probes/network/network_commands.h"

namespace kavlo {

void CNetstatCommand(CommandCall& call) {
    if (call.title == nullptr) return;
    TitleRecord& title = *call.title;
    platform::Machine& machine = call.engine.machine();
    // Both tables are read before any row is written, so that a failure leaves a
    // failure row and no half table.
    auto tcp = machine.TcpConnections();
    if (!tcp) {
        title.AppendText(NetstatFailureRow(tcp.error()));
        return;
    }
    auto udp = machine.UdpListeners();
    if (!udp) {
        title.AppendText(NetstatFailureRow(udp.error()));
        return;
    }
    EndpointTexts texts(machine);
    for (const platform::TcpConnection& row : *tcp) {
        title.AppendText("TCP," + texts.Address(row.localAddress, true) + "," + texts.Port(row.localPort, "tcp") + "," +
                         texts.Address(row.remoteAddress, false) + "," + texts.Port(row.remotePort, "tcp") + "," +
                         TcpStateName(row.state) + "\n");
    }
    for (const platform::UdpListener& row : *udp) {
        title.AppendText("UDP," + texts.Address(row.localAddress, true) + "," + texts.Port(row.localPort, "udp") +
                         ",, ,\n");
    }
}

}  // namespace kavlo
