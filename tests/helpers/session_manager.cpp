// A minimal X session manager for tests (XSMP over ICE, with libSM): prints the
// address to put in SESSION_MANAGER, takes clients as they connect, and for each
// line on standard input sends every client a request: "save" is what comes at
// logout (save yourself: global and local, shutting down, no interaction),
// "die" ends them. Prints "registered", "saved" (the client's answer to "save")
// and "closed" (a client went away).

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

std::vector<SmsConn> clients;
std::vector<IceConn> connections;

void Say(const char *text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

Status RegisterClient(SmsConn conn, SmPointer, char *previousId)
{
    std::free(previousId);
    char *id = SmsGenerateClientID(conn);
    SmsRegisterClientReply(conn, id);
    std::free(id);
    clients.push_back(conn);
    Say("registered");
    return 1;
}

void SaveYourselfDone(SmsConn, SmPointer, Bool success)
{
    Say(success ? "saved" : "save failed");
}

void CloseConnection(SmsConn conn, SmPointer, int count, char **reasons)
{
    SmFreeReasons(count, reasons);
    IceConn ice = SmsGetIceConnection(conn);
    SmsCleanUp(conn);
    IceSetShutdownNegotiation(ice, False);
    IceCloseConnection(ice);
    std::erase(clients, conn);
    std::erase(connections, ice);
    Say("closed");
}

void SetProperties(SmsConn, SmPointer, int count, SmProp **properties)
{
    for (int i = 0; i < count; ++i)
        SmFreeProperty(properties[i]);
    std::free(properties);
}

void DeleteProperties(SmsConn, SmPointer, int count, char **names)
{
    for (int i = 0; i < count; ++i)
        std::free(names[i]);
    std::free(names);
}

void GetProperties(SmsConn conn, SmPointer)
{
    SmsReturnProperties(conn, 0, nullptr);
}
void Ignore(SmsConn, SmPointer) {}
void IgnoreInteract(SmsConn, SmPointer, int) {}
void IgnoreRequest(SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}

Status NewClient(SmsConn, SmPointer, unsigned long *mask, SmsCallbacks *callbacks, char **)
{
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = IgnoreInteract;
    callbacks->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    callbacks->save_yourself_request.callback = IgnoreRequest;
    callbacks->save_yourself_phase2_request.callback = Ignore;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    return 1;
}

Bool AnyHost(char *)
{
    return True;
} // the test's own machine; no cookies

} // namespace

int main()
{
    char error[256] = "";
    int count = 0;
    IceListenObj *listeners = nullptr;
    if (!SmsInitialize("rkfview-test", "1", NewClient, nullptr, AnyHost, sizeof error, error) ||
        !IceListenForConnections(&count, &listeners, sizeof error, error)) {
        std::fprintf(stderr, "session_manager: %s\n", error);
        return 1;
    }
    for (int i = 0; i < count; ++i)
        IceSetHostBasedAuthProc(listeners[i], AnyHost);
    char *address = IceComposeNetworkIdList(count, listeners);
    Say(address);
    std::free(address);

    for (;;) {
        std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
        for (int i = 0; i < count; ++i)
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        for (IceConn ice : connections)
            fds.push_back({IceConnectionNumber(ice), POLLIN, 0});
        if (::poll(fds.data(), fds.size(), -1) < 0)
            return 1;
        if (fds[0].revents) {
            char line[64];
            if (!std::fgets(line, sizeof line, stdin))
                return 0;
            for (SmsConn client : clients) {
                if (std::strcmp(line, "save\n") == 0)
                    SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleNone, False);
                else if (std::strcmp(line, "die\n") == 0)
                    SmsDie(client);
            }
        }
        for (int i = 0; i < count; ++i) {
            if (!fds[std::size_t(1 + i)].revents)
                continue;
            IceAcceptStatus status;
            IceConn ice = IceAcceptConnection(listeners[i], &status);
            if (!ice)
                continue;
            while (IceConnectionStatus(ice) == IceConnectPending)
                IceProcessMessages(ice, nullptr, nullptr);
            if (IceConnectionStatus(ice) == IceConnectAccepted)
                connections.push_back(ice);
            else
                IceCloseConnection(ice);
        }
        const std::vector<IceConn> polled = connections;
        for (std::size_t k = 0; k < polled.size(); ++k) {
            if (!fds[std::size_t(1 + count) + k].revents ||
                std::find(connections.begin(), connections.end(), polled[k]) == connections.end())
                continue;
            if (IceProcessMessages(polled[k], nullptr, nullptr) == IceProcessMessagesIOError) {
                std::erase_if(clients, [&](SmsConn client) {
                    return SmsGetIceConnection(client) == polled[k] && (SmsCleanUp(client), true);
                });
                IceSetShutdownNegotiation(polled[k], False);
                IceCloseConnection(polled[k]);
                std::erase(connections, polled[k]);
                Say("closed");
            }
        }
    }
}
