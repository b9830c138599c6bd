#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include <vexel/error.h>
#include <vexel/system.h>

namespace vexel {

namespace {

constexpr const char* kTerminal = "/dev/tty";
constexpr size_t kLinePiece = 4095;

bool terminal_available() {
    const int fd = ::open(kTerminal, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

}  // namespace

void open_console() {
    const bool input_is_terminal = ::isatty(STDIN_FILENO) != 0;
    const bool output_is_terminal = ::isatty(STDOUT_FILENO) != 0;
    if (input_is_terminal && output_is_terminal) return;
    if (!terminal_available()) {
        set_error(3);
        return;
    }
    if (!input_is_terminal) (void)std::freopen(kTerminal, "r", stdin);
    if (!output_is_terminal) {
        std::fflush(stdout);
        (void)std::freopen(kTerminal, "w", stdout);
    }
}

DynString read_console_line() {
    // A prompt written just before must be on the screen while the player types.
    std::fflush(stdout);
    std::string line;
    int c = EOF;
    while (line.size() < kLinePiece && (c = std::getc(stdin)) != EOF && c != '\n') {
        line += static_cast<char>(c);
    }
    // A full piece whose line ends right after it must not leave that line end for the next
    // read, which would give a line that was never typed.
    if (line.size() == kLinePiece) {
        c = std::getc(stdin);
        if (c != '\n' && c != EOF) std::ungetc(c, stdin);
    }
    if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
    DynString text;
    text.append(line.data(), static_cast<uint32_t>(line.size()));
    return text;
}

}  // namespace vexel
