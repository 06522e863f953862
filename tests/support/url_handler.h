// Makes the shell's opening of a URL scheme succeed or fail on purpose, and puts everything back.
#ifndef PEERIX_TEST_URL_HANDLER_H
#define PEERIX_TEST_URL_HANDLER_H

#include <windows.h>

#include <string>

namespace urls {

// A command line that starts a program that exists, does nothing and ends at once.
std::string HarmlessCommand();
// A command line naming a program that does not exist, so that ShellExecute fails.
std::string MissingCommand();

// While it exists, URLs of the scheme ("https", "mailto") open with the given command. It is
// registered for the current user (HKCU\Software\Classes, which Windows reads first); where the
// merged classes view does not show it (Wine 8 reads only the machine's classes), the machine's
// command is replaced as well. The destructor restores both.
class Handler {
public:
    Handler(const char* scheme, const std::string& command);
    ~Handler();
    Handler(const Handler&) = delete;
    Handler& operator=(const Handler&) = delete;
    // True when the classes view now names the command.
    bool InEffect() const;

private:
    std::string scheme, command;
    bool userKeyExisted = false;
    bool userCommandExisted = false;
    std::string userCommand;
    bool machineReplaced = false;
    bool machineCommandExisted = false;
    std::string machineCommand;
};

// The pair the link tests share: the web link opens (harmlessly), the mail link cannot.
struct WebOpensMailFails {
    Handler web{"https", HarmlessCommand()};
    Handler mail{"mailto", MissingCommand()};
    bool InEffect() const { return web.InEffect() && mail.InEffect(); }
};

}  // namespace urls

#endif
