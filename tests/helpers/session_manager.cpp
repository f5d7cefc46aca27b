// A minimal X session manager for tests (XSMP over ICE, with libSM) and its one client: prints the
// address for SESSION_MANAGER, then "registered" once the client is, and for each line on standard
// input sends it a request: "save" as at logout (save yourself: global and local, shutting down, no
// interaction), answered by "saved", or "die". Ends when the client goes away.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace {

SmsConn client = nullptr;

void Say(const char *text)
{
    std::printf("%s\n", text);
    std::fflush(stdout);
}

Status NewClient(SmsConn, SmPointer, unsigned long *mask, SmsCallbacks *on, char **)
{
    *mask = ~0UL; // every callback below answers or frees what it is given
    on->register_client.callback = [](SmsConn conn, SmPointer, char *previousId) -> Status {
        std::free(previousId);
        char *id = SmsGenerateClientID(conn);
        SmsRegisterClientReply(conn, id);
        std::free(id);
        client = conn;
        Say("registered");
        return 1;
    };
    on->save_yourself_done.callback = [](SmsConn, SmPointer, Bool done) {
        Say(done ? "saved" : "not saved");
    };
    on->close_connection.callback = [](SmsConn, SmPointer, int, char **) { std::exit(0); };
    on->set_properties.callback = [](SmsConn, SmPointer, int count, SmProp **properties) {
        for (int i = 0; i < count; ++i)
            SmFreeProperty(properties[i]);
        std::free(properties);
    };
    on->delete_properties.callback = [](SmsConn, SmPointer, int, char **) {};
    on->get_properties.callback = [](SmsConn conn, SmPointer) { SmsReturnProperties(conn, 0, nullptr); };
    on->interact_request.callback = [](SmsConn, SmPointer, int) {};
    on->interact_done.callback = [](SmsConn, SmPointer, Bool) {};
    on->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
    on->save_yourself_phase2_request.callback = [](SmsConn, SmPointer) {};
    return 1;
}

Bool AnyHost(char *)
{
    return True;
} // the test's own machine, no cookies

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
    Say(IceComposeNetworkIdList(count, listeners));

    IceConn ice = nullptr;
    for (;;) { // standard input, then the client's connection or the listeners
        pollfd fds[8] = {{STDIN_FILENO, POLLIN, 0}};
        const int polled = ice ? 1 : count < 7 ? count : 7;
        for (int i = 0; i < polled; ++i)
            fds[1 + i] = {ice ? IceConnectionNumber(ice) : IceGetListenConnectionNumber(listeners[i]), POLLIN,
                          0};
        if (::poll(fds, nfds_t(1 + polled), -1) < 0)
            return 1;
        char line[16] = "";
        if (fds[0].revents && !std::fgets(line, sizeof line, stdin))
            return 0;
        if (client && std::strcmp(line, "save\n") == 0)
            SmsSaveYourself(client, SmSaveBoth, True, SmInteractStyleNone, False);
        else if (client && std::strcmp(line, "die\n") == 0)
            SmsDie(client);
        for (int i = 0; i < polled; ++i) {
            if (!fds[1 + i].revents)
                continue;
            if (ice) {
                if (IceProcessMessages(ice, nullptr, nullptr) == IceProcessMessagesIOError)
                    return 0;
                continue;
            }
            IceAcceptStatus status;
            ice = IceAcceptConnection(listeners[i], &status);
            while (ice && IceConnectionStatus(ice) == IceConnectPending)
                IceProcessMessages(ice, nullptr, nullptr);
            break;
        }
    }
}
